// Text forms of numbers and date-times, and number rounding.
#include "util/texts.h"

#include <QRegularExpression>
#include <cfenv>
#include <charconv>
#include <cmath>
#include <iterator>

#include "util/dateserial.h"
#include "util/regionalformats.h"

namespace texts {

namespace {

constexpr int kSecondsPerDay = 86400;

// A date-time serial split into its calendar date and its time rounded to the second.
struct DateAndSeconds {
    QDate date;
    int seconds = 0;        // 0 .. 86399
    bool wholeDay = false;  // the serial has no fraction at all
};

// The calendar of the date texts: 1 January 100 (serial -657434) to 31 December 9999.
constexpr double kBeforeFirstDay = -657435;
constexpr double kAfterLastDay = 2958466;
constexpr int kFirstYear = 100;
constexpr int kLastYear = 9999;

[[noreturn]] void beyondTheCalendar() {
    throw ConversionError("date-time beyond the years 100 to 9999");
}

// Throws ConversionError for a serial outside the calendar (NaN and infinities included).
DateAndSeconds splitSerial(double serial) {
    if (!(serial > kBeforeFirstDay && serial < kAfterLastDay)) beyondTheCalendar();
    const double whole = std::trunc(serial);
    const double fraction = std::fabs(serial - whole);
    DateAndSeconds parts;
    parts.date = QDate(1899, 12, 30).addDays(static_cast<qint64>(whole));
    parts.seconds = static_cast<int>(std::lround(fraction * kSecondsPerDay));
    parts.wholeDay = fraction == 0.0;
    if (parts.seconds >= kSecondsPerDay) {
        parts.seconds -= kSecondsPerDay;
        parts.date = parts.date.addDays(1);
        if (parts.date.year() > kLastYear) beyondTheCalendar();
    }
    return parts;
}

// Appends `value` with `digits` digits, leading zeros included (formatting sits on the
// rebuild's hot path, so no QString::arg here).
void appendDigits(QString& text, int value, int digits) {
    QChar buffer[4];
    for (int i = digits - 1; i >= 0; --i, value /= 10) buffer[i] = QChar(u'0' + value % 10);
    text.append(buffer, digits);
}

void appendDate(QString& text, const QDate& date, bool fullYear) {
    const QChar sep = RegionalFormats::current().dateSeparator;
    appendDigits(text, date.day(), 2);
    text += sep;
    appendDigits(text, date.month(), 2);
    text += sep;
    appendDigits(text, fullYear ? date.year() : date.year() % 100, fullYear ? 4 : 2);
}

void appendTime(QString& text, int seconds, bool withSeconds) {
    const QChar sep = RegionalFormats::current().timeSeparator;
    appendDigits(text, seconds / 3600, 2);
    text += sep;
    appendDigits(text, seconds / 60 % 60, 2);
    if (withSeconds) {
        text += sep;
        appendDigits(text, seconds % 60, 2);
    }
}

// Decimal digits of a value rounded to 15 significant digits: value = 0.d1d2... × 10^exponent.
struct Decimal {
    bool negative = false;
    QString digits;  // without leading zeros; empty for zero
    int exponent = 0;
};

Decimal fifteenDigits(double value) {
    // to_chars, unlike printf, never writes the decimal mark of the process's locale: under an
    // Italian desktop that mark is ',' and would end up among the digits.
    char buffer[40];
    const std::to_chars_result written = std::to_chars(std::begin(buffer), std::end(buffer), value,
                                                       std::chars_format::scientific, 14);
    const QString text = QString::fromLatin1(buffer, written.ptr - buffer);
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    Decimal decimal;
    decimal.negative = text.startsWith(QLatin1Char('-'));
    QString mantissa = text.left(e).remove(QLatin1Char('-')).remove(QLatin1Char('.'));
    decimal.exponent = text.mid(e + 1).toInt() + 1;
    while (mantissa.endsWith(QLatin1Char('0'))) mantissa.chop(1);
    decimal.digits = mantissa;
    if (mantissa.isEmpty()) decimal.negative = false;
    return decimal;
}

// Plain "123,45" form of a Decimal; `decimals` of -1 keeps every digit.
QString plainText(const Decimal& decimal) {
    if (decimal.digits.isEmpty()) return QStringLiteral("0");
    QString integer;
    QString fraction;
    if (decimal.exponent <= 0) {
        integer = QStringLiteral("0");
        fraction = QString(-decimal.exponent, QLatin1Char('0')) + decimal.digits;
    } else if (decimal.exponent >= decimal.digits.size()) {
        integer =
            decimal.digits + QString(decimal.exponent - decimal.digits.size(), QLatin1Char('0'));
    } else {
        integer = decimal.digits.left(decimal.exponent);
        fraction = decimal.digits.mid(decimal.exponent);
    }
    QString text = decimal.negative ? QStringLiteral("-") : QString();
    text += integer;
    if (!fraction.isEmpty()) text += RegionalFormats::current().decimalSeparator + fraction;
    return text;
}

QString exponentText(const Decimal& decimal) {
    QString text = decimal.negative ? QStringLiteral("-") : QString();
    text += decimal.digits.left(1);
    if (decimal.digits.size() > 1) {
        text += RegionalFormats::current().decimalSeparator + decimal.digits.mid(1);
    }
    const int exponent = decimal.exponent - 1;
    text += exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+");
    appendDigits(text, std::abs(exponent), 2);
    return text;
}

// Rounds the digit string half away from zero, keeping `decimals` places after the point.
Decimal roundedTo(Decimal decimal, int decimals) {
    const int keep = decimal.exponent + decimals;  // digits that survive
    if (keep >= decimal.digits.size()) return decimal;
    if (keep < 0) return {};
    const bool roundUp = decimal.digits.at(keep) >= QLatin1Char('5');
    QString kept = decimal.digits.left(keep);
    if (roundUp) {
        int i = static_cast<int>(kept.size()) - 1;
        while (i >= 0 && kept.at(i) == QLatin1Char('9')) kept[i--] = QLatin1Char('0');
        if (i >= 0) {
            kept[i] = QChar(kept.at(i).unicode() + 1);
        } else {
            kept.prepend(QLatin1Char('1'));
            ++decimal.exponent;
        }
    }
    while (kept.endsWith(QLatin1Char('0'))) kept.chop(1);
    decimal.digits = kept;
    if (kept.isEmpty()) decimal.negative = false;
    return decimal;
}

QString escaped(QChar c) {
    return QRegularExpression::escape(QString(c));
}

}  // namespace

QString trimSpaces(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' ')) ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' ')) --last;
    return text.mid(first, last - first);
}

