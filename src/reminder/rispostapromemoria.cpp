// Writes of "&IMPOSTA AVVISO" and "&NON AVVISARE PIU'": the appointment first, then its reminder.
#include "reminder/rispostapromemoria.h"

#include "db/database.h"
#include "db/schema.h"
#include "util/diagnostic.h"
#include "util/texts.h"
#include "util/valori.h"

namespace schema = db::schema;

namespace {

// Blank or non-numeric text is no lead at all; so is a text that only looks like a date.
double quantitaDigitata(const QString& testo) {
    try {
        return ValoreNumero(testo);
    } catch (const ConversionError&) {
        return 0;
    }
}

void salvaRiga(db::TableCursor& cursore,
               std::initializer_list<std::pair<QString, QVariant>> campi) {
    cursore.edit();
    for (const auto& [nome, valore] : campi) cursore.setField(nome, valore);
    cursore.update();
}

}  // namespace

bool RispostaPromemoria::impostaAvviso(const QString& quantita, UnitaAllarme unita,
                                       bool documentoStaccato) {
    const double minuti = Preavviso{quantitaDigitata(quantita), unita}.minuti();
    const std::optional<double> data = dataAppuntamento();
    const double allarme = data ? Preavviso::momentoAllarme(*data, minuti) : 0;
    if (allarme <= 0) return nonAvvisarePiu();
    const bool salvata = documentoStaccato
                             ? aggiornaAppuntamento({{schema::kApAllarm, minuti},
                                                     {schema::kApDocumento, QStringLiteral("")}})
                             : aggiornaAppuntamento({{schema::kApAllarm, minuti}});
    if (!salvata) return false;
    aggiornaPromemoria({{schema::kPmAllarm, allarme}, {schema::kPmWait, QStringLiteral(" ")}});
    return true;
}

bool RispostaPromemoria::nonAvvisarePiu() {
    if (!aggiornaAppuntamento({{schema::kApAllarm, 0.0}})) return false;
    eliminaPromemoria();
    return true;
}

// The appointment's moment; nothing when there is no appointment to read it from.
std::optional<double> RispostaPromemoria::dataAppuntamento() const {
    if (appuntamento_.noMatch()) return std::nullopt;
    try {
        return ValoreNumero(appuntamento_.field(schema::kApData));
    } catch (const DataError&) {
    }
    return std::nullopt;
}

// Losing this write loses the operator's decision: the caller must tell the operator. Without
// its appointment the answer cannot be kept either: the next rebuild would bring it back.
bool RispostaPromemoria::aggiornaAppuntamento(Campi campi) {
    if (appuntamento_.noMatch()) {
        qWarning(
            "SCADEX: risposta al promemoria non salvata: nessun appuntamento unico per la "
            "chiave");
        return false;
    }
    try {
        salvaRiga(appuntamento_, campi);
    } catch (const db::DbError& errore) {
        logDiagnostic(QStringLiteral("risposta al promemoria non salvata"), errore);
        return false;
    }
    return true;
}

void RispostaPromemoria::aggiornaPromemoria(Campi campi) {
    if (promemoria_.noMatch()) return;
    try {
        salvaRiga(promemoria_, campi);
    } catch (const db::DbError&) {
    }
}

void RispostaPromemoria::eliminaPromemoria() {
    if (promemoria_.noMatch()) return;
    try {
        promemoria_.deleteCurrent();
    } catch (const db::DbError&) {
    }
}
