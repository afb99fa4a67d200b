// The diagnostic line through Qt's message handler.
#include "util/diagnostic.h"

#include <QtGlobal>

void logDiagnostic(const QString& what, const std::exception& error) {
    qWarning("SCADEX: %s: %s", qUtf8Printable(what), error.what());
}

void logDiagnostic(const QString& what) {
    qWarning("SCADEX: %s", qUtf8Printable(what));
}
