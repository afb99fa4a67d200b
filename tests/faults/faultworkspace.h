// A workspace (Gestar.ini and both databases) for one fault-injection run, copied from a model.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <ostream>

#include "app/sessione.h"
#include "support/fakes.h"
#include "support/tempdir.h"

// Readable rows in the failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

class FaultWorkspace {
public:
    // A workspace with a few due reminders, others not yet due, and a reminder table left by
    // an earlier rebuild that no longer matches the appointment book.
    FaultWorkspace();
    // A copy of the model's two database files; its own Gestar.ini, globals and platform fakes.
    explicit FaultWorkspace(const FaultWorkspace& model);
    FaultWorkspace& operator=(const FaultWorkspace&) = delete;

    // The program's own connections to both files, as the start-up opens them.
    void openDatabases();
    // Drops them, as the program's shutdown does.
    void closeDatabases();
    // Whether each open connection of the program can begin a transaction: none is left open.
    bool connectionsIdle();

    // The whole tables, in key order.
    QStringList promemoria() const;
    QStringList appuntamenti() const;
    // Keys "client|action" of the reminders due at the fake clock's moment.
    QStringList dueKeys() const;
    // Keys of the reminders marked as handed over.
    QStringList handedOverKeys() const;
    // Keys of every hand-over recorded by the fake launcher.
    QStringList launchedKeys() const;

    TestFolder folder;
    QString visitePath;
    QString workPath;
    Sessione sessione;
    FakePlatform platform;
    PlatformServices services = platform.services();

private:
    void writeIni();
    void seed();
};
