// The timer-driven scanning: polls, the rebuild after every fifteenth, and their re-entrancy.
#pragma once

#include <QDateTime>
#include <QString>
#include <QTimer>
#include <chrono>
#include <functional>
#include <optional>
#include <vector>

#include "scan/selezionaappuntamenti.h"
#include "scan/selezionetenuta.h"
#include "scan/statoscansione.h"

class Clock;
class EventYielder;
class ProcessLauncher;
namespace db {
class Database;
}  // namespace db

class Scansione {
public:
    using AlTermineSelezione = std::function<void(const EsitoSelezione&)>;
    using AlCambioStato = std::function<void(const StatoScansione&)>;
    // The moment (a day serial) at which the next hand-over is due; nothing when no reminder
    // waits for its alarm.
    using AlProssimoAllarme = std::function<void(std::optional<double>)>;

    // Polls the reminder table of `work` and rebuilds it from the appointments of `visite`;
    // `fileIni` travels on the alert program's command line.
    Scansione(db::Database& visite, db::Database& work, QString fileIni, const Clock& clock,
              EventYielder& yielder, ProcessLauncher& launcher,
              AlTermineSelezione alTermineSelezione);

    // One poll (ControllaPromemoria). A poll asked for while one is under way (a tick
    // delivered during its yields) is dropped. A rebuild that failed is tried again after the
    // hand-over, keeping the marks; after three failures in a row, once every fifteen polls.
    void controllaPromemoria();

    // The poll's hand-over alone, at the moment a reminder falls due between two ticks: it
    // does not count as a poll. Dropped while a poll or a rebuild is under way.
    void consegnaDovuti();

    // Told after every poll, hand-over and rebuild when the next hand-over is due: the earliest
    // alarm moment not handed over yet. A moment the last hand-over already reached is not
    // told (that hand-over failed: the next tick tries again), unless a rebuild has run since:
    // what the rebuild brought in is due now.
    void seguiProssimoAllarme(AlProssimoAllarme alProssimoAllarme) {
        alProssimoAllarme_ = std::move(alProssimoAllarme);
    }

    // Called when the reminders stop (polls or rebuilds failed for several ticks in a row)
    // and when they run again.
    void seguiStato(AlCambioStato alCambioStato) { alCambioStato_ = std::move(alCambioStato); }
    const StatoScansione& stato() const { return stato_; }

    // The rebuild as the start-up runs it: a failure is thrown. It waits for another writer's
    // lock as long as the operator's answers do: nothing would try it again.
    void SelezionaAppuntamenti();

    // A rebuild asked for by the poll or the list window. While a walk or another rebuild
    // is under way it is deferred and runs once when that ends: after a walk at once, after
    // a rebuild from the event loop. A failure (a lock held for
    // more than a brief wait among them) is written to standard error and the rebuild is
    // tried again at the next poll. `segni`: a rebuild for a change in the book keeps the
    // marks of the rows it leaves as they were; one that resets them has them reset by the
    // next tick's poll, just before its hand-over, so that what it hands over again comes on
    // the ticks' rhythm and a wake-up between ticks hands over only what has just fallen due
    // or what the book brought in. Of two rebuilds deferred together the one that resets runs.
    void richiediSelezione(Segni segni = Segni::Azzera);

    // The writes to both databases are followed: `tuttoDetto(catalogo)` says whether every
    // write that other connections have made since it was last asked has been told: those to
    // the book through libroCambiato(), none to the reminder table; and whether whatever tells
    // it can still be believed (false when it cannot tell), looked up in the catalogue when
    // `catalogo` says so: the fifteenth poll asks it, a rebuild for a change takes the last
    // answer. From then on a rebuild for a change in the
    // book, and the fifteenth poll's, over a book read the same day from the same files, read
    // only the rows told since: the table and the result are those a full read would give, and
    // with nothing told the book is not read at all (the fifteenth poll then only has the marks
    // reset). A write no signal tells of (a replication session's) is still read within a
    // quarter of an hour: the book is read in full whenever the next fifteenth poll would come
    // later. An empty `tuttoDetto` stops it.
    void seguiLibro(std::function<bool(bool catalogo)> tuttoDetto);
    // The book has been written: `righe` are the rowids of the rows written, when the writes
    // told them; without them, the next rebuild reads the whole book.
    void libroCambiato(std::optional<std::vector<qint64>> righe = std::nullopt);

