// Shutdown.
#include "app/chiusura.h"

#include <cstdio>
#include <cstdlib>

#include "app/sessione.h"
#include "platform/notifier.h"

namespace {

constexpr int kAttesaNotificaMs = 2000;

[[noreturn]] void termina(Sessione& sessione, int stato) {
    sessione.rilasciaDatabase();
    std::fflush(nullptr);
    std::_Exit(stato);
}

}  // namespace

void ChiudiProgramma(Sessione& sessione) {
    termina(sessione, EXIT_SUCCESS);
}

void TerminaAvvioFallito(Sessione& sessione, const QString& causa, Notifier& notifiche) {
    std::fprintf(stderr, "SCADEX NON AVVIATO: %s\n", qUtf8Printable(causa));
    notifiche.notifica(QStringLiteral("SCADEX NON AVVIATO"), causa);
    notifiche.attendiConsegna(kAttesaNotificaMs);
    termina(sessione, EXIT_FAILURE);
}
