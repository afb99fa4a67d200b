// The scanning of a test's databases.
#include "support/testscansione.h"

#include "support/fakes.h"

std::unique_ptr<Scansione> makeScansione(db::Database& visite, db::Database& work,
                                         const QString& fileIni, FakePlatform& platform,
                                         Scansione::AlTermineSelezione alTermineSelezione) {
    return std::make_unique<Scansione>(visite, work, fileIni, platform.clock, platform.yielder,
                                       platform.launcher, std::move(alTermineSelezione));
}
