// The scanning of a test's databases.
#include "support/scansioneprova.h"

#include "app/globali.h"
#include "support/fakes.h"

std::unique_ptr<Scansione> scansioneDiProva(Globali& globali, FakePlatform& platform,
                                            Scansione::AlTermineSelezione alTermineSelezione) {
    return std::make_unique<Scansione>(*globali.DbVisite, *globali.DbWork, globali.FileIni,
                                       platform.clock, platform.yielder, platform.launcher,
                                       std::move(alTermineSelezione));
}
