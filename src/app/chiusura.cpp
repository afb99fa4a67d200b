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

int CopiaNonRisponde(Notifier& notifiche) {
    const QString titolo = QStringLiteral("SCADEX È GIÀ IN ESECUZIONE MA NON RISPONDE");
    std::fprintf(stderr, "%s\n", qUtf8Printable(titolo));
    notifiche.notify(NotificationKind::Critical, titolo,
                     QStringLiteral("Chiudere la copia bloccata e riavviare SCADEX."));
    notifiche.waitForDelivery(kAttesaNotificaMs);
    return EXIT_FAILURE;
}

void TerminaAvvioFallito(Sessione& sessione, const QString& causa, const QString& dettaglio,
                         Notifier& notifiche) {
    // The engine's text may run over several lines, as libpq's does: the line stays one.
    const QString riga =
        dettaglio.isEmpty() ? causa : causa + QStringLiteral(" (") + dettaglio.simplified() + u')';
    std::fprintf(stderr, "SCADEX NON AVVIATO: %s\n", qUtf8Printable(riga));
    notifiche.notify(NotificationKind::Critical, QStringLiteral("SCADEX NON AVVIATO"), causa);
    notifiche.waitForDelivery(kAttesaNotificaMs);
    termina(sessione, EXIT_FAILURE);
}
