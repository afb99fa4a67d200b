// The poll's hand-overs.
#include "scan/controllopromemoria.h"

#include <memory>
#include <optional>

#include "db/database.h"
#include "db/lockwait.h"
#include "db/schema.h"
#include "db/transaction.h"
#include "platform/clock.h"
#include "platform/eventyielder.h"
#include "platform/processlauncher.h"
#include "util/dateserial.h"
#include "util/testi.h"
#include "util/valori.h"

using namespace db::schema;

namespace {

const QChar kBarra = QLatin1Char('|');

}  // namespace

// Runs one step of the poll; a database or conversion failure skips it (returns false) and
// the first one is kept as the poll's failure.
template <typename Passo>
bool ControlloPromemoria::tenta(Passo&& passo) {
    try {
        passo();
        return true;
    } catch (const db::DbError& errore) {
        if (!guasto_) guasto_ = db::faultText(errore.fault());
    } catch (const ConversionError&) {
        if (!guasto_) guasto_ = db::faultText(db::Fault::Other);
    }
    return false;
}

ControlloPromemoria::ControlloPromemoria(db::Database& work, const QString& fileIni,
                                         const Clock& clock, EventYielder& yielder,
                                         ProcessLauncher& launcher)
    : work_(work), fileIni_(fileIni), clock_(clock), yielder_(yielder), launcher_(launcher) {}

std::optional<QString> ControlloPromemoria::esegui() {
    int inAttesa = 0;
    QList<Consegna> segnati;
    {
        // The next tick tries again: a lock the host holds for long skips a step rather than
        // freezing the window. The operator's answers, given between ticks, wait longer.
        const db::LockWait attesa(work_, db::kBriefLockWait);
        inAttesa = contaInAttesa();
        const double momento = dateserial::fromDateTime(clock_.now());
        segnati = segnaConsegnati(leggiDovuti(momento));
    }
    // Everything is read and marked before the first yield: a yield may open a modal window,
    // and nothing may hold the host product off the work database meanwhile.
    for (const Consegna& dovuto : segnati) consegna(dovuto, ++inAttesa);
    return guasto_;
}

int ControlloPromemoria::contaInAttesa() {
    int conteggio = 0;
    tenta([&] {
        const auto attesa = work_.openQuery(kContaInAttesa);
        conteggio = static_cast<int>(ValoreNumero(attesa->field(kNumWait)));
        attesa->close();
    });
    return conteggio;
}

QList<ControlloPromemoria::Consegna> ControlloPromemoria::leggiDovuti(double momento) {
    QList<Consegna> dovuti;
    tenta([&] {
        const auto selezione = work_.openQuery(promemoriaDovuti(momento), true);
        for (; !selezione->eof(); selezione->moveNext()) {
            Consegna dovuto{selezione->field(kPmCliente), selezione->field(kPmData),
                            selezione->field(kPmAzione), QString()};
            // A row whose fields cannot be read is passed over.
            tenta([&] {
                dovuto.argomento = testi::numberText(ValoreNumero(dovuto.cliente)) + kBarra +
                                   testi::trimSpaces(ValoreTesto(dovuto.azione)) + kBarra +
                                   testi::generalDateText(ValoreNumero(dovuto.data));
                dovuti.append(dovuto);
            });
        }
        selezione->close();
    });
    return dovuti;
}

// Marks the reminders as handed over in one transaction; returns those that were marked.
// A reminder whose mark fails waits for the next poll and the others are marked again in a new
// transaction: the engine may have rolled the whole transaction back with the failed statement,
// and marks made after that would stay without their hand-over.
QList<ControlloPromemoria::Consegna> ControlloPromemoria::segnaConsegnati(QList<Consegna> dovuti) {
    while (!dovuti.isEmpty()) {
        qsizetype fallito = -1;
        if (std::optional<QList<Consegna>> segnati = segnaInsieme(dovuti, fallito)) return *segnati;
        if (fallito < 0) return {};
        dovuti.removeAt(fallito);
    }
    return {};
}

// One transaction marking every reminder of `dovuti`. On failure it is rolled back and nothing
// is returned, with `fallito` the position of the reminder whose mark failed (-1 when the
// transaction itself could not start).
std::optional<QList<ControlloPromemoria::Consegna>> ControlloPromemoria::segnaInsieme(
    const QList<Consegna>& dovuti, qsizetype& fallito) {
    QList<Consegna> segnati;
    qsizetype posizione = -1;
    const bool riuscito = tenta([&] {
        db::Transaction transazione(work_);
        const auto promemoria = work_.openTable(kPromemoria);
        promemoria->selectIndex(kPrimaria);
        for (posizione = 0; posizione < dovuti.size(); ++posizione) {
            if (segna(*promemoria, dovuti[posizione])) segnati.append(dovuti[posizione]);
        }
        promemoria->close();
        transazione.commit();
    });
    if (riuscito) return segnati;
    if (posizione >= 0 && posizione < dovuti.size()) fallito = posizione;
    return std::nullopt;
}

// Marks one reminder as handed over; false when the table no longer holds it.
bool ControlloPromemoria::segna(db::TableCursor& promemoria, const Consegna& consegna) {
    promemoria.seek(db::SeekComparison::Equal, {consegna.cliente, consegna.data, consegna.azione});
    if (promemoria.noMatch()) return false;
    promemoria.edit();
    promemoria.setField(kPmWait, QStringLiteral("S"));
    promemoria.update();
    return true;
}

void ControlloPromemoria::consegna(const Consegna& consegna, int inAttesa) {
    yielder_.yieldToEvents();
    const bool avviato = launcher_.startDetached(
        kProgrammaAvviso,
        {fileIni_ + kBarra + QString::number(inAttesa) + kBarra + consegna.argomento});
    // The reminder stays marked until the next rebuild, but nobody saw it: that is a failure.
    if (!avviato && !guasto_) guasto_ = kAvvisoNonAvviato;
}
