// What the reminder window shows of one reminder, worked out at load.
#pragma once

#include <QColor>
#include <QString>

#include "reminder/preavviso.h"

struct VistaPromemoria {
    QString codiceCliente;       // lbCliCod
    QString descrizioneCliente;  // lbCliDes
    QString codiceAzione;        // lbAziCod
    QString descrizioneAzione;   // LbAziDes: the appointment's note, else the action's description
    QColor coloreAzione = Qt::black;
    QString dataAppuntamento;  // lbScadDD
    QString oraAppuntamento;   // lbScadHH
    QString quantita;          // Txt(1)
    UnitaAllarme unita = UnitaAllarme::Minuti;
    QString sveglia;    // lbSveglia: weekday over date and time of the alarm
    QString documento;  // lbDocumento
    QString titolo;     // window caption

    // The document controls are shown only for a name that is not blank.
    bool documentoPresente() const { return !documento.trimmed().isEmpty(); }
};
