// Text forms of numbers and date-times, day serials and rounding.
#include "util/texts.h"

#include <gtest/gtest.h>

#include <limits>

#include "support/casenames.h"
#include "util/dateserial.h"
#include "util/regionalformats.h"

namespace {

double serial(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0, int ms = 0) {
    return dateserial::fromDateTime(QDateTime(QDate(y, m, d), QTime(hh, mm, ss, ms)));
}

struct NumberTextCase {
    double value;
    const char* expected;
};

class NumberTextTest : public ::testing::TestWithParam<NumberTextCase> {};

TEST_P(NumberTextTest, FifteenDigitsDecimalComma) {
    EXPECT_EQ(texts::numberText(GetParam().value), QString(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Values, NumberTextTest,
    ::testing::Values(NumberTextCase{1439.0 / 60, "23,9833333333333"}, NumberTextCase{1.5, "1,5"},
                      NumberTextCase{0, "0"}, NumberTextCase{-0.0, "0"}, NumberTextCase{60, "60"},
                      NumberTextCase{-12.25, "-12,25"}, NumberTextCase{1.2e15, "1,2E+15"},
                      NumberTextCase{123456789012345.0, "123456789012345"},
                      NumberTextCase{0.0001, "0,0001"}, NumberTextCase{0.00001, "1E-05"},
                      NumberTextCase{0.1 + 0.2, "0,3"}),
    (CaseNames{"FifteenDigits", "DecimalComma", "Zero", "NegativeZero", "Whole", "Negative",
               "LargeExponent", "FifteenWholeDigits", "SmallFraction", "SmallExponent",
               "BinaryNoise"}));

TEST(NumberText, RoundTripsThroughParse) {
    for (double value : {1439.0 / 60, 46362.395867, -0.0208, 1.2e15}) {
        EXPECT_NEAR(*texts::parseNumber(texts::numberText(value)), value, std::abs(value) * 1e-14);
    }
}

struct DateTextCase {
    double serial;
    const char* expected;
};

class GeneralDateTextTest : public ::testing::TestWithParam<DateTextCase> {};

TEST_P(GeneralDateTextTest, ItalianGeneralDate) {
    EXPECT_EQ(texts::generalDateText(GetParam().serial), QString(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Values, GeneralDateTextTest,
    ::testing::Values(DateTextCase{46362, "06/12/2026"},
                      DateTextCase{serial(2026, 12, 6, 9, 5), "06/12/2026 09:05:00"},
                      DateTextCase{serial(2026, 12, 6, 9, 30, 2, 900), "06/12/2026 09:30:03"},
                      DateTextCase{serial(2026, 12, 6, 23, 59, 59, 700), "07/12/2026 00:00:00"},
                      DateTextCase{0.25, "06:00:00"}, DateTextCase{0, "00:00:00"},
                      DateTextCase{-1.25, "29/12/1899 06:00:00"}),
    (CaseNames{"Midnight", "Time", "RoundsToTheSecond", "RoundsIntoTheNextDay", "TimeOnly",
               "DayZero", "BeforeDayZero"}));

struct BeyondCase {
    const char* name;
    double serial;
};

class BeyondTheCalendarTest : public ::testing::TestWithParam<BeyondCase> {};

// A field may hold any number: outside the years 100 to 9999 there is no date text.
TEST_P(BeyondTheCalendarTest, IsAConversionError) {
    const double serial = GetParam().serial;
    EXPECT_THROW(texts::generalDateText(serial), ConversionError);
    EXPECT_THROW(texts::ddmmyyhhnn(serial), ConversionError);
    EXPECT_THROW(texts::weekdayUpper(serial), ConversionError);
}

INSTANTIATE_TEST_SUITE_P(
    Serials, BeyondTheCalendarTest,
    ::testing::Values(BeyondCase{"NotANumber", std::numeric_limits<double>::quiet_NaN()},
                      BeyondCase{"Infinite", -std::numeric_limits<double>::infinity()},
                      BeyondCase{"Huge", 1e300}, BeyondCase{"HugeNegative", -1e300},
                      BeyondCase{"Year10000", 2958466},
                      BeyondCase{"RoundedIntoYear10000", 2958465.999999},
                      BeyondCase{"Year99", -657435}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GeneralDateText, CoversTheYears100To9999) {
    EXPECT_EQ(texts::generalDateText(-657434), "01/01/0100");
    EXPECT_EQ(texts::generalDateText(2958465.5), "31/12/9999 12:00:00");
    EXPECT_THROW(texts::parseDateText("31/12/0099"), ConversionError);
    EXPECT_DOUBLE_EQ(texts::parseDateText("01/01/0100"), -657434);
}

TEST(ParseDateText, ReadsBackTheGeneralDateToTheSecond) {
    const double moment = serial(2026, 12, 6, 9, 30, 2, 900);
    const double back = texts::parseDateText(texts::generalDateText(moment));
    EXPECT_TRUE(dateserial::sameSecond(back, serial(2026, 12, 6, 9, 30, 3)));
}

TEST(ParseDateText, AcceptsShortFormsAndAFullStopInTheTime) {
    EXPECT_DOUBLE_EQ(texts::parseDateText("6/12/26"), 46362);
    EXPECT_DOUBLE_EQ(texts::parseDateText("06/12/2026 10.30"), serial(2026, 12, 6, 10, 30));
    EXPECT_DOUBLE_EQ(texts::parseDateText(" 06/12/2026 9:05 "), serial(2026, 12, 6, 9, 5));
    // The pivot of two-digit years, on both sides.
    EXPECT_DOUBLE_EQ(texts::parseDateText("1/1/29"), serial(2029, 1, 1, 0, 0));
    EXPECT_DOUBLE_EQ(texts::parseDateText("1/1/30"), serial(1930, 1, 1, 0, 0));
}

TEST(Patterns, ScreenForms) {
    const double moment = serial(2024, 3, 15, 9, 0);
    EXPECT_EQ(texts::ddmmyyhhnn(serial(2026, 12, 6, 9, 5)), "06/12/26 09:05");
    EXPECT_EQ(texts::ddmmyy(moment), "15/03/24");
    EXPECT_EQ(texts::hhnn(moment), "09:00");
    EXPECT_EQ(texts::ddmmhhnn(moment), "15/03 09:00");
    EXPECT_EQ(texts::weekdayUpper(moment), QString::fromUtf8("VENERDÌ"));
    // The seconds are rounded before the minutes are shown.
    EXPECT_EQ(texts::hhnn(serial(2024, 3, 15, 9, 59, 59, 600)), "10:00");
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(texts::roundHalfEven(2.5), 2);
    EXPECT_EQ(texts::roundHalfEven(3.5), 4);
    EXPECT_EQ(texts::roundHalfEven(-2.5), -2);
    EXPECT_EQ(texts::roundHalfEven(2.6), 3);
}

struct FourDecimalsCase {
    double value;
    double expected;
};

class FourDecimalsTest : public ::testing::TestWithParam<FourDecimalsCase> {};

TEST_P(FourDecimalsTest, RoundsHalfAwayFromZero) {
    EXPECT_EQ(texts::roundFourDecimals(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, FourDecimalsTest,
    ::testing::Values(FourDecimalsCase{30.0 / 1440, 0.0208}, FourDecimalsCase{60.0 / 1440, 0.0417},
                      FourDecimalsCase{90.0 / 1440, 0.0625}, FourDecimalsCase{1440.0 / 1440, 1.0},
                      FourDecimalsCase{0.03125, 0.0313}, FourDecimalsCase{-0.03125, -0.0313},
                      FourDecimalsCase{0.99996, 1.0}, FourDecimalsCase{0.00004, 0.0},
                      FourDecimalsCase{0.00015, 0.0002}, FourDecimalsCase{-0.00015, -0.0002},
                      FourDecimalsCase{1234.56785, 1234.5679}, FourDecimalsCase{2.00005, 2.0001},
                      FourDecimalsCase{2.00004999, 2.0}, FourDecimalsCase{1e12 + 0.00015, 1e12}),
    (CaseNames{"HalfHour", "Hour", "HourAndAHalf", "Day", "HalfUp", "NegativeHalfUp", "UpToOne",
               "DownToZero", "SmallHalf", "NegativeSmallHalf", "Large", "HalfAtFive", "BelowHalf",
               "BeyondPrecision"}));

TEST(DateSerial, RoundTripsToTheSecond) {
    const QDateTime moment(QDate(2026, 12, 6), QTime(10, 0, 0));
    EXPECT_NEAR(dateserial::fromDateTime(moment), 46362.416667, 1e-6);
    EXPECT_EQ(dateserial::toDateTime(dateserial::fromDateTime(moment)), moment);
    const QDateTime early(QDate(1899, 12, 29), QTime(6, 0));
    EXPECT_DOUBLE_EQ(dateserial::fromDateTime(early), -1.25);
    EXPECT_EQ(dateserial::toDateTime(-1.25), early);
}

TEST(DateSerial, SameSecondWithinHalfASecond) {
    const double moment = serial(2026, 12, 6, 10, 0);
    EXPECT_TRUE(dateserial::sameSecond(moment, moment + 0.4 / 86400));
    EXPECT_FALSE(dateserial::sameSecond(moment, moment + 0.6 / 86400));
}

TEST(Regional, DecimalPointConventionWritesAPoint) {
    ScopedRegionalFormats formats(RegionalFormats::decimalPoint());
    EXPECT_EQ(texts::numberText(1.5), "1.5");
    EXPECT_EQ(texts::roundFourDecimals(30.0 / 1440), 0.0208);
}

}  // namespace
