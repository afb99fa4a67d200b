// Day serials: days since 30 December 1899 00:00 as a double, the fraction being the time of day.
#pragma once

#include <QDate>
#include <QDateTime>

#include "util/instant.h"

namespace dateserial {

// Local wall-clock date-time to serial (no time-zone arithmetic).
double fromDateTime(const QDateTime& moment);
// Serial to local wall-clock date-time, rounded to the millisecond.
QDateTime toDateTime(double serial);
// Whole days since 30 December 1899 of a date.
qint64 dayNumber(const QDate& date);
// Two serials naming the same second (within half a second of each other).
bool sameSecond(double a, double b);

// The moment at which the local wall clock (Qt's LocalTime, the TZ rules) shows `serial`. A
// time in a gap (clocks going forward) gives the first moment after the gap, as calendars do;
// a time shown twice (clocks going back), its first showing.
Instant toInstant(double serial);
// The first moment from `from` on at which the wall clock shows `serial` or later: `from`
// itself when it already does. Within a repeated hour whose first showing of `serial` has
// passed while the wall clock has not reached it again, its second showing.
Instant nextInstant(double serial, Instant from);
// The first moment of `date`, as QDate::startOfDay() gives it.
Instant dayStart(const QDate& date);

}  // namespace dateserial
