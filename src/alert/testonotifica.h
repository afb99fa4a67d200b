// The text of the desktop notification of one batch of reminders.
#pragma once

#include <QList>
#include <QString>

#include "alert/avvisodescritto.h"

struct TestoNotifica {
    QString titolo;  // "SCADEX: 3 PROMEMORIA IN ATTESA"
    QString testo;   // one line per reminder of the batch, newest first

    // `lotto`: the reminders taken in together, in order of arrival; `inAttesa`: how many the
    // window lists now, which the title gives.
    static TestoNotifica perLotto(const QList<AvvisoDescritto>& lotto, int inAttesa);
};
