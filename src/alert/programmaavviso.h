// The alert program while its window is open: takes in reminders and sounds the new ones.
#pragma once

#include <QList>
#include <QObject>
#include <QTimer>

#include "alert/elencoavvisi.h"
#include "alert/finestraavviso.h"

class QTextStream;
class SoundPlayer;
class DesktopNotifier;

class ProgrammaAvviso : public QObject {
    Q_OBJECT
public:
    // A poll hands its reminders over one start after another: those that arrive with less
    // than this quiet between them make one batch.
    static constexpr int kQuieteLottoMs = 1500;

    // `eco`, when given, receives the line of every reminder taken in.
    explicit ProgrammaAvviso(SoundPlayer& suono, QTextStream* eco = nullptr,
                             int quieteLottoMs = kQuieteLottoMs);

    // Lists a reminder, of this start or handed over by a later one, and shows the window.
    // The first new appointment of a batch plays the configured sound when it is switched
    // on; the rest of the batch plays nothing more.
    void accogli(const Avviso& avviso);
    // A handed-over argument; one that no longer reads (its file gone meanwhile) is dropped.
    void accogliArgomento(const QString& argomento);

    const ElencoAvvisi& elenco() const { return elenco_; }
    FinestraAvviso& finestra() { return finestra_; }

    // From now on each batch is also posted to `notifiche`, choosing the notification
    // restores the window and brings it to the front, and closing the window withdraws it.
    void notificaSu(DesktopNotifier& notifiche);

signals:
    // The quiet after a batch has come: its reminders in order of arrival.
    void lottoConcluso(const QList<AvvisoDescritto>& lotto);

private:
    void suona(const QString& fileIni);
    void concludiLotto();

    SoundPlayer& suono_;
    QTextStream* eco_;
    ElencoAvvisi elenco_;
    FinestraAvviso finestra_;
    QList<AvvisoDescritto> lotto_;
    bool suonatoNelLotto_ = false;
    QTimer fineLotto_;
};
