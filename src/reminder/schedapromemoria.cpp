// Loading of one reminder: seeks on both tables, the shown texts, the client and the action.
#include "reminder/schedapromemoria.h"

#include <cmath>
#include <optional>

#include "db/schema.h"
#include "reminder/ricerche.h"
#include "util/texts.h"
#include "util/valori.h"

namespace schema = db::schema;

namespace {

constexpr int kLarghezzaAzione = 6;
constexpr double kMezzoSecondo = 0.5 / 86400;

// The action code as the rebuild keeps it in the reminder table: its first six characters,
// blanks around them removed; empty for Null.
QString azioneDelPromemoria(const QVariant& azione) {
    return texts::trimSpaces(ValoreTesto(azione).left(kLarghezzaAzione));
}

// Weekday in capitals over the date and the time, two blanks apart.
QString testoSveglia(double momento) {
    return texts::weekdayUpper(momento) + QLatin1Char('\n') + texts::ddmmyy(momento) +
           QStringLiteral("  ") + texts::hhnn(momento);
}

}  // namespace

SchedaPromemoria::SchedaPromemoria(db::Database& visite, db::Database& work,
                                   const ChiavePromemoria& chiave)
    : appuntamento_(visite.openTable(schema::kAppuntamenti)),
      promemoria_(work.openTable(schema::kPromemoria)) {
    for (db::TableCursor* cursore : {appuntamento_.get(), promemoria_.get()}) {
        cursore->selectIndex(schema::kPrimaria);
        cursore->seek(db::SeekComparison::Equal, chiave.valori());
    }
    if (appuntamento_->noMatch()) cercaAppuntamento(chiave);
    leggiAppuntamento(chiave);
    leggiDocumento();
    leggiAnagrafiche(work, chiave);
}

// The key seeks the appointment with the action as the reminder keeps it; the host's own
// action may be Null or longer. The one appointment of the client at that moment whose action
// gives the reminder's is the one the rebuild made it from. With none, or more than one, the
// cursor is left with no match: an answer then saves nothing.
void SchedaPromemoria::cercaAppuntamento(const ChiavePromemoria& chiave) {
    std::optional<int> trovato;
    int candidati = 0;
    int posizione = 0;
    const auto stessoAppuntamento = [&] {
        return InteroLungo(appuntamento_->field(schema::kApCliente)) == chiave.cliente &&
               std::abs(ValoreNumero(appuntamento_->field(schema::kApData)) - chiave.data) <
                   kMezzoSecondo;
    };
    try {
        appuntamento_->seek(db::SeekComparison::GreaterOrEqual, {chiave.cliente, chiave.data});
        for (; !appuntamento_->noMatch() && !appuntamento_->eof() && stessoAppuntamento();
             appuntamento_->moveNext(), ++posizione) {
            if (azioneDelPromemoria(appuntamento_->field(schema::kApAzione)) != chiave.azione)
                continue;
            ++candidati;
            trovato = posizione;
        }
    } catch (const ConversionError&) {
        // A row whose key cannot be read ends the walk: past it lies no appointment of the key.
    }
    appuntamento_->seek(db::SeekComparison::Equal, chiave.valori());
    if (candidati != 1) return;
    appuntamento_->seek(db::SeekComparison::GreaterOrEqual, {chiave.cliente, chiave.data});
    for (int passo = 0; passo < *trovato; ++passo) appuntamento_->moveNext();
}

void SchedaPromemoria::leggiAppuntamento(const ChiavePromemoria& chiave) {
    QString causa;
    if (!appuntamento_->noMatch()) {
        const double data = ValoreNumero(appuntamento_->field(schema::kApData));
        const double minuti = ValoreNumero(appuntamento_->field(schema::kApAllarm));
        const Preavviso preavviso = Preavviso::daMinuti(minuti);
        vista_.descrizioneAzione = ValoreTesto(appuntamento_->field(schema::kApNote));
        vista_.dataAppuntamento = texts::ddmmyy(data);
        vista_.oraAppuntamento = texts::hhnn(data);
        vista_.quantita = texts::numberText(preavviso.quantita);
        vista_.unita = preavviso.unita;
        vista_.sveglia = testoSveglia(Preavviso::momentoAllarme(data, minuti));
        causa = ValoreTesto(appuntamento_->field(schema::kApCausa));
    } else {
        vista_.quantita = texts::numberText(0);
    }
    vista_.titolo =
        QStringLiteral(" APPUNTAMENTO ") + texts::ddmmhhnn(chiave.data) + QLatin1Char('-') + causa;
}

// A reminder row that the periodic rebuild removed meanwhile leaves the document box empty.
void SchedaPromemoria::leggiDocumento() {
    if (promemoria_->noMatch()) return;
    vista_.documento = ValoreTesto(promemoria_->field(schema::kPmDocumento));
}

void SchedaPromemoria::leggiAnagrafiche(db::Database& work, const ChiavePromemoria& chiave) {
    Ricerche ricerche(work);
    vista_.codiceCliente = QString::number(chiave.cliente);
    vista_.descrizioneCliente = ricerche.DescrizioneCliente(chiave.cliente);
    vista_.codiceAzione = chiave.azione;
    const std::optional<DatiAzione> azione = ricerche.azione(chiave.azione);
    if (!azione) return;
    if (texts::trimSpaces(vista_.descrizioneAzione).isEmpty())
        vista_.descrizioneAzione = azione->descrizione;
    vista_.coloreAzione = azione->colore;
}

// Closing only releases the cursors; a failure then is of no consequence to anyone.
SchedaPromemoria::~SchedaPromemoria() {
    for (db::TableCursor* cursore : {appuntamento_.get(), promemoria_.get()}) {
        try {
            cursore->close();
        } catch (const db::DbError&) {
        }
    }
}
