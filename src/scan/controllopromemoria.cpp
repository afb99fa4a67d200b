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
#include "util/texts.h"
#include "util/valori.h"

using namespace db::schema;

// Runs one step of the poll; a failed data step skips it (returns false) and the first one
// is kept as the poll's failure.
template <typename Passo>
bool ControlloPromemoria::tenta(Passo&& passo) {
    try {
        passo();
        return true;
    } catch (const DataError& errore) {
        if (!guasto_) guasto_ = db::faultText(db::faultOf(errore));
    }
    return false;
}

ControlloPromemoria::ControlloPromemoria(db::Database& work, const QString& fileIni,
                                         const Clock& clock, EventYielder& yielder,
                                         ProcessLauncher& launcher)
    : work_(work), fileIni_(fileIni), clock_(clock), yielder_(yielder), launcher_(launcher) {}

std::optional<QString> ControlloPromemoria::esegui() {
    // A work database replaced under the program (a restore, a compaction) is the one to use.
    if (!tenta([&] { work_.reopenIfReplaced(); })) return guasto_;
    int inAttesa = 0;
    QList<ArgomentoAvviso> avvisi;
    {
        // The next tick tries again: a lock the host holds for long skips a step rather than
        // freezing the window. The operator's answers, given between ticks, wait longer.
        const db::LockWait attesa(work_, db::kBriefLockWait);
        inAttesa = contaInAttesa();
        avvisi = segnaDovuti(dateserial::fromDateTime(clock_.now()));
    }
    // Everything is marked before the first yield: a yield may open a modal window, and
    // nothing may hold the host product off the work database meanwhile. A reminder whose
    // moment has no text is not counted among the waiting ones.
    for (ArgomentoAvviso& avviso : avvisi) {
        avviso.inAttesa = inAttesa + 1;
        QString argomento;
        if (!tenta([&] { argomento = avviso.componi(); })) continue;
        ++inAttesa;
        consegna(argomento);
    }
    return guasto_;
}

bool ControlloPromemoria::azzeraSegni() {
    return tenta([&] {
        work_.reopenIfReplaced();
        const db::LockWait attesa(work_, db::kBriefLockWait);
        work_.execute(kAzzeraSegni);
    });
}

std::optional<double> ControlloPromemoria::prossimoAllarme(db::Database& work) {
    const db::LockWait attesa(work, db::kBriefLockWait);
    const auto prossimo = work.openQuery(db::BoundSql{kProssimoAllarme, {}});
    const QVariant momento = prossimo->field(kProssimo);
    prossimo->close();
    if (momento.isNull()) return std::nullopt;
    return ValoreNumero(momento);
}

int ControlloPromemoria::contaInAttesa() {
    int conteggio = 0;
    tenta([&] {
        const auto attesa = work_.openQuery(db::BoundSql{kContaInAttesa, {}});
        conteggio = static_cast<int>(ValoreNumero(attesa->field(kNumWait)));
        attesa->close();
    });
    return conteggio;
}

// One statement marks and returns the due reminders: it is a transaction of its own. When it
// fails nothing is marked and nothing is handed over; the next poll tries again.
QList<ArgomentoAvviso> ControlloPromemoria::segnaDovuti(double momento) {
    std::unique_ptr<db::Snapshot> segnati;
    const bool riuscito = tenta([&] {
        segnati = work_.openChange({kSegnaDovuti, {momento}}, kPromemoria, kPrimaria);
    });
    QList<ArgomentoAvviso> avvisi;
    if (!riuscito) return avvisi;
    for (; !segnati->eof(); segnati->moveNext()) {
        // A reminder whose fields cannot be read stays marked until the next rebuild, with
        // nothing to tell the alert program: the poll reports the failure.
        tenta([&] { avvisi.append(avvisoDi(*segnati, fileIni_)); });
    }
    return avvisi;
}

// A client code beyond 32 bits cannot reach the alert program: it fails as an unreadable field.
ArgomentoAvviso ControlloPromemoria::avvisoDi(const db::Snapshot& segnato, const QString& fileIni) {
    ArgomentoAvviso avviso;
    avviso.fileIni = fileIni;
    avviso.cliente = InteroLungo(ValoreNumero(segnato.field(kPmCliente)));
    avviso.azione = texts::trimSpaces(ValoreTesto(segnato.field(kPmAzione)));
    avviso.data = ValoreNumero(segnato.field(kPmData));
    return avviso;
}

void ControlloPromemoria::consegna(const QString& argomento) {
    yielder_.yieldToEvents();
    const bool avviato = launcher_.startDetached(kProgrammaAvviso, {argomento});
    // The reminder stays marked until the next rebuild, but nobody saw it: that is a failure.
    if (!avviato && !guasto_) guasto_ = kAvvisoNonAvviato;
}
