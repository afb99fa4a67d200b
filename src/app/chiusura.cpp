// Shutdown.
#include "app/chiusura.h"

#include <cstdio>
#include <cstdlib>

#include "app/globali.h"

void RilasciaDatabase(Globali& globali) noexcept {
    // Closing a connection never throws; an unset one is simply skipped.
    globali.DbVisite.reset();
    globali.DbWork.reset();
}

void ChiudiProgramma(Globali& globali) {
    RilasciaDatabase(globali);
    std::fflush(nullptr);
    std::_Exit(0);
}
