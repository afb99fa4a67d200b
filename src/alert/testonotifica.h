// The text of the desktop notification of one batch of reminders.
#pragma once

#include <QList>
#include <QString>

#include "alert/avvisodescritto.h"

struct TestoNotifica {
    QString titolo;  // "SCADEX: 3 PROMEMORIA NELLA FINESTRA D'AVVISO"
    QString testo;   // one line per reminder of the batch, newest first

    // `lotto`: the new reminders taken in together, in order of arrival; `mostrati`: how many
    // cards the window shows now, which the title gives as the window does.
    static TestoNotifica perLotto(const QList<AvvisoDescritto>& lotto, int mostrati);
};
