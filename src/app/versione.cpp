// The version, set by the build on this file alone so that a new commit recompiles nothing else.
#include "app/versione.h"

QString VersioneScadex() {
    return QStringLiteral(SCADEX_VERSION);
}