QString numberText(double value) {
    if (!std::isfinite(value)) return QString::number(value);
    const Decimal decimal = fifteenDigits(value);
    if (decimal.digits.isEmpty()) return QStringLiteral("0");
    // Like printf's %G with 15 digits: exponent form outside 1E-4 .. 1E+15.
    const int exponent = decimal.exponent - 1;
    if (exponent < -4 || exponent >= 15) return exponentText(decimal);
    return plainText(decimal);
}

std::optional<double> parseNumber(const QString& text) {
    const RegionalFormats& formats = RegionalFormats::current();
    const QString group = escaped(formats.thousandsSeparator);
    const QString point = escaped(formats.decimalSeparator);
    const QRegularExpression pattern(
        QStringLiteral("^[ \\t]*([+-]?)[ \\t]*((?:\\d|%1)*)(?:%2(\\d*))?(?:[eE]([+-]?\\d+))?"
                       "[ \\t]*([+-]?)[ \\t]*$")
            .arg(group, point));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) return std::nullopt;
    QString integer = match.captured(2);
    integer.remove(formats.thousandsSeparator);
    const QString fraction = match.captured(3);
    if (integer.isEmpty() && fraction.isEmpty()) return std::nullopt;
    const QString leadingSign = match.captured(1);
    const QString trailingSign = match.captured(5);
    if (!leadingSign.isEmpty() && !trailingSign.isEmpty()) return std::nullopt;
    QString plain =
        leadingSign + trailingSign + (integer.isEmpty() ? QStringLiteral("0") : integer);
    if (!fraction.isEmpty()) plain += QLatin1Char('.') + fraction;
    if (match.hasCaptured(4)) plain += QLatin1Char('e') + match.captured(4);
    bool ok = false;
    const double value = plain.toDouble(&ok);
    if (!ok) return std::nullopt;
    return value;
}

