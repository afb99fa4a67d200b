// Swapping TZ for a test.
#include "support/localzone.h"

#include <QtGlobal>
#include <ctime>

LocalZone::LocalZone(const char* zone) {
    if (qEnvironmentVariableIsSet("TZ")) before_ = qgetenv("TZ");
    qputenv("TZ", zone);
    tzset();
}

LocalZone::~LocalZone() {
    if (before_)
        qputenv("TZ", *before_);
    else
        qunsetenv("TZ");
    tzset();
}
