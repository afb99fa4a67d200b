// The reminders the operator has put off, each until its snooze ends.
#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>

#include "alert/avviso.h"

class Clock;

class PromemoriaRinviati : public QObject {
    Q_OBJECT
public:
    // Snoozes end by `orologio`, the wall clock: time spent suspended counts towards them, as
    // it does towards the alarm moments themselves.
    explicit PromemoriaRinviati(const Clock& orologio, QObject* parent = nullptr);

    // Puts `avvisi` off for `durata`; then they come back through `ritornati`.
    void rinvia(const QList<Avviso>& avvisi, std::chrono::milliseconds durata);

    // Called for every reminder handed over: true when its appointment is put off, and then
    // the reminder is kept, as handed over last, to come back once when its snooze ends.
    bool trattiene(const Avviso& avviso);

    // Some reminder is still put off.
    bool inCorso() const { return !gruppi_.isEmpty(); }
    // Every reminder put off, in the order put off.
    QList<Avviso> avvisi() const;
    // Keeps put off only the reminders for which `resta` holds: the others never come back.
    // `resta` sees them in the order avvisi() gives.
    void trattieniSolo(const std::function<bool(const Avviso&)>& resta);
    // Ends every snooze at once, bringing nothing back.
    void annulla();

signals:
    // A snooze has ended: its reminders, each once, in the order they were put off.
    void ritornati(const QList<Avviso>& avvisi);

private:
    struct Gruppo {
        QDateTime fine;
        QList<Avviso> avvisi;
    };
    void concludiScaduti();
    void armaControllo();

    const Clock& orologio_;
    QList<Gruppo> gruppi_;  // in the order put off
    QTimer controllo_;
};
