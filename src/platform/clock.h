// The wall clock, its current moment and timers for its moments, behind an interface for tests.
#pragma once

#include <QDateTime>
#include <functional>
#include <memory>

#include "platform/walltimer.h"

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    // A timer for moments of this clock: `onTimeout` runs from the event loop once the clock
    // shows the moment armed; `onClockSet` when the clock is set (a step, a resume) while the
    // timer is armed: it keeps its moment, and its owner may arm another.
    virtual std::unique_ptr<WallTimer> timer(std::function<void()> onTimeout,
                                             std::function<void()> onClockSet) const = 0;
};

class SystemClock : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    std::unique_ptr<WallTimer> timer(std::function<void()> onTimeout,
                                     std::function<void()> onClockSet) const override;
};
