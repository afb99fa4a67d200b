// The wall-clock timer on Linux: an absolute CLOCK_REALTIME timerfd.
#pragma once

#include <functional>
#include <memory>

#include "platform/walltimer.h"

class QSocketNotifier;

class TimerfdWallTimer : public WallTimer {
public:
    // `onTimeout` runs from the event loop when the moment comes; `onClockSet` when the wall
    // clock is set, or comes back from a suspend, while it is armed: it still waits for the
    // same moment, and the owner may arm another.
    TimerfdWallTimer(std::function<void()> onTimeout, std::function<void()> onClockSet);
    ~TimerfdWallTimer() override;
    TimerfdWallTimer(const TimerfdWallTimer&) = delete;
    TimerfdWallTimer& operator=(const TimerfdWallTimer&) = delete;

    void start(Instant moment) override;
    void stop() override;
    std::optional<Instant> moment() const override { return moment_; }

private:
    void arm(std::optional<Instant> moment);
    void read();

    int fd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void()> onTimeout_;
    std::function<void()> onClockSet_;
    std::optional<Instant> moment_;
};
