// The alert program while it runs: takes in reminders, sounds the new ones, puts them off, and
// keeps its cards and snoozes to what the reminder table says.
#pragma once

#include <QList>
#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>

#include "alert/elencoavvisi.h"
#include "alert/finestraavviso.h"
#include "alert/promemoriarinviati.h"
#include "alert/rinvio.h"
#include "platform/clock.h"
#include "platform/soundplayer.h"
#include "reminder/messaggi.h"

class QTextStream;
class DesktopNotifier;

class ProgrammaAvviso : public QObject {
    Q_OBJECT
public:
    // A poll hands its reminders over one start after another: those that arrive with less
    // than this quiet between them make one batch.
    static constexpr int kQuieteLottoMs = 1500;
    // While reminders keep coming the reminder table is read at most once in this time: a
    // flood of hand-overs costs a few reads, not one each.
    static constexpr int kPausaVerificaMs = 250;

    // Hands a message to SCADEX's running copy: true when SCADEX took it.
    using ScriviAScadex = std::function<bool(const messaggi::PerScadex&)>;

    // `rinvii`: how long the window's snoozes last. `eco`, when given, receives the line
    // of every reminder taken in.
    ProgrammaAvviso(SoundPlayer& suono, DurateRinvio rinvii, QTextStream* eco = nullptr,
                    int quieteLottoMs = kQuieteLottoMs);

    // Lists a reminder, of this start or handed over by a later one. A new appointment, or one
    // back from its snooze, shows the window, and the first of a batch plays the configured
    // sound when it is switched on. One already listed, or put off, is refreshed quietly. The
    // reminder table is read soon after, and the cards and snoozes follow it.
    void accogli(const Avviso& avviso);
    // A handed-over argument; one that no longer reads (its file gone meanwhile) is dropped.
    void accogliArgomento(const QString& argomento);
    // What SCADEX's running copy, or a later start, sent to this copy.
    void accogliMessaggio(const messaggi::PerAvviso& messaggio);

    // From now on the program tells SCADEX through `scrivi`: the reminder to open, a sound
    // that could not be played.
    void scriviAScadex(ScriviAScadex scrivi) { scriviAScadex_ = std::move(scrivi); }

    FinestraAvviso& finestra() { return finestra_; }

    // From now on each batch is also posted to `notifiche` with the snoozes as its actions;
    // choosing the notification restores the window and brings it to the front, and the
    // reminders going (window closed or put off) withdraw it.
    void notificaSu(DesktopNotifier& notifiche);

    // Puts every reminder of the window off and hides the window until the snooze ends:
    // `rinvio` is its place in kRinvii.
    void rinvia(std::size_t rinvio);
    // Reads the reminder table for every card and snooze, by key: those whose row is gone or
    // whose alarm is now later than the present go, quietly; the cards take the alarm order.
    // Where the table cannot be read everything stays.
    void verifica();

    // Run when the program is about to end, before it decides to: it stops taking reminders
    // and takes in those already confirmed to their starts.
    void primaDiConcludere(std::function<void()> rifiuta) {
        primaDiConcludere_ = std::move(rifiuta);
    }

signals:
    // The quiet after a batch has come: its new reminders in order of arrival.
    void lottoConcluso(const QList<AvvisoDescritto>& lotto);
    // The window's reminders have gone: closed, put off, or no longer due.
    void avvisiTolti();
    // Some cards have gone, others stay: fewer are shown.
    void mostratiCambiati();
    // The window is closed and no reminder is put off: the program may end.
    void concluso();

private:
    void prendi(const Avviso& avviso);
    void chiediVerifica();
    std::optional<QList<std::optional<double>>> allarmiDovuti(const QList<Avviso>& avvisi);
    QList<Avviso> ancoraDovuti(const QList<Avviso>& avvisi);
    void suona(const QString& fileIni);
    void suonoFallito(SoundFailure perche, const QString& fileSuono);
    void concludiLotto();
    QList<Avviso> togliAvvisi();
    Avviso togliScheda(qsizetype indice);
    void chiudiScheda(qsizetype indice);
    void rinviaScheda(qsizetype indice, std::size_t rinvio);
    void apriScheda(qsizetype indice);
    void seVuota();
    void chiudi();
    void termina();
    void concludiSeNienteRinviato();

    SoundPlayer& suono_;
    QTextStream* eco_;
    ElencoAvvisi elenco_;
    FinestraAvviso finestra_;
    QList<AvvisoDescritto> lotto_;
    bool suonatoNelLotto_ = false;
    bool suonoSegnalato_ = false;
    bool schedeTolte_ = false;  // since the window's count was last told
    bool illeggibileSegnalata_ = false;
    QTimer fineLotto_;
    QTimer verifica_;
    DurateRinvio rinvii_;
    SystemClock orologio_;
    PromemoriaRinviati rinviati_{orologio_};
    ScriviAScadex scriviAScadex_;
    std::function<void()> primaDiConcludere_;
};
