// Polls and rebuilds, kept from overlapping.
#include "scan/scansione.h"

#include <QtGlobal>
#include <utility>

#include "db/database.h"
#include "db/dberror.h"
#include "db/lockwait.h"
#include "platform/clock.h"
#include "platform/eventyielder.h"
#include "scan/controllopromemoria.h"
#include "util/dateserial.h"
#include "util/diagnostic.h"

namespace {

constexpr qint64 kPollPerSelezione = 15;
constexpr int kSelezioniFalliteTollerate = 3;

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

// Of two rebuilds asked for, the one that resets the marks covers the other.
Segni piuForte(std::optional<Segni> prima, Segni seconda) {
    return prima == Segni::Azzera ? Segni::Azzera : seconda;
}

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
      alTermineSelezione_(std::move(alTermineSelezione)) {
    rinvio_.setSingleShot(true);
    QObject::connect(&rinvio_, &QTimer::timeout, &rinvio_, [this] {
        eseguiSelezioneRinviata();
        annunciaProssimoAllarme();
    });
}

void Scansione::controllaPromemoria() {
    if (pollInCorso_) return;
    {
        Segnalino poll(pollInCorso_);
        ++contaCicli_;
        // The hand-over runs from the table as it stands: a rebuild that keeps failing holds
        // back nothing that the last good one wrote.
        std::optional<QString> guasto = consegna();
        eseguiSelezioneRinviata();
        yielder_.yieldToEvents();
        std::optional<QString> guastoSelezione;
        if (contaCicli_ % kPollPerSelezione == 0) {
            guastoSelezione = tentaSelezione(Segni::Azzera, Lettura::SeCambiato);
        } else if (selezioneFallita_ && contaCicli_ - ultimoTentativo_ >= attesaTentativi()) {
            // Keeping the marks: what this poll handed over from the old table is not handed
            // over again because the rebuild came late.
            guastoSelezione = tentaSelezione(Segni::Conserva);
        }
        // Only a rebuild failing beside a hand-over that went through backs off: when both
        // fail the database is away, and the rebuild is tried as soon as it is back.
        if (guastoSelezione && !guasto) ++selezioniFallite_;
        // Until a rebuild goes through, every tick tells its failure.
        if (!guasto) guasto = selezioneFallita_;
        const StatoScansione::Cambio cambio = stato_.registra(guasto);
        if (cambio != StatoScansione::Cambio::Nessuno && alCambioStato_) alCambioStato_(stato_);
    }
    annunciaProssimoAllarme();
}

// A failure here is not registered: the next tick's poll tries again and tells.
void Scansione::consegnaDovuti() {
    if (pollInCorso_ || percorsoInCorso_ || selezioneInCorso_) return;
    {
        Segnalino poll(pollInCorso_);
        consegna();
        eseguiSelezioneRinviata();
    }
    annunciaProssimoAllarme();
}

std::optional<QString> Scansione::consegna() {
    Segnalino percorso(percorsoInCorso_);
    ultimaConsegna_ = dateserial::fromDateTime(clock_.now());
    return ControlloPromemoria(work_, fileIni_, clock_, yielder_, launcher_).esegui();
}

void Scansione::annunciaProssimoAllarme() {
    if (pollInCorso_ || selezioneInCorso_ || !alProssimoAllarme_) return;
    const bool dopoSelezione = std::exchange(selezioneAvvenuta_, false);
    std::optional<double> prossimo;
    try {
        prossimo = ControlloPromemoria::prossimoAllarme(work_);
    } catch (const DataError&) {
        // Unknown: the ticks hand over as they always have.
    }
    // A moment the last hand-over already reached was due then and is still here: that
    // hand-over failed, and the next tick tries again. One that passed since is due now.
    if (prossimo && *prossimo <= ultimaConsegna_ && !dopoSelezione) prossimo.reset();
    alProssimoAllarme_(prossimo);
}

void Scansione::SelezionaAppuntamenti() {
    ricostruisci(db::kDefaultBusyTimeout, Segni::Azzera);
    annunciaProssimoAllarme();
}

void Scansione::seguiLibro(std::function<void()> verifica) {
    verificaLibro_ = std::move(verifica);
    letto_.reset();
}

void Scansione::ricostruisci(std::chrono::milliseconds attesaBlocchi, Segni segni,
                             Lettura lettura) {
    {
        Segnalino selezione(selezioneInCorso_);
        const EsitoSelezione esito = seleziona(attesaBlocchi, segni, lettura);
        selezioneFallita_.reset();
        selezioneAvvenuta_ = true;
        alTermineSelezione_(esito);
    }
    if (selezioneRinviata_) rinvio_.start(0);
}

EsitoSelezione Scansione::seleziona(std::chrono::milliseconds attesaBlocchi, Segni segni,
                                    Lettura lettura) {
    ::SelezionaAppuntamenti selezione(visite_, work_, clock_, yielder_, attesaBlocchi);
    if (lettura == Lettura::SeCambiato && segni == Segni::Azzera && libroInvariato()) {
        selezione.azzeraSegni();
        return letto_->esito;
    }
    // Until this rebuild goes through, the table is not known to be the book's.
    letto_.reset();
    const qint64 giorno = dateserial::dayNumber(clock_.now().date());
    const EsitoSelezione esito = selezione.esegui(segni);
    // The identities after it: a file replaced meanwhile was opened anew, and read.
    LibroLetto letto = libroDiOggi();
    if (verificaLibro_ && letto.giorno == giorno) {
        letto.esito = esito;
        letto_ = std::move(letto);
    }
    return esito;
}

bool Scansione::libroInvariato() {
    if (!letto_ || !verificaLibro_) return false;
    // A write found now asks for a rebuild of its own: the one about to read the book
    // covers it.
    const std::optional<Segni> rinviata = selezioneRinviata_;
    verificaLibro_();
    if (!letto_) {
        selezioneRinviata_ = rinviata;
        return false;
    }
    const LibroLetto adesso = libroDiOggi();
    return adesso.giorno == letto_->giorno && adesso.visite == letto_->visite &&
           adesso.work == letto_->work;
}

Scansione::LibroLetto Scansione::libroDiOggi() const {
    return {dateserial::dayNumber(clock_.now().date()),
            db::identity(visite_.path()),
            db::identity(work_.path()),
            {}};
}

void Scansione::richiediSelezione(Segni segni) {
    tentaSelezione(segni);
    annunciaProssimoAllarme();
}

// Three failures in a row, while the hand-overs go through, make a rebuild that keeps failing
// a large read once in a while, not at every tick.
qint64 Scansione::attesaTentativi() const {
    return selezioniFallite_ < kSelezioniFalliteTollerate ? 1 : kPollPerSelezione;
}

std::optional<QString> Scansione::tentaSelezione(Segni segni, Lettura lettura) {
    if (percorsoInCorso_ || selezioneInCorso_) {
        selezioneRinviata_ = piuForte(selezioneRinviata_, segni);
        return std::nullopt;
    }
    ultimoTentativo_ = contaCicli_;
    try {
        ricostruisci(db::kBriefLockWait, segni, lettura);
        selezioniFallite_ = 0;
        return std::nullopt;
    } catch (const DataError& errore) {
        // Tried again at the next poll; told on the diagnostic output until the operator is
        // told of the stop, not at every tick after.
        if (!stato_.inGuasto())
            logDiagnostic(QStringLiteral("ricostruzione dei promemoria non riuscita"), errore);
        selezioneFallita_ = db::faultText(db::faultOf(errore));
        return selezioneFallita_;
    }
}

void Scansione::eseguiSelezioneRinviata() {
    if (!selezioneRinviata_) return;
    const Segni segni = *std::exchange(selezioneRinviata_, std::nullopt);
    tentaSelezione(segni);
}
