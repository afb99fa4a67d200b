// Both databases of a reminder window on one engine, opened as the program does.
#pragma once

#include <gtest/gtest.h>

#include <QDateTime>
#include <QString>
#include <QVariant>

#include "reminder/chiavepromemoria.h"
#include "support/engineworkspace.h"

// One appointment of the book; its reminder row is written too unless told otherwise.
struct Appointment {
    ChiavePromemoria chiave;
    QVariant allarm = 90.0;
    QVariant note{};
    QVariant causa{};
    QVariant documento{};
    bool withReminder = true;
};

// visite() and work() are other connections to the same databases, as the host product or a
// poll would have.
class ReminderWorkspace : public EngineWorkspace {
public:
    explicit ReminderWorkspace(Engine engine = Engine::Sqlite);

    void add(const Appointment& appointment);
    void addClient(qint32 code, const QVariant& ragsoc, const QVariant& estesa);
    void addAction(const QString& code, const QVariant& descrizione, const QVariant& colore);

    QVariant appointmentField(const ChiavePromemoria& chiave, const QString& field);
    QVariant reminderField(const ChiavePromemoria& chiave, const QString& field);
    bool reminderExists(const ChiavePromemoria& chiave);
};

// A suite run on each engine with a fresh workspace per case; Param is an Engine or an
// (engine, case) pair.
template <typename Param = Engine>
class ReminderTest : public ::testing::TestWithParam<Param> {
protected:
    ReminderWorkspace workspace{engineOf(this->GetParam())};
};

// The key of an appointment on a day at a time.
ChiavePromemoria keyOf(qint32 cliente, const QDateTime& moment, const QString& azione);
