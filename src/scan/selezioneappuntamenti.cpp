// Rebuild of the reminder table.
#include "scan/selezioneappuntamenti.h"

#include <QSet>
#include <cmath>

#include "db/database.h"
#include "db/lockwait.h"
#include "db/schema.h"
#include "db/transaction.h"
#include "platform/clock.h"
#include "platform/eventyielder.h"
#include "scan/righepromemoria.h"
#include "util/dateserial.h"
#include "util/diagnostica.h"
#include "util/testi.h"
#include "util/valori.h"

using namespace db::schema;

namespace {

constexpr int kLarghezzaCausa = 50;
constexpr int kLarghezzaAzione = 6;
constexpr double kMinutiAlGiorno = 1440;

// The keys this run has written, to the second. The table was emptied inside the same
// transaction, so a key not among them cannot match: the seek is needed only when one may.
class ChiaviScritte {
public:
    bool forseScritta(qint32 cliente, double momento) const {
        const qint64 secondo = std::llround(momento * kSecondiAlGiorno);
        return chiavi_.contains({cliente, secondo - 1}) || chiavi_.contains({cliente, secondo}) ||
               chiavi_.contains({cliente, secondo + 1});
    }
    void aggiungi(qint32 cliente, double momento) {
        chiavi_.insert({cliente, std::llround(momento * kSecondiAlGiorno)});
    }

private:
    static constexpr double kSecondiAlGiorno = 86400;
    QSet<QPair<qint32, qint64>> chiavi_;
};

}  // namespace

QString EsitoSelezione::didascalia() const {
    return QStringLiteral("PROMEMORIA: ") + QString::number(conteggio) +
           QStringLiteral(" APPUNTAMENTI");
}

SelezioneAppuntamenti::SelezioneAppuntamenti(db::Database& visite, db::Database& work,
                                             const Clock& clock, EventYielder& yielder,
                                             std::chrono::milliseconds attesaBlocchi)
    : visite_(visite),
      work_(work),
      clock_(clock),
      yielder_(yielder),
      attesaBlocchi_(attesaBlocchi) {}

EsitoSelezione SelezioneAppuntamenti::esegui() {
    // Yield before the transaction begins: a yield may open a modal window, and the host
    // product must never be locked out of the work database while it stays open.
    yielder_.yieldToEvents();
    const db::LockWait attesaVisite(visite_, attesaBlocchi_);
    const db::LockWait attesaWork(work_, attesaBlocchi_);
    db::Transaction transazione(work_);
    EsitoSelezione esito = scriviPromemoria();
    transazione.commit();
    return esito;
}

EsitoSelezione SelezioneAppuntamenti::scriviPromemoria() {
    work_.execute(kSvuotaPromemoria);
    work_.refreshCatalogue();
    const qint64 oggi = dateserial::dayNumber(clock_.now().date());
    const auto selezione = visite_.openQuery(selezioneAppuntamenti(oggi));
    const auto promemoria = work_.openTable(kPromemoria);
    promemoria->selectIndex(kPrimaria);

    EsitoSelezione esito;
    ChiaviScritte scritte;
    for (; !selezione->eof(); selezione->moveNext()) {
        AppuntamentoDovuto appuntamento;
        double allarme = 0;
        try {
            appuntamento = leggiAppuntamento(*selezione);
            allarme = appuntamento.momento - anticipoInGiorni(*selezione);
        } catch (const ConversionError& errore) {
            // The host's book is not ours to judge: one unreadable appointment must not keep
            // every other one from its reminder.
            segnalaIlleggibile(*selezione, errore);
            continue;
        }
        const bool forseScritta = scritte.forseScritta(appuntamento.cliente, appuntamento.momento);
        scriviRiga(*promemoria, *selezione, appuntamento, allarme, forseScritta);
        scritte.aggiungi(appuntamento.cliente, appuntamento.momento);
        esito.righe.append(RigaVisualizzata(appuntamento));
        esito.chiavi.append(RigaChiave(appuntamento));
        esito.allarmi.append(allarme);
    }
    esito.conteggio = static_cast<int>(esito.righe.size());
    selezione->close();
    promemoria->close();
    return esito;
}

AppuntamentoDovuto SelezioneAppuntamenti::leggiAppuntamento(const db::Snapshot& selezione) {
    AppuntamentoDovuto appuntamento;
    appuntamento.cliente = InteroLungo(selezione.field(kApCliente));
    appuntamento.note = ValoreTesto(selezione.field(kApNote));
    appuntamento.causa = TestoFisso(ValoreTesto(selezione.field(kApCausa)), kLarghezzaCausa);
    appuntamento.momento = ValoreNumero(selezione.field(kApData));
    appuntamento.azione = TestoFisso(ValoreTesto(selezione.field(kApAzione)), kLarghezzaAzione);
    return appuntamento;
}

void SelezioneAppuntamenti::segnalaIlleggibile(const db::Snapshot& selezione,
                                               const ConversionError& errore) {
    const auto testo = [&](const QString& campo) {
        const QVariant valore = selezione.field(campo);
        return valore.isNull() ? QStringLiteral("Null") : valore.toString();
    };
    Diagnostica(QStringLiteral("appuntamento saltato (cliente %1, data %2, riga %3)")
                    .arg(testo(kApCliente), testo(kApData), testo(kApRiga)),
                errore);
}

// The lead in days as the host writes it: minutes / 1440 kept to four decimals.
double SelezioneAppuntamenti::anticipoInGiorni(const db::Snapshot& selezione) {
    return testi::roundFourDecimals(ValoreNumero(selezione.field(kApAllarm)) / kMinutiAlGiorno);
}

void SelezioneAppuntamenti::scriviRiga(db::TableCursor& promemoria, const db::Snapshot& selezione,
                                       const AppuntamentoDovuto& appuntamento, double allarme,
                                       bool forseScritta) {
    const QString azione = testi::trimSpaces(appuntamento.azione);
    if (forseScritta) {
        promemoria.seek(db::SeekComparison::Equal,
                        {appuntamento.cliente, appuntamento.momento, azione});
    }
    // Two appointments whose keys agree in the first six characters of the action share a row.
    if (!forseScritta || promemoria.noMatch()) {
        promemoria.addNew();
        promemoria.setField(kPmCliente, selezione.field(kApCliente));
        promemoria.setField(kPmData, selezione.field(kApData));
        promemoria.setField(kPmAzione, azione);
    } else {
        promemoria.edit();
    }
    promemoria.setField(kPmAllarm, allarme);
    promemoria.setField(kPmWait, QStringLiteral(" "));
    promemoria.setField(kPmDocumento, ValoreTesto(selezione.field(kApDocumento)));
    promemoria.update();
}
