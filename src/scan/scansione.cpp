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
// The book is read in full at least this often, whatever the signals say.
constexpr qint64 kLetturaCompletaMs = 15 * 60 * 1000;
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
        std::optional<QString> guasto = consegna(Momento::Tick);
        eseguiSelezioneRinviata();
        yielder_.yieldToEvents();
        std::optional<QString> guastoSelezione;
        if (contaCicli_ % kPollPerSelezione == 0) {
            guastoSelezione = tentaSelezione(Segni::Azzera, Lettura::Poll);
        } else if (selezioneFallita_ && contaCicli_ - ultimoTentativo_ >= attesaTentativi()) {
            // Keeping the marks: what this poll handed over from the old table is not handed
            // over again because the rebuild came late.
            guastoSelezione = tentaSelezione(Segni::Conserva, Lettura::Sempre);
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
        consegna(Momento::Sveglia);
        eseguiSelezioneRinviata();
    }
    annunciaProssimoAllarme();
}

std::optional<QString> Scansione::consegna(Momento momento) {
    Segnalino percorso(percorsoInCorso_);
    ultimaConsegna_ = dateserial::fromDateTime(clock_.now());
    ControlloPromemoria controllo(work_, fileIni_, clock_, yielder_, launcher_);
    // A reset that fails is tried again at the next tick; its failure is this poll's.
    if (momento == Momento::Tick && segniDaAzzerare_ && controllo.azzeraSegni())
        segniDaAzzerare_ = false;
    return controllo.esegui();
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

void Scansione::seguiLibro(std::function<bool(bool)> tuttoDetto) {
    tuttoDetto_ = std::move(tuttoDetto);
    letto_.reset();
}

void Scansione::libroCambiato(std::optional<std::vector<qint64>> righe) {
    righeDette_ = righeDette_ || righe.has_value();
    // A book read without holding its rows cannot take them: it is read anew, and held.
    if (!righe || !letto_ || !letto_->tenuta) {
        letto_.reset();
        return;
    }
    letto_->cambiate.insert(letto_->cambiate.end(), righe->begin(), righe->end());
}

void Scansione::ricostruisci(std::chrono::milliseconds attesaBlocchi, Segni segni,
                             Lettura lettura) {
    {
        Segnalino selezione(selezioneInCorso_);
        const EsitoSelezione esito = seleziona(attesaBlocchi, lettura);
        if (segni == Segni::Azzera) segniDaAzzerare_ = true;
        selezioneFallita_.reset();
        selezioneAvvenuta_ = true;
        alTermineSelezione_(esito);
    }
    if (selezioneRinviata_) rinvio_.start(0);
}

// The marks are kept: a rebuild that resets them leaves that to the next tick.
EsitoSelezione Scansione::seleziona(std::chrono::milliseconds attesaBlocchi, Lettura lettura) {
    if (lettura != Lettura::Sempre && libroSeguito(lettura)) return aggiorna();
    // Until this rebuild goes through, the table is not known to be the book's.
    letto_.reset();
    const QDateTime inizio = clock_.now();
    // Held only for writes that tell their rows: a book that only says it was written is read
    // anew each time.
    SelezioneTenuta selezione;
    const bool tenuta = righeDette_;
    const EsitoSelezione esito =
        ::SelezionaAppuntamenti(visite_, work_, clock_, yielder_, attesaBlocchi)
            .esegui(Segni::Conserva, tenuta ? &selezione : nullptr);
    // The identities after it: a file replaced meanwhile was opened anew, and read.
    LibroLetto letto = libroDiOggi();
    letto.quando = inizio;
    if (tuttoDetto_ && letto.giorno == dateserial::dayNumber(inizio.date())) {
        letto.esito = esito;
        letto.selezione = std::move(selezione);
        letto.tenuta = tenuta;
        letto_ = std::move(letto);
    }
    return esito;
}

EsitoSelezione Scansione::aggiorna() {
    if (letto_->cambiate.empty()) return letto_->esito;
    // Until the rows go in, the table is not known to be the book's: a failure reads it all.
    LibroLetto letto = std::move(*std::exchange(letto_, std::nullopt));
    letto.esito = ::SelezionaAppuntamenti(visite_, work_, clock_, yielder_, db::kBriefLockWait)
                      .aggiorna(letto.selezione, std::exchange(letto.cambiate, {}));
    letto_ = std::move(letto);
    return letto_->esito;
}

bool Scansione::libroSeguito(Lettura lettura) {
    const QDateTime adesso = clock_.now();
    // Only the fifteenth polls set the rhythm the quarter of an hour is reckoned by.
    const QDateTime verificaPrecedente =
        lettura == Lettura::Poll ? std::exchange(ultimaVerifica_, adesso) : ultimaVerifica_;
    if (!tuttoDetto_) return false;
    // A write found now asks for a rebuild of its own: the one about to run covers it.
    const std::optional<Segni> rinviata = selezioneRinviata_;
    const bool detto = tuttoDetto_(lettura == Lettura::Poll);
    selezioneRinviata_ = rinviata;
    if (!detto || !letto_) return false;
    const LibroLetto ora = libroDiOggi();
    return ora.giorno == letto_->giorno && ora.visite == letto_->visite &&
           ora.work == letto_->work && lettoDiRecente(verificaPrecedente, adesso);
}

bool Scansione::lettoDiRecente(const QDateTime& verificaPrecedente, const QDateTime& adesso) const {
    const QDateTime& lettura = letto_->quando;
    const qint64 giro =
        (verificaPrecedente.isValid() ? verificaPrecedente : lettura).msecsTo(adesso);
    const qint64 daLettura = lettura.msecsTo(adesso);
    // A clock gone back tells nothing: the book is read.
    return giro >= 0 && daLettura >= 0 && daLettura + giro <= kLetturaCompletaMs;
}

Scansione::LibroLetto Scansione::libroDiOggi() const {
    LibroLetto libro;
    libro.giorno = dateserial::dayNumber(clock_.now().date());
    libro.visite = db::identity(visite_.path());
    libro.work = db::identity(work_.path());
    return libro;
}

void Scansione::richiediSelezione(Segni segni) {
    tentaSelezione(segni, letturaPer(segni));
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
    tentaSelezione(segni, letturaPer(segni));
}
