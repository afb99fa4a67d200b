// Day serials to and from wall-clock date-times.
#include "util/dateserial.h"

#include <cmath>

namespace dateserial {

namespace {

constexpr double kMsecsPerDay = 86400000.0;

QDate epoch() {
    return QDate(1899, 12, 30);
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
    const double whole = std::trunc(serial);
    qint64 msecs = std::llround(std::fabs(serial - whole) * kMsecsPerDay);
    QDate date = epoch().addDays(static_cast<qint64>(whole));
    if (msecs >= static_cast<qint64>(kMsecsPerDay)) {
        msecs -= static_cast<qint64>(kMsecsPerDay);
        date = date.addDays(1);
    }
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(static_cast<int>(msecs)));
}

qint64 dayNumber(const QDate& date) {
    return epoch().daysTo(date);
}

bool sameSecond(double a, double b) {
    return std::fabs(a - b) < 0.5 / 86400.0;
}

}  // namespace dateserial