QString generalDateText(double serial) {
    const DateAndSeconds parts = splitSerial(serial);
    QString text;
    text.reserve(19);
    const bool withDate = parts.date != QDate(1899, 12, 30);
    if (withDate) appendDate(text, parts.date, true);
    if (withDate && parts.wholeDay) return text;
    if (withDate) text += QLatin1Char(' ');
    appendTime(text, parts.seconds, true);
    return text;
}

double parseDateText(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*(\\d{1,2})/(\\d{1,2})/"
                       "(\\d{1,4})(?:\\s+(\\d{1,2})[:.](\\d{1,2})(?::(\\d{1,2}))?)?\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) throw ConversionError("not a date: " + text.toStdString());
    int year = match.captured(3).toInt();
    if (match.captured(3).size() <= 2) year += year < 30 ? 2000 : 1900;
    const QDate date(year, match.captured(2).toInt(), match.captured(1).toInt());
    const QTime time(match.captured(4).toInt(), match.captured(5).toInt(),
                     match.captured(6).toInt());
    if (!date.isValid() || !time.isValid() || year < kFirstYear) {
        throw ConversionError("not a date: " + text.toStdString());
    }
    return dateserial::fromDateTime(QDateTime(date, time));
}

void requireInCalendar(double serial) {
    splitSerial(serial);
}

QString ddmmyyhhnn(double serial) {
    const DateAndSeconds parts = splitSerial(serial);
    QString text;
    text.reserve(14);
    appendDate(text, parts.date, false);
    text += QLatin1Char(' ');
    appendTime(text, parts.seconds, false);
    return text;
}

QString ddmmyy(double serial) {
    QString text;
    appendDate(text, splitSerial(serial).date, false);
    return text;
}

QString hhnn(double serial) {
    QString text;
    appendTime(text, splitSerial(serial).seconds, false);
    return text;
}

QString ddmmhhnn(double serial) {
    const DateAndSeconds parts = splitSerial(serial);
    QString text;
    appendDigits(text, parts.date.day(), 2);
    text += RegionalFormats::current().dateSeparator;
    appendDigits(text, parts.date.month(), 2);
    text += QLatin1Char(' ');
    appendTime(text, parts.seconds, false);
    return text;
}

QString weekdayUpper(double serial) {
    const QDate date = splitSerial(serial).date;
    return RegionalFormats::current()
        .names.dayName(date.dayOfWeek(), QLocale::LongFormat)
        .toUpper();
}

double roundHalfEven(double value) {
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(previous);
    return rounded;
}

double roundFourDecimals(double value) {
    if (!std::isfinite(value)) return value;
    // Away from a half, rounding the binary value gives what rounding its 15-digit decimal form
    // gives, and k / 10000 is the double nearest to the decimal text read back. Near a half
    // (and for huge values) only the decimal form decides.
    const double scaled = std::fabs(value) * 10000;
    const double distanceFromHalf = std::fabs(scaled - std::floor(scaled) - 0.5);
    if (scaled < 1e10 && distanceFromHalf > 1e-6) {
        return std::copysign(std::round(scaled), value) / 10000;
    }
    const Decimal rounded = roundedTo(fifteenDigits(value), 4);
    QString text = plainText(rounded);
    text.replace(RegionalFormats::current().decimalSeparator, QLatin1Char('.'));
    return text.toDouble();
}

}  // namespace texts
