// The poll's hand-overs.
#include "scan/controllopromemoria.h"

#include <memory>

#include "db/database.h"
#include "db/lockwait.h"
#include "db/schema.h"
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

// Runs one step of the poll; a failed data step skips it (returns false) and the first one
// is kept as the poll's failure.
template <typename Passo>
bool ControlloPromemoria::tenta(Passo&& passo) {
    try {
        passo();
        return true;
    } catch (const ErroreDati& errore) {
        if (!guasto_) guasto_ = db::faultText(db::faultOf(errore));
    }
    return false;
}

ControlloPromemoria::ControlloPromemoria(db::Database& work, const QString& fileIni,
                                         const Clock& clock, EventYielder& yielder,
                                         ProcessLauncher& launcher)
    : work_(work), fileIni_(fileIni), clock_(clock), yielder_(yielder), launcher_(launcher) {}

std::optional<QString> ControlloPromemoria::esegui() {
    int inAttesa = 0;
    QStringList argomenti;
    {
        // The next tick tries again: a lock the host holds for long skips a step rather than
        // freezing the window. The operator's answers, given between ticks, wait longer.
        const db::LockWait attesa(work_, db::kBriefLockWait);
        inAttesa = contaInAttesa();
        argomenti = segnaDovuti(dateserial::fromDateTime(clock_.now()));
    }
    // Everything is marked before the first yield: a yield may open a modal window, and
    // nothing may hold the host product off the work database meanwhile.
    for (const QString& argomento : argomenti) consegna(argomento, ++inAttesa);
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

// One statement marks and returns the due reminders: it is a transaction of its own. When it
// fails nothing is marked and nothing is handed over; the next poll tries again.
QStringList ControlloPromemoria::segnaDovuti(double momento) {
    std::unique_ptr<db::Snapshot> segnati;
    const bool riuscito = tenta([&] {
        segnati = work_.openChange(db::schema::segnaDovuti(momento), kPromemoria, kPrimaria);
    });
    QStringList argomenti;
    if (!riuscito) return argomenti;
    for (; !segnati->eof(); segnati->moveNext()) {
        // A reminder whose fields cannot be read stays marked until the next rebuild, with
        // nothing to tell the alert program: the poll reports the failure.
        tenta([&] { argomenti.append(argomento(*segnati)); });
    }
    return argomenti;
}

QString ControlloPromemoria::argomento(const db::Snapshot& segnato) {
    return testi::numberText(ValoreNumero(segnato.field(kPmCliente))) + kBarra +
           testi::trimSpaces(ValoreTesto(segnato.field(kPmAzione))) + kBarra +
           testi::generalDateText(ValoreNumero(segnato.field(kPmData)));
}

void ControlloPromemoria::consegna(const QString& argomento, int inAttesa) {
    yielder_.yieldToEvents();
    const bool avviato = launcher_.startDetached(
        kProgrammaAvviso, {fileIni_ + kBarra + QString::number(inAttesa) + kBarra + argomento});
    // The reminder stays marked until the next rebuild, but nobody saw it: that is a failure.
    if (!avviato && !guasto_) guasto_ = kAvvisoNonAvviato;
}
