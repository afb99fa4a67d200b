// Polls and rebuilds, kept from overlapping.
#include "scan/scansione.h"

#include <QtGlobal>
#include <cmath>
#include <utility>

#include "db/database.h"
#include "db/dberror.h"
#include "db/lockwait.h"
#include "platform/eventyielder.h"
#include "scan/controllopromemoria.h"
#include "util/diagnostica.h"
#include "util/testi.h"

namespace {

constexpr qint64 kPollPerSelezione = 15;

// Sets a flag for the lifetime of a scope.
class Segnalino {
public:
    explicit Segnalino(bool& flag) : flag_(flag) { flag_ = true; }
    ~Segnalino() { flag_ = false; }
    Segnalino(const Segnalino&) = delete;
    Segnalino& operator=(const Segnalino&) = delete;

private:
    bool& flag_;
};

}  // namespace

Scansione::Scansione(db::Database& visite, db::Database& work, QString fileIni, const Clock& clock,
                     EventYielder& yielder, ProcessLauncher& launcher,
                     AlTermineSelezione alTermineSelezione)
    : visite_(visite),
      work_(work),
      fileIni_(std::move(fileIni)),
      clock_(clock),
      yielder_(yielder),
      launcher_(launcher),
      alTermineSelezione_(std::move(alTermineSelezione)) {}

void Scansione::controllaPromemoria() {
    if (pollInCorso_) return;
    Segnalino poll(pollInCorso_);
    contaCicli_ += 1;
    // A rebuild that failed goes first: handing over from the table it is about to write
    // anew would hand the same reminders over again right after it.
    std::optional<QString> guasto;
    if (selezioneDaRipetere_) guasto = tentaSelezione();
    if (!guasto) {
        Segnalino percorso(percorsoInCorso_);
        guasto = ControlloPromemoria(work_, fileIni_, clock_, yielder_, launcher_).esegui();
    }
    eseguiSelezioneRinviata();
    yielder_.yieldToEvents();
    const auto ciclo = static_cast<qint64>(testi::roundHalfEven(contaCicli_));
    if (ciclo % kPollPerSelezione == 0) {
        // A rebuild whose turn comes while the poll fails runs as soon as it goes through.
        if (guasto) {
            selezioneDaRipetere_ = true;
        } else {
            guasto = tentaSelezione();
        }
    }
    const StatoScansione::Cambio cambio = stato_.registra(guasto);
    if (cambio != StatoScansione::Cambio::Nessuno && alCambioStato_) alCambioStato_(stato_);
}

void Scansione::selezionaAppuntamenti() {
    ricostruisci(db::kDefaultBusyTimeout);
}

void Scansione::ricostruisci(std::chrono::milliseconds attesaBlocchi) {
    {
        Segnalino selezione(selezioneInCorso_);
        const EsitoSelezione esito =
            SelezioneAppuntamenti(visite_, work_, clock_, yielder_, attesaBlocchi).esegui();
        selezioneDaRipetere_ = false;
        alTermineSelezione_(esito);
    }
    eseguiSelezioneRinviata();
}

void Scansione::richiediSelezione() {
    tentaSelezione();
}

std::optional<QString> Scansione::tentaSelezione() {
    if (percorsoInCorso_ || selezioneInCorso_) {
        selezioneRinviata_ = true;
        return std::nullopt;
    }
    try {
        ricostruisci(db::kBriefLockWait);
        return std::nullopt;
    } catch (const ErroreDati& errore) {
        // Tried again at the next poll; told on the diagnostic output until the operator is
        // told of the stop, not at every tick after.
        if (!stato_.inGuasto())
            Diagnostica(QStringLiteral("ricostruzione dei promemoria non riuscita"), errore);
        selezioneDaRipetere_ = true;
        return db::faultText(db::faultOf(errore));
    }
}

void Scansione::eseguiSelezioneRinviata() {
    if (!selezioneRinviata_) return;
    selezioneRinviata_ = false;
    richiediSelezione();
}
