// The display line and the key line of one due appointment.
#pragma once

#include <QString>

struct AppuntamentoDovuto {
    qint32 cliente = 0;
    QString note;        // ValoreTesto of the note
    QString causa;       // exactly 50 characters
    double momento = 0;  // day serial of the appointment
    QString azione;      // exactly 6 characters
};

// "dd/mm/yy hh:mm", the client right-aligned in 7, the 50-character cause and the note.
QString RigaVisualizzata(const AppuntamentoDovuto& appuntamento);
// client|action|general date|
QString RigaChiave(const AppuntamentoDovuto& appuntamento);
// The text cut or filled with spaces to exactly `larghezza` characters.
QString TestoFisso(const QString& testo, int larghezza);
