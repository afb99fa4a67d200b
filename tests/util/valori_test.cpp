// ValoreTesto, ValoreNumero and AllineaDestra on fields and entry texts.
#include "util/valori.h"

#include <gtest/gtest.h>

#include <QDateTime>

#include "support/casenames.h"
#include "util/regionalformats.h"
#include "util/texts.h"

namespace {

struct TextCase {
    const char* name;
    QVariant value;
    QString expected;
};

class ValoreTestoTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(ValoreTestoTest, GivesTheTextOrTheDefault) {
    EXPECT_EQ(ValoreTesto(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ValoreTestoTest,
    ::testing::Values(TextCase{"Null", QVariant(), " "},
                      TextCase{"TypedNull", QVariant(QMetaType(QMetaType::QString)), " "},
                      TextCase{"Empty", QString(""), " "},
                      TextCase{"ThreeSpaces", QString("   "), " "},
                      TextCase{"LeadingNul", QString(QChar(0)) + "abc", " "},
                      TextCase{"KeepsOuterSpaces", QString("  ROSSI  "), "  ROSSI  "},
                      TextCase{"Tab", QString("\t"), "\t"}, TextCase{"Double", 23.5, "23,5"},
                      TextCase{"Integer", 1234, "1234"},
                      TextCase{"DateTime", QDateTime(QDate(2026, 12, 6), QTime(9, 5)),
                               "06/12/2026 09:05:00"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ValoreTesto, EmptyOrBlankDefaultStillGivesASpace) {
    EXPECT_EQ(ValoreTesto(QVariant(), ""), " ");
    EXPECT_EQ(ValoreTesto(QVariant(), "  "), " ");
    EXPECT_EQ(ValoreTesto(QString(""), "-"), "-");
}

struct NumberCase {
    const char* name;
    QVariant value;
    double expected;
};

class ValoreNumeroTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(ValoreNumeroTest, ReadsTheNumber) {
    EXPECT_DOUBLE_EQ(ValoreNumero(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ValoreNumeroTest,
    ::testing::Values(
        NumberCase{"Null", QVariant(), 0}, NumberCase{"Empty", QString(""), 0},
        NumberCase{"Blank", QString("   "), 0}, NumberCase{"Word", QString("dieci"), 0},
        NumberCase{"Twelve", QString("12"), 12}, NumberCase{"SingleSlash", QString("1/2"), 0},
        NumberCase{"DecimalComma", QString(" 1,5 "), 1.5},
        NumberCase{"ThousandsStop", QString("1.000,25"), 1000.25},
        NumberCase{"StopIsGrouping", QString("1.5"), 15},
        NumberCase{"TrailingSign", QString("30-"), -30},
        NumberCase{"LeadingSign", QString("-30"), -30},
        NumberCase{"Exponent", QString("1,2E+15"), 1.2e15},
        NumberCase{"TrailingLetters", QString("12abc"), 0},
        NumberCase{"InnerBlank", QString("1 000"), 0}, NumberCase{"TwoSigns", QString("-5-"), 0},
        NumberCase{"DateText", QString("06/12/2026"), 46362},
        NumberCase{"DateTimeText", QString("06/12/2026 10:00:00"), 46362 + 10.0 / 24},
        NumberCase{"DateTimeValue", QDateTime(QDate(2026, 12, 6), QTime(10, 0)), 46362 + 10.0 / 24},
        NumberCase{"Bool", true, -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ValoreNumero, NumericValuesPassExactly) {
    const double value = 46362.395866666666;
    EXPECT_EQ(ValoreNumero(value), value);
    EXPECT_EQ(ValoreNumero(QVariant::fromValue<qint64>(9999999)), 9999999.0);
}

TEST(ValoreNumero, BadDateTextsAreErrors) {
    EXPECT_THROW(ValoreNumero(QString("1/2/x")), std::exception);
    EXPECT_THROW(ValoreNumero(QString("31/02/2026")), std::exception);
    EXPECT_THROW(ValoreNumero(QString("06/12/2026 25:00")), std::exception);
}

TEST(ValoreNumero, DecimalPointConvention) {
    ScopedRegionalFormats formats(RegionalFormats::decimalPoint());
    EXPECT_DOUBLE_EQ(ValoreNumero(QString("1.5")), 1.5);
    EXPECT_DOUBLE_EQ(ValoreNumero(QString("1,000.5")), 1000.5);
}

struct AlignCase {
    QVariant value;
    qint16 width;
    QString expected;
};

class AllineaDestraTest : public ::testing::TestWithParam<AlignCase> {};

TEST_P(AllineaDestraTest, PadsOnTheLeftAndNeverCuts) {
    EXPECT_EQ(AllineaDestra(GetParam().value, GetParam().width), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, AllineaDestraTest,
                         ::testing::Values(AlignCase{1234, 7, "   1234"},
                                           AlignCase{12345678, 7, "12345678"},
                                           AlignCase{-12, 7, "    -12"},
                                           AlignCase{QString(" 42 "), 4, "  42"},
                                           AlignCase{QString("  "), 7, ""}),
                         (CaseNames{"Padded", "Longer", "Negative", "TextTrimmed", "Blank"}));

TEST(AllineaDestra, NullIsAnError) {
    EXPECT_THROW(AllineaDestra(QVariant(), 7), std::exception);
}

}  // namespace

namespace {

struct LongCase {
    const char* name;
    QVariant value;
    qint32 expected;
};

class InteroLungoTest : public ::testing::TestWithParam<LongCase> {};

TEST_P(InteroLungoTest, RoundsHalvesToEven) {
    EXPECT_EQ(InteroLungo(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, InteroLungoTest,
                         ::testing::Values(LongCase{"Integer", 1234, 1234},
                                           LongCase{"Text", QString(" 1.234 "), 1234},
                                           LongCase{"HalfDown", 2.5, 2}, LongCase{"HalfUp", 3.5, 4},
                                           LongCase{"Negative", QString("-7"), -7}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(InteroLungo, RefusesNullWordsAndOverflow) {
    EXPECT_THROW(InteroLungo(QVariant()), ConversionError);
    EXPECT_THROW(InteroLungo(QString("abc")), ConversionError);
    EXPECT_THROW(InteroLungo(3e9), ConversionError);
    EXPECT_THROW(InteroLungo(QString("")), ConversionError);
}

}  // namespace
