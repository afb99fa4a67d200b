// The reminder key's conversions of the values the list window hands over.
#include "reminder/chiavepromemoria.h"

#include <gtest/gtest.h>

#include <QDateTime>

#include "util/dateserial.h"
#include "util/testi.h"

namespace {

struct ClienteCase {
    const char* name;
    QVariant value;
    qint32 expected;
};

class ClienteDaTest : public ::testing::TestWithParam<ClienteCase> {};

TEST_P(ClienteDaTest, ConvertsToA32BitCode) {
    EXPECT_EQ(ChiavePromemoria::clienteDa(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ClienteDaTest,
    ::testing::Values(ClienteCase{"Text", QString("1234"), 1234},
                      ClienteCase{"PaddedText", QString(" 77 "), 77},
                      ClienteCase{"Negative", QString("-5"), -5},
                      ClienteCase{"HalfToEven", QString("2,5"), 2}, ClienteCase{"Number", 42.0, 42},
                      ClienteCase{"Largest", QString("2147483647"), 2147483647}),
    [](const auto& info) { return std::string(info.param.name); });

struct RejectCase {
    const char* name;
    QVariant value;
};

class ClienteRejectedTest : public ::testing::TestWithParam<RejectCase> {};

TEST_P(ClienteRejectedTest, Throws) {
    EXPECT_THROW(ChiavePromemoria::clienteDa(GetParam().value), ConversionError);
}

INSTANTIATE_TEST_SUITE_P(Values, ClienteRejectedTest,
                         ::testing::Values(RejectCase{"Null", QVariant()},
                                           RejectCase{"Word", QString("ROSSI")},
                                           RejectCase{"Empty", QString("")},
                                           RejectCase{"Overflow", QString("2147483648")}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DataDa, GeneralDateTextComesBackToTheSecond) {
    const QDateTime moment(QDate(2026, 12, 6), QTime(9, 5, 7));
    const double serial = dateserial::fromDateTime(moment);
    EXPECT_TRUE(
        dateserial::sameSecond(ChiavePromemoria::dataDa(testi::generalDateText(serial)), serial));
    EXPECT_DOUBLE_EQ(ChiavePromemoria::dataDa(QString("06/12/2026")), 46362.0);
    EXPECT_DOUBLE_EQ(ChiavePromemoria::dataDa(QVariant(moment)), serial);
}

TEST(DataDa, RejectsWhatIsNoDate) {
    EXPECT_THROW(ChiavePromemoria::dataDa(QString("31/02/2026")), ConversionError);
    EXPECT_THROW(ChiavePromemoria::dataDa(QString("VIS")), ConversionError);
    EXPECT_THROW(ChiavePromemoria::dataDa(QVariant()), ConversionError);
}

TEST(AzioneDa, KeepsTheTextAndRejectsNull) {
    EXPECT_EQ(ChiavePromemoria::azioneDa(QString(" VIS")), " VIS");
    EXPECT_EQ(ChiavePromemoria::azioneDa(QString("")), "");
    EXPECT_EQ(ChiavePromemoria::azioneDa(12), "12");
    EXPECT_THROW(ChiavePromemoria::azioneDa(QVariant()), ConversionError);
}

}  // namespace
