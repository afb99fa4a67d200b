// Shutdown.
#include "app/chiusura.h"

#include <cstdio>
#include <cstdlib>

#include "app/globali.h"
#include "platform/notifier.h"

void RilasciaDatabase(Globali& globali) noexcept {
    // Closing a connection never throws; an unset one is simply skipped.
    globali.DbVisite.reset();
    globali.DbWork.reset();
}

namespace {

constexpr int kAttesaNotificaMs = 2000;

[[noreturn]] void termina(Globali& globali, int stato) {
    RilasciaDatabase(globali);
    std::fflush(nullptr);
    std::_Exit(stato);
}

}  // namespace

void ChiudiProgramma(Globali& globali) {
    termina(globali, EXIT_SUCCESS);
}

void TerminaAvvioFallito(Globali& globali, const QString& causa, Notifier& notifiche) {
    std::fprintf(stderr, "SCADEX NON AVVIATO: %s\n", qUtf8Printable(causa));
    notifiche.notifica(QStringLiteral("SCADEX NON AVVIATO"), causa);
    notifiche.attendiConsegna(kAttesaNotificaMs);
    termina(globali, EXIT_FAILURE);
}
