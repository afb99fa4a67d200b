// The diagnostic line through Qt's message handler.
#include "util/diagnostica.h"

#include <QtGlobal>

void Diagnostica(const QString& fatto, const std::exception& errore) {
    qWarning("SCADEX: %s: %s", qUtf8Printable(fatto), errore.what());
}

void Diagnostica(const QString& fatto) {
    qWarning("SCADEX: %s", qUtf8Printable(fatto));
}
