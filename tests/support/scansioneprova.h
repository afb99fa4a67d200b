// The scanning of a test's databases, as they stand when it is made (wrapped ones included).
#pragma once

#include <memory>

#include "scan/scansione.h"

struct Sessione;
struct FakePlatform;

// A Scansione over the globals' two databases and configuration path, with the fake clock,
// yielder and launcher. Make it after wrapping a database: it keeps references to them.
std::unique_ptr<Scansione> scansioneDiProva(
    Sessione& sessione, FakePlatform& platform,
    Scansione::AlTermineSelezione alTermineSelezione = [](const EsitoSelezione&) {});
