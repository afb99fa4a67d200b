// The text of the desktop notification of one batch of reminders.
#pragma once

#include <QList>
#include <QString>

#include "alert/avvisodescritto.h"

struct TestoNotifica {
    QString titolo;  // "SCADEX: 3 PROMEMORIA IN ATTESA"
    QString testo;   // one line per reminder of the batch, newest first

    // `lotto`: the reminders taken in together, in order of arrival. The title counts the
    // highest waiting count among them: the starts of one poll may arrive out of order.
    static TestoNotifica perLotto(const QList<AvvisoDescritto>& lotto);
};
