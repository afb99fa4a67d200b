// The process's local time zone set for one test, and the one before given back.
#pragma once

#include <QtGlobal>
#include <ctime>
#include <optional>

class LocalZone {
public:
    // `zone` as TZ takes it ("Europe/Rome"); Qt's LocalTime follows it at once.
    explicit LocalZone(const char* zone) {
        if (qEnvironmentVariableIsSet("TZ")) before_ = qgetenv("TZ");
        qputenv("TZ", zone);
        tzset();
    }
    ~LocalZone() {
        if (before_) qputenv("TZ", *before_);
        if (!before_) qunsetenv("TZ");
        tzset();
    }

private:
    std::optional<QByteArray> before_;  // nothing: TZ was not set
};
