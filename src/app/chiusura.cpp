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

// A start that must not run beside the copy it found: one line on standard error and one
// notification, which the operator sees also at login.
int nonAvviato(Notifier& notifiche, const QString& titolo, const QString& testo) {
    std::fprintf(stderr, "%s\n", qUtf8Printable(titolo));
    notifiche.notify(NotificationKind::Critical, titolo, testo);
    notifiche.waitForDelivery(kAttesaNotificaMs);
    return EXIT_FAILURE;
}

}  // namespace

void ChiudiProgramma(Sessione& sessione) {
    termina(sessione, EXIT_SUCCESS);
}

int CopiaNonRisponde(Notifier& notifiche) {
    return nonAvviato(notifiche, QStringLiteral("SCADEX È GIÀ IN ESECUZIONE MA NON RISPONDE"),
                      QStringLiteral("Chiudere la copia bloccata e riavviare SCADEX."));
}

int CopiaAltrove(Notifier& notifiche) {
    return nonAvviato(notifiche, QStringLiteral("SCADEX È GIÀ IN ESECUZIONE PER QUESTO ARCHIVIO"),
                      QStringLiteral("Un'altra copia, su questa o su un'altra postazione, tiene "
                                     "bloccato l'archivio di lavoro: questa non si avvia."));
}

void TerminaAvvioFallito(Sessione& sessione, const QString& causa, const QString& dettaglio,
                         Notifier& notifiche) {
    // The operator's line is Italian alone; the engine's own words, in its language, follow on a
    // line of their own for whoever looks after the program (one line, as libpq's may run over
    // several).
    std::fprintf(stderr, "SCADEX NON AVVIATO: %s\n", qUtf8Printable(causa));
    if (!dettaglio.isEmpty())
        std::fprintf(stderr, "  messaggio del database: %s\n",
                     qUtf8Printable(dettaglio.simplified()));
    notifiche.notify(NotificationKind::Critical, QStringLiteral("SCADEX NON AVVIATO"), causa);
    notifiche.waitForDelivery(kAttesaNotificaMs);
    termina(sessione, EXIT_FAILURE);
}
