// The reminders one alert window lists, newest first, each appointment once.
#pragma once

#include <QList>

#include "alert/avvisodescritto.h"

class ElencoAvvisi {
public:
    // Lists a reminder; one already listed (the main program hands a reminder over again
    // after each rebuild) is refreshed in place. True when the appointment is new.
    bool aggiungi(const AvvisoDescritto& avviso);

    // Empties the list and returns its reminders in order of arrival.
    QList<Avviso> togliTutti();

    const QList<AvvisoDescritto>& avvisi() const { return avvisi_; }
    // The waiting count of the reminder received last.
    int inAttesa() const { return inAttesa_; }

private:
    QList<AvvisoDescritto> avvisi_;
    int inAttesa_ = 0;
};
