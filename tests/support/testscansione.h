// The scanning of a test's databases, as they stand when it is made (wrapped ones included).
#pragma once

#include <memory>

#include "scan/scansione.h"

struct FakePlatform;

// A Scansione over `visite`, `work` and the configuration path `fileIni`, with the fake clock,
// yielder and launcher. Make it after wrapping a database: it keeps references to them.
std::unique_ptr<Scansione> makeScansione(
    db::Database& visite, db::Database& work, const QString& fileIni, FakePlatform& platform,
    Scansione::AlTermineSelezione alTermineSelezione = [](const EsitoSelezione&) {});