    qint64 contaCicli() const { return contaCicli_; }

private:
    // Whether a rebuild may take the book as the last one read it, changed by the rows told:
    // the fifteenth poll's, or one for a change in the book.
    enum class Lettura { Sempre, Poll, Cambi };
    // What the last rebuild read, while nothing says the book has changed since but the rows
    // told.
    struct LibroLetto {
        qint64 giorno = 0;
        QByteArray visite;  // the identities of the two databases
        QByteArray work;
        QDateTime quando;  // when the book was read in full; set by the rebuild that read it
        EsitoSelezione esito;
        SelezioneTenuta selezione;
        bool tenuta = false;           // `selezione` holds what was read
        std::vector<qint64> cambiate;  // rowids told since
    };

    void ricostruisci(std::chrono::milliseconds attesaBlocchi, Segni segni,
                      Lettura lettura = Lettura::Sempre);
    EsitoSelezione seleziona(std::chrono::milliseconds attesaBlocchi, Lettura lettura);
    // Whether the book and the table are still as the last rebuild left them, but for the rows
    // told since.
    bool libroSeguito(Lettura lettura);
    // The last rebuild's result, with the rows told since applied.
    EsitoSelezione aggiorna();
    LibroLetto libroDiOggi() const;
    // The rebuild of richiediSelezione; returns the failure's cause, none when it went
    // through or was deferred.
    std::optional<QString> tentaSelezione(Segni segni, Lettura lettura);
    // A rebuild for a change in the book may read only the rows told.
    static Lettura letturaPer(Segni segni) {
        return segni == Segni::Conserva ? Lettura::Cambi : Lettura::Sempre;
    }
    void eseguiSelezioneRinviata();
    // Polls between two tries of a rebuild that failed.
    qint64 attesaTentativi() const;
    // The hand-over step of a poll, or of a wake-up between ticks; returns its failure.
    enum class Momento { Tick, Sveglia };
    std::optional<QString> consegna(Momento momento);
    // Whether a fifteenth poll coming as far after this one (`adesso`) as this one came after
    // the last would still find the book read within a quarter of an hour.
    bool lettoDiRecente(const QDateTime& verificaPrecedente, const QDateTime& adesso) const;
    // Tells alProssimoAllarme_ when the next hand-over is due, unless a poll or a rebuild is
    // still under way (it tells when it ends).
    void annunciaProssimoAllarme();

    db::Database& visite_;
    db::Database& work_;
    QString fileIni_;
    const Clock& clock_;
    EventYielder& yielder_;
    ProcessLauncher& launcher_;
    AlTermineSelezione alTermineSelezione_;
    AlCambioStato alCambioStato_;
    AlProssimoAllarme alProssimoAllarme_;
    StatoScansione stato_;
    std::function<bool(bool)> tuttoDetto_;
    std::optional<LibroLetto> letto_;
    bool righeDette_ = false;       // the book's writes tell their rows: the rebuild holds them
    QDateTime ultimaVerifica_;      // the last fifteenth poll that asked whether to read the book
    bool segniDaAzzerare_ = false;  // by the next tick's poll

    qint64 contaCicli_ = 0;  // ContaCicli
    bool pollInCorso_ = false;
    bool percorsoInCorso_ = false;
    bool selezioneInCorso_ = false;
    std::optional<Segni> selezioneRinviata_;
    std::optional<QString> selezioneFallita_;  // the cause, until a rebuild goes through
    int selezioniFallite_ = 0;                 // in a row
    qint64 ultimoTentativo_ = 0;               // the poll of the last rebuild tried
    bool selezioneAvvenuta_ = false;           // since the next hand-over was last told
    double ultimaConsegna_ = 0;                // the moment the last hand-over began at
    // Runs the rebuild deferred during another from the event loop: run at that one's end, a
    // rebuild that keeps asking for another would nest them until the stack ran out.
    QTimer rinvio_;
};
