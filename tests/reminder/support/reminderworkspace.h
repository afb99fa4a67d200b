// Both database files of a reminder window in a temporary folder, opened as the program does.
#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <memory>

#include "app/globali.h"
#include "reminder/chiavepromemoria.h"
#include "sideconnection.h"
#include "support/tempdir.h"

// One appointment of the book; its reminder row is written too unless told otherwise.
struct Appointment {
    ChiavePromemoria chiave;
    QVariant allarm = 90.0;
    QVariant note{};
    QVariant causa{};
    QVariant documento{};
    bool withReminder = true;
};

class ReminderWorkspace {
    TestFolder folder_;  // outlives the connections to its files

public:
    ReminderWorkspace();

    void add(const Appointment& appointment);
    void addClient(qint32 code, const QVariant& ragsoc, const QVariant& estesa);
    void addAction(const QString& code, const QVariant& descrizione, const QVariant& colore);

    QVariant appointmentField(const ChiavePromemoria& chiave, const QString& field);
    QVariant reminderField(const ChiavePromemoria& chiave, const QString& field);
    bool reminderExists(const ChiavePromemoria& chiave);

    Globali globali;
    // Other connections to the same files, as the host product or a poll would have.
    std::unique_ptr<SideConnection> visite;
    std::unique_ptr<SideConnection> work;
};

// The key of an appointment on a day at a time.
ChiavePromemoria keyOf(qint32 cliente, const QDateTime& moment, const QString& azione);
