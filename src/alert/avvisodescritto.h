// A reminder with the client's name and the action's description read from the work database.
#pragma once

#include <QString>
#include <optional>

#include "alert/avviso.h"
#include "reminder/ricerche.h"

struct AvvisoDescritto {
    Avviso avviso;
    QString nomeCliente;               // empty when unknown or not looked up
    std::optional<DatiAzione> azione;  // nothing when unknown or not looked up

    QString giorno() const;  // "06/12/2026"
    QString ora() const;     // "10:00"
    // When, who and what: "06/12/2026 10:00 cliente 1234 ROSSI - VIS Visita".
    QString descrizione() const;
    // The one line printed for the reminder where there is no window, e.g.
    // "AVVISO 06/12/2026 10:00 cliente 1234 ROSSI - VIS Visita (in attesa: 3)".
    QString riga() const;
};

// Looks the codes up in the WorkDV.mdb named by the reminder's Gestar.ini. When the
// databases cannot be opened or read the reminder keeps its codes alone: the alert must
// reach the operator all the same.
AvvisoDescritto DescriviAvviso(const Avviso& avviso);
