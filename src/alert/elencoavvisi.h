// The reminders one alert window lists, in alarm order, each appointment once.
#pragma once

#include <QList>
#include <optional>

#include "alert/avvisodescritto.h"

class ElencoAvvisi {
public:
    // One reminder listed, with its alarm moment once the reminder table has given it.
    struct Voce {
        AvvisoDescritto descritto;
        std::optional<double> allarme;  // PmAllarm, day serial

        // Where it goes in the list: its alarm, or its appointment until the alarm is known.
        double momento() const { return allarme.value_or(descritto.avviso.data); }
    };
    // Where a reminder taken in is listed.
    struct Posto {
        qsizetype indice;
        bool nuovo;  // the appointment was not listed
    };

    // Lists a reminder at its place; one already listed (the main program hands a reminder over
    // again after each rebuild) is refreshed in place, keeping its alarm.
    Posto aggiungi(const AvvisoDescritto& avviso);
    // The place of the appointment of `avviso`; nothing when it is not listed.
    std::optional<qsizetype> indice(const Avviso& avviso) const;
    // Takes the reminder at `indice` out of the list.
    Avviso togli(qsizetype indice);
    // Empties the list and returns its reminders in its order.
    QList<Avviso> togliTutti();
    // The reminder at `indice` has alarm `allarme`; its place changes only in riordina().
    void fissaAllarme(qsizetype indice, double allarme) { voci_[indice].allarme = allarme; }
    // Puts the list back in alarm order: the former places of the reminders in the new order,
    // or nothing when the order has not changed.
    std::optional<QList<qsizetype>> riordina();

    const QList<Voce>& voci() const { return voci_; }
    // What the window and the notification count: the reminders listed, those the operator
    // can see and work through now.
    int mostrati() const { return static_cast<int>(voci_.size()); }

private:
    QList<Voce> voci_;
};
