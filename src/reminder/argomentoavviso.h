// The alert program's one command-line argument: composing it and reading it back.
#pragma once

#include <QString>

// "<Gestar.ini path>|<reminders waiting>|<client>|<action>|<appointment moment>", the moment
// as general date text. The host product's alert program reads the same line, so the layout
// is fixed. Parsing from both ends reads back a "|" inside the action, and one inside the
// path unless numbers follow it as the count and the client would: the path is cut there.
struct ArgomentoAvviso {
    QString fileIni;   // Gestar.ini of the main program
    int inAttesa = 0;  // reminders waiting for the operator, this one included
    qint32 cliente = 0;
    QString azione;   // may be empty
    double data = 0;  // appointment moment, day serial

    // The argument for these values; throws ConversionError for a moment beyond the calendar.
    QString componi() const;
    // The values of an argument, blanks around the path left out. Throws ArgomentoErrato,
    // with a message for the operator, on a malformed argument.
    static ArgomentoAvviso leggi(const QString& argomento);

    // The same appointment: client, action and moment (to the second) agree.
    bool stessoAppuntamento(const ArgomentoAvviso& altro) const;
};
