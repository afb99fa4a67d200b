// The reminders one alert window lists, newest first, each appointment once.
#pragma once

#include <QList>
#include <optional>

#include "alert/avvisodescritto.h"

class ElencoAvvisi {
public:
    // Lists a reminder; one already listed (the main program hands a reminder over again
    // after each rebuild) is refreshed in place. Nothing when the appointment is new (it is
    // listed first); otherwise the place of the one refreshed.
    std::optional<qsizetype> aggiungi(const AvvisoDescritto& avviso);

    // Empties the list and returns its reminders in order of arrival.
    QList<Avviso> togliTutti();

    const QList<AvvisoDescritto>& avvisi() const { return avvisi_; }
    // The reminders waiting for the operator: those listed. The window and the notification
    // both give this count, never the waiting count of an argument, which was taken when the
    // poll handed it over and grows stale once the operator answers or puts reminders off.
    int inAttesa() const { return static_cast<int>(avvisi_.size()); }

private:
    QList<AvvisoDescritto> avvisi_;
};
