// Telling the alert program; nothing happens when none runs.
#include "ui/main/canaleavviso.h"

#include "app/impostazioni.h"
#include "platform/copymessenger.h"

CanaleAvviso::CanaleAvviso(CopyMessenger& copie, const QString& fileIni)
    : copie_(copie), postazione_(impostazioni::postazione(fileIni)) {}

void CanaleAvviso::aree(const QList<QRect>& finestre, bool sempre) {
    if (!sempre && areeDette_ == finestre) return;
    areeDette_ = finestre;
    invia(messaggi::Aree{finestre});
}

void CanaleAvviso::invia(const messaggi::PerAvviso& messaggio) {
    copie_.tell(kIstanzaAvviso, postazione_, messaggi::componi(messaggio));
}
