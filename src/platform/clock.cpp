// The system clock's timers.
#include "platform/clock.h"

#include "platform/timerfdwalltimer.h"

std::unique_ptr<WallTimer> SystemClock::timer(std::function<void()> onTimeout,
                                              std::function<void()> onClockSet) const {
    return std::make_unique<TimerfdWallTimer>(std::move(onTimeout), std::move(onClockSet));
}
