// The alert program while it runs: takes in reminders, sounds the new ones, puts them off.
#pragma once

#include <QList>
#include <QObject>
#include <QTimer>
#include <functional>

#include "alert/elencoavvisi.h"
#include "alert/finestraavviso.h"
#include "alert/promemoriarinviati.h"
#include "alert/rinvio.h"
#include "platform/clock.h"

class QTextStream;
class SoundPlayer;
class DesktopNotifier;

class ProgrammaAvviso : public QObject {
    Q_OBJECT
public:
    // A poll hands its reminders over one start after another: those that arrive with less
    // than this quiet between them make one batch.
    static constexpr int kQuieteLottoMs = 1500;

    // `rinvii`: how long the window's snoozes last. `eco`, when given, receives the line
    // of every reminder taken in.
    ProgrammaAvviso(SoundPlayer& suono, DurateRinvio rinvii, QTextStream* eco = nullptr,
                    int quieteLottoMs = kQuieteLottoMs);

    // Lists a reminder, of this start or handed over by a later one, and shows the window.
    // The first new appointment of a batch plays the configured sound when it is switched
    // on; the rest of the batch plays nothing more. A reminder put off is held back, not
    // shown, until its snooze ends.
    void accogli(const Avviso& avviso);
    // A handed-over argument; one that no longer reads (its file gone meanwhile) is dropped.
    void accogliArgomento(const QString& argomento);

    FinestraAvviso& finestra() { return finestra_; }

    // From now on each batch is also posted to `notifiche` with the snoozes as its actions;
    // choosing the notification restores the window and brings it to the front, and the
    // reminders going (window closed or put off) withdraw it.
    void notificaSu(DesktopNotifier& notifiche);

    // Puts every reminder of the window off and hides the window until the snooze ends:
    // `rinvio` is its place in kRinvii.
    void rinvia(std::size_t rinvio);

    // Run when the program is about to end, before it decides to: it stops taking reminders
    // and takes in those already confirmed to their starts.
    void primaDiConcludere(std::function<void()> rifiuta) {
        primaDiConcludere_ = std::move(rifiuta);
    }

signals:
    // The quiet after a batch has come: its reminders in order of arrival.
    void lottoConcluso(const QList<AvvisoDescritto>& lotto);
    // The window's reminders have gone: closed, or put off.
    void avvisiTolti();
    // The window is closed and no reminder is put off: the program may end.
    void concluso();

private:
    void suona(const QString& fileIni);
    void concludiLotto();
    QList<Avviso> togliAvvisi();
    void chiudi();
    void concludiSeNienteRinviato();

    SoundPlayer& suono_;
    QTextStream* eco_;
    ElencoAvvisi elenco_;
    FinestraAvviso finestra_;
    QList<AvvisoDescritto> lotto_;
    bool suonatoNelLotto_ = false;
    QTimer fineLotto_;
    DurateRinvio rinvii_;
    SystemClock orologio_;
    PromemoriaRinviati rinviati_{orologio_};
    std::function<void()> primaDiConcludere_;
};
