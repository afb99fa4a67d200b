// The display line of one due appointment.
#pragma once

#include <QHash>
#include <QString>

struct AppuntamentoDovuto {
    qint32 cliente = 0;
    QString note;        // ValoreTesto of the note
    QString causa;       // ValoreTesto of the cause, whole: the line shows 50 characters
    double momento = 0;  // day serial of the appointment
    QString azione;      // the first six characters of ValoreTesto of the action, trimmed
};

// Builds the display lines of the appointments of one rebuild; throws ConversionError for a
// moment beyond the calendar. Appointments share their moments (the slots of a day): the
// text of a moment is made once and kept for the next lines.
class RighePromemoria {
public:
    // "dd/mm/yy hh:mm", the client right-aligned in 7, the cause cut or filled with spaces to
    // 50 characters, and the note.
    QString visualizzata(const AppuntamentoDovuto& appuntamento);

private:
    // dd/mm/yy hh:mm
    const QString& perMomento(double momento);

    QHash<double, QString> momenti_;
};
