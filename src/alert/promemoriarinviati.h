// The reminders the operator has put off, each until its snooze ends.
#pragma once

#include <QList>
#include <QObject>
#include <chrono>

#include "alert/avviso.h"

class PromemoriaRinviati : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Puts `avvisi` off for `durata`; then they come back through `ritornati`.
    void rinvia(const QList<Avviso>& avvisi, std::chrono::milliseconds durata);

    // Called for every reminder handed over: true when its appointment is put off, and then
    // the reminder is kept, as handed over last, to come back once when its snooze ends.
    bool trattiene(const Avviso& avviso);

    // Some reminder is still put off.
    bool inCorso() const { return !gruppi_.isEmpty(); }

signals:
    // A snooze has ended: its reminders, each once, in the order they were put off.
    void ritornati(const QList<Avviso>& avvisi);

private:
    struct Gruppo {
        quint64 numero;
        QList<Avviso> avvisi;
    };
    void concludi(quint64 numero);

    QList<Gruppo> gruppi_;
    quint64 ultimo_ = 0;
};
