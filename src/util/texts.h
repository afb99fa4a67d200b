// Text forms of numbers and date-times in the regional conventions, and number rounding.
#pragma once

#include <QString>
#include <optional>

#include "util/conversionerror.h"

namespace texts {

// The text without leading and trailing spaces (tabs and other blanks stay).
QString trimSpaces(const QString& text);

// Number to text: up to 15 significant digits, the decimal separator, no grouping,
// no trailing zeros, exponent form for very large or small magnitudes (1,2E+15).
QString numberText(double value);
// Text to number in the regional number format; nothing when it is not a number.
std::optional<double> parseNumber(const QString& text);

// General date text: "dd/MM/yyyy HH:mm:ss", the time left out at exactly midnight and the
// date left out when the whole part is 0.
QString generalDateText(double serial);
// Date text (day/month/year with an optional H:mm or H:mm:ss) to serial; throws ConversionError.
double parseDateText(const QString& text);

// The on-screen patterns of the program. Every date text covers the years 100 to 9999; a
// serial beyond them (NaN and infinities too) throws ConversionError.
// Throws ConversionError for a moment the date texts cannot write (beyond the calendar).
void requireInCalendar(double serial);
QString ddmmyyhhnn(double serial);    // "dd/mm/yy hh:mm"
QString ddmmyy(double serial);        // "dd/mm/yy"
QString hhnn(double serial);          // "hh:nn"
QString ddmmhhnn(double serial);      // "dd/mm hh:nn"
QString weekdayUpper(double serial);  // Italian weekday name in capitals (VENERDÌ)

// Nearest whole number, halves to the even neighbour.
double roundHalfEven(double value);
// The value written out with the format "0.0000" and read back.
double roundFourDecimals(double value);

}  // namespace texts
