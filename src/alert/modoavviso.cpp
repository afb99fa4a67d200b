// Choosing between the alert window and the printed line.
#include "alert/modoavviso.h"

#include <QProcessEnvironment>
#include <QStringList>

namespace {

bool senzaSchermo(const QProcessEnvironment& ambiente) {
    const QString piattaforma =
        ambiente.value(QStringLiteral("QT_QPA_PLATFORM")).section(QLatin1Char(':'), 0, 0);
    if (!piattaforma.isEmpty()) {
        return QStringList{QStringLiteral("offscreen"), QStringLiteral("minimal")}.contains(
            piattaforma);
    }
    return ambiente.value(QStringLiteral("DISPLAY")).isEmpty() &&
           ambiente.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty();
}

}  // namespace

ModoAvviso ModoAvviso::daAmbiente(const QProcessEnvironment& ambiente) {
    const bool eco = !ambiente.value(QStringLiteral("SCADEX_ALERT_ECHO")).isEmpty();
    return {.finestra = eco || !senzaSchermo(ambiente), .eco = eco};
}
