// Day serials to and from wall-clock date-times, and the moments on the clock they name.
#include "util/dateserial.h"

#include <QVarLengthArray>
#include <algorithm>
#include <cmath>

namespace dateserial {

namespace {

constexpr double kMsecsPerDay = 86400000.0;

// Wider than any offset from UTC: the instant showing a wall time lies within it.
constexpr qint64 kMarginMs = 15 * 3600 * 1000;

QDate epoch() {
    return QDate(1899, 12, 30);
}

struct Parts {
    QDate date;
    qint64 msecs;  // since the start of the day
};

Parts parts(double serial) {
    const double whole = std::trunc(serial);
    qint64 msecs = std::llround(std::fabs(serial - whole) * kMsecsPerDay);
    QDate date = epoch().addDays(static_cast<qint64>(whole));
    if (msecs >= static_cast<qint64>(kMsecsPerDay)) {
        msecs -= static_cast<qint64>(kMsecsPerDay);
        date = date.addDays(1);
    }
    return {date, msecs};
}

// A wall-clock reading as milliseconds counted as though it were UTC: readings compare and
// subtract as numbers.
qint64 reading(double serial) {
    const Parts p = parts(serial);
    return QDate(1970, 1, 1).daysTo(p.date) * static_cast<qint64>(kMsecsPerDay) + p.msecs;
}

// What the wall clock shows at an instant (ms since the epoch), read as Qt's LocalTime does.
qint64 readingAt(qint64 instant) {
    return instant +
           QDateTime::fromMSecsSinceEpoch(instant, Qt::LocalTime).offsetFromUtc() * qint64(1000);
}

// The instants at which the wall clock shows `wall`, earliest first: one as a rule, two in a
// repeated hour, none in a gap. Each is the reading less an offset in force nearby.
QVarLengthArray<qint64, 2> instantsShowing(qint64 wall) {
    QVarLengthArray<qint64, 2> instants;
    for (const qint64 nearby : {wall - kMarginMs, wall + kMarginMs}) {
        const qint64 instant = wall - (readingAt(nearby) - nearby);
        if (readingAt(instant) == wall && !instants.contains(instant)) instants.append(instant);
    }
    std::sort(instants.begin(), instants.end());
    return instants;
}

// The first instant at which the wall clock shows `wall` or later: for a reading in a gap,
// the gap's end, found by halving the span in which the readings cross it.
qint64 firstInstantReaching(qint64 wall) {
    qint64 before = wall - kMarginMs;  // reads before `wall`
    qint64 after = wall + kMarginMs;   // reads after it
    while (after - before > 1) {
        const qint64 middle = before + (after - before) / 2;
        (readingAt(middle) >= wall ? after : before) = middle;
    }
    return after;
}

Instant asInstant(qint64 ms) {
    return Instant(std::chrono::milliseconds(ms));
}

}  // namespace

double fromDateTime(const QDateTime& moment) {
    const qint64 days = epoch().daysTo(moment.date());
    const double time = moment.time().msecsSinceStartOfDay() / kMsecsPerDay;
    // Before the epoch the whole part counts down while the time still runs forward:
    // -1.25 is 29/12/1899 06:00.
    return days < 0 ? static_cast<double>(days) - time : static_cast<double>(days) + time;
}

QDateTime toDateTime(double serial) {
    const Parts p = parts(serial);
    return QDateTime(p.date, QTime::fromMSecsSinceStartOfDay(static_cast<int>(p.msecs)));
}

qint64 dayNumber(const QDate& date) {
    return epoch().daysTo(date);
}

bool sameSecond(double a, double b) {
    return std::fabs(a - b) < 0.5 / 86400.0;
}

Instant toInstant(double serial) {
    const qint64 wall = reading(serial);
    const QVarLengthArray<qint64, 2> instants = instantsShowing(wall);
    return asInstant(instants.isEmpty() ? firstInstantReaching(wall) : instants.front());
}

Instant nextInstant(double serial, Instant from) {
    const qint64 wall = reading(serial);
    const qint64 start = from.time_since_epoch().count();
    if (readingAt(start) >= wall) return from;
    for (const qint64 instant : instantsShowing(wall)) {
        if (instant >= start) return asInstant(instant);
    }
    return asInstant(std::max(start, firstInstantReaching(wall)));
}

Instant dayStart(const QDate& date) {
    return toInstant(static_cast<double>(dayNumber(date)));
}

}  // namespace dateserial
