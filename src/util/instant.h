// A moment on the clock, whatever the wall clock shows there: milliseconds since the Unix epoch.
#pragma once

#include <QDateTime>
#include <chrono>

using Instant = std::chrono::sys_time<std::chrono::milliseconds>;

inline Instant instantOf(const QDateTime& moment) {
    return Instant(std::chrono::milliseconds(moment.toMSecsSinceEpoch()));
}
