// Day serials: days since 30 December 1899 00:00 as a double, the fraction being the time of day.
#pragma once

#include <QDate>
#include <QDateTime>

namespace dateserial {

// Local wall-clock date-time to serial (no time-zone arithmetic).
double fromDateTime(const QDateTime& moment);
// Serial to local wall-clock date-time, rounded to the millisecond.
QDateTime toDateTime(double serial);
// Whole days since 30 December 1899 of a date.
qint64 dayNumber(const QDate& date);
// Two serials naming the same second (within half a second of each other).
bool sameSecond(double a, double b);

}  // namespace dateserial
