// Both databases of a workspace in a temporary folder, opened through the adapter.
#pragma once

#include <QString>

#include "app/globali.h"
#include "support/sqlfile.h"
#include "support/tempdir.h"

class TestWorkspace {
public:
    // Creates VisiteDV.mdb and WorkDV.mdb from the schema and opens them into `globali`.
    TestWorkspace();

    TestFolder folder;
    QString visitePath;
    QString workPath;
    Globali globali;

    // Direct SQL on each file (for set-up and checks).
    SqlFile& visite() { return *visite_; }
    SqlFile& work() { return *work_; }

    // Adds an appointment; `data` is a day serial.
    void aggiungiAppuntamento(const QVariant& cliente, double data, const QVariant& azione,
                              const QVariant& allarme, const QVariant& cancellato = "N",
                              const QVariant& stato = "A", const QVariant& note = {},
                              const QVariant& causa = {}, const QVariant& documento = {});

private:
    std::unique_ptr<SqlFile> visite_;
    std::unique_ptr<SqlFile> work_;
};
