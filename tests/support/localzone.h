// The process's local time zone set for one test, and the one before given back.
#pragma once

#include <QByteArray>
#include <optional>

class LocalZone {
public:
    // `zone` as TZ takes it ("Europe/Rome"); Qt's LocalTime follows it at once.
    explicit LocalZone(const char* zone);
    ~LocalZone();
    LocalZone(const LocalZone&) = delete;
    LocalZone& operator=(const LocalZone&) = delete;

private:
    std::optional<QByteArray> before_;  // nothing: TZ was not set
};
