// The way from SCADEX to its alert program's running copy, when there is one.
#pragma once

#include <QByteArray>
#include <QList>
#include <QRect>

#include "reminder/messaggi.h"

class CopyMessenger;

class CanaleAvviso {
public:
    // The copy of the alert program that shows this set-up's reminders (`fileIni`).
    CanaleAvviso(CopyMessenger& copie, const QString& fileIni);

    // The reminder table has been written anew: the alert window drops the cards and snoozes
    // of reminders answered or no longer due.
    void tabellaCambiata() { invia(messaggi::Rileggi{}); }
    // SCADEX ends, and with it every snooze and the alert window.
    void fine() { invia(messaggi::Fine{}); }
    // Where SCADEX's open windows are, for the alert window to keep clear of them; told only
    // when they differ from the last told, or when `sempre`.
    void aree(const QList<QRect>& finestre, bool sempre = false);

private:
    void invia(const messaggi::PerAvviso& messaggio);

    CopyMessenger& copie_;
    QByteArray postazione_;
    std::optional<QList<QRect>> areeDette_;
};
