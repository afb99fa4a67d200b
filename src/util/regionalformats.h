// The regional conventions the program formats and reads with (Italian by default).
#pragma once

#include <QChar>
#include <QLocale>

struct RegionalFormats {
    QChar decimalSeparator = QLatin1Char(',');
    QChar thousandsSeparator = QLatin1Char('.');
    QChar dateSeparator = QLatin1Char('/');
    QChar timeSeparator = QLatin1Char(':');
    // Weekday and month names.
    QLocale names = QLocale(QLocale::Italian, QLocale::Italy);

    static RegionalFormats italian();
    // A decimal-point convention (tests of the key filter and the number forms).
    static RegionalFormats decimalPoint();

    // The conventions in force.
    static const RegionalFormats& current();
};

// Puts other conventions in force for its lifetime (tests).
class ScopedRegionalFormats {
public:
    explicit ScopedRegionalFormats(const RegionalFormats& formats);
    ~ScopedRegionalFormats();
    ScopedRegionalFormats(const ScopedRegionalFormats&) = delete;
    ScopedRegionalFormats& operator=(const ScopedRegionalFormats&) = delete;

private:
    RegionalFormats previous_;
};
