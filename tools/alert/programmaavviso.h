// The alert program while its window is open: takes in reminders and sounds the new ones.
#pragma once

#include <QObject>

#include "alert/elencoavvisi.h"
#include "alert/finestraavviso.h"

class QTextStream;
class SoundPlayer;

class ProgrammaAvviso : public QObject {
    Q_OBJECT
public:
    // `eco`, when given, receives the line of every reminder taken in.
    explicit ProgrammaAvviso(SoundPlayer& suono, QTextStream* eco = nullptr);

    // Lists a reminder, of this start or handed over by a later one, and shows the window;
    // a new appointment plays the configured sound when it is switched on.
    void accogli(const Avviso& avviso);
    // A handed-over argument; one that no longer reads (its file gone meanwhile) is dropped.
    void accogliArgomento(const QString& argomento);

    const ElencoAvvisi& elenco() const { return elenco_; }
    FinestraAvviso& finestra() { return finestra_; }

private:
    void suona(const QString& fileIni);

    SoundPlayer& suono_;
    QTextStream* eco_;
    ElencoAvvisi elenco_;
    FinestraAvviso finestra_;
};
