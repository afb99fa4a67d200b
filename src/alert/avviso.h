// One reminder as the main program hands it over on the alert program's command line.
#pragma once

#include <QString>

struct Avviso {
    QString fileIni;   // Gestar.ini of the main program
    int inAttesa = 0;  // reminders waiting for the operator, this one included
    qint32 cliente = 0;
    QString azione;   // may be empty
    double data = 0;  // appointment moment, day serial

    // The same appointment: client, action and moment (to the second) agree.
    bool stessoAppuntamento(const Avviso& altro) const;
};

// Reads "config path|waiting count|client|action|moment" (the moment as general date text).
// Throws ArgomentoErrato, with a message for the operator, on a malformed argument or a
// configuration file that is not there.
Avviso LeggiAvviso(const QString& argomento);
