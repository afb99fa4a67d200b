// A one-shot timer that waits for a moment of the wall clock, not for a distance.
#pragma once

#include <optional>

#include "util/instant.h"

// A distance measured on a monotonic clock misses a wall clock set forward or back, and one
// that stood still through a suspend: this one fires once the wall clock shows its moment.
class WallTimer {
public:
    virtual ~WallTimer() = default;
    // Arms it for `moment`, in place of any moment armed before: it fires once the wall clock
    // has reached it, soon after when it already has.
    virtual void start(Instant moment) = 0;
    virtual void stop() = 0;
    // The moment it waits for; nothing when it is not armed.
    virtual std::optional<Instant> moment() const = 0;
};
