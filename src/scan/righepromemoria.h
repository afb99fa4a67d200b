// The display line and the key line of one due appointment.
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

// Builds the two lines of the appointments of one rebuild; both throw ConversionError for a
// moment beyond the calendar. Appointments share their moments (the slots of a day): the
// texts of a moment are made once and kept for the next lines.
class RighePromemoria {
public:
    // "dd/mm/yy hh:mm", the client right-aligned in 7, the cause cut or filled with spaces to
    // 50 characters, and the note.
    QString visualizzata(const AppuntamentoDovuto& appuntamento);
    // client|action|general date|
    QString chiave(const AppuntamentoDovuto& appuntamento);

private:
    struct TestiMomento {
        QString breve;     // dd/mm/yy hh:mm
        QString generale;  // general date text
    };
    const TestiMomento& perMomento(double momento);

    QHash<double, TestiMomento> momenti_;
};
