// The scanning of a test's databases.
#include "support/scansioneprova.h"

#include "app/sessione.h"
#include "support/fakes.h"

std::unique_ptr<Scansione> scansioneDiProva(Sessione& sessione, FakePlatform& platform,
                                            Scansione::AlTermineSelezione alTermineSelezione) {
    return std::make_unique<Scansione>(*sessione.DbVisite, *sessione.DbWork, sessione.FileIni,
                                       platform.clock, platform.yielder, platform.launcher,
                                       std::move(alTermineSelezione));
}
