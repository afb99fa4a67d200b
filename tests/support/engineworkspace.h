// Both databases of a workspace on one engine, opened through the adapter.
#pragma once

#include <QString>
#include <memory>

#include "db/database.h"
#include "support/directsql.h"
#include "support/tempdir.h"
#include "support/testengines.h"

class EngineWorkspace {
public:
    // Creates VisiteDV.mdb and WorkDV.mdb on the engine (SQLite files, or server schemas with
    // their descriptor files) and opens them through the adapter, as the program does.
    explicit EngineWorkspace(Engine engine);

    Engine engine;
    TestFolder folder;
    QString visitePath;
    QString workPath;
    QString fileIni;  // the folder's Gestar.ini, written by the tests that need one
    std::unique_ptr<db::Database> visiteDb;
    std::unique_ptr<db::Database> workDb;

    // Direct SQL on each database (for set-up and checks).
    DirectSql& visite() { return *visite_; }
    DirectSql& work() { return *work_; }

    // Adds an appointment; `date` is a day serial.
    void addAppointment(const QVariant& client, double date, const QVariant& action,
                        const QVariant& lead, const QVariant& deleted = "N",
                        const QVariant& state = "A", const QVariant& note = {},
                        const QVariant& cause = {}, const QVariant& document = {});

private:
    std::unique_ptr<DirectSql> visite_;
    std::unique_ptr<DirectSql> work_;
};
