// Wall-clock moments awaited by the kernel, and told through the event loop.
#include "platform/timerfdwalltimer.h"

#include <sys/timerfd.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <cstdint>
#include <system_error>

namespace {

[[noreturn]] void fail(const char* call) {
    throw std::system_error(errno, std::generic_category(), call);
}

}  // namespace

TimerfdWallTimer::TimerfdWallTimer(std::function<void()> onTimeout,
                                   std::function<void()> onClockSet)
    : fd_(timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC)),
      onTimeout_(std::move(onTimeout)),
      onClockSet_(std::move(onClockSet)) {
    if (fd_ < 0) fail("timerfd_create");
    notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [this] { read(); });
}

TimerfdWallTimer::~TimerfdWallTimer() {
    notifier_.reset();
    ::close(fd_);
}

void TimerfdWallTimer::start(Instant moment) {
    arm(moment);
}

void TimerfdWallTimer::stop() {
    arm(std::nullopt);
}

// An absolute timer on the wall clock: the kernel fires it once the clock shows the moment,
// however it got there (a step, a suspend), and at once when it already has.
void TimerfdWallTimer::arm(std::optional<Instant> moment) {
    itimerspec value{};
    int flags = 0;
    if (moment) {
        const std::int64_t ms = moment->time_since_epoch().count();
        // A zero value would disarm it; any moment before the epoch has passed as well.
        value.it_value.tv_sec = ms > 0 ? static_cast<time_t>(ms / 1000) : 0;
        value.it_value.tv_nsec = ms > 0 ? static_cast<long>(ms % 1000) * 1000000L : 1;
        flags = TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET;
    }
    if (timerfd_settime(fd_, flags, &value, nullptr) != 0) fail("timerfd_settime");
    moment_ = moment;
}

void TimerfdWallTimer::read() {
    std::uint64_t expirations = 0;
    const ssize_t got = ::read(fd_, &expirations, sizeof expirations);
    if (got == static_cast<ssize_t>(sizeof expirations)) {
        moment_.reset();
        if (onTimeout_) onTimeout_();
    } else if (got < 0 && errno == ECANCELED) {
        // The clock was set; the kernel drops an expiry it had not told yet. The same moment
        // is armed again (at once when passed), and the owner decides whether it still holds.
        arm(moment_);
        if (onClockSet_) onClockSet_();
    }
    // Anything else (EAGAIN after a stop) tells nothing.
}
