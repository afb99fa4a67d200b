// Seeks on the index primaria: text keys without regard to case, date-times to the second.
#include <gtest/gtest.h>

#include <QDateTime>
#include <tuple>

#include "db/schema.h"
#include "schemafiles.h"
#include "util/dateserial.h"

namespace {

using db::SeekComparison;
using schemafiles::Reminder;

// 6 December 2026 at 10:00.
const double kDieci = dateserial::fromDateTime(QDateTime(QDate(2026, 12, 6), QTime(10, 0)));
constexpr double kSecond = 1.0 / 86400.0;
constexpr double kHour = 1.0 / 24.0;

struct SeekCase {
    const char* name;
    SeekComparison comparison;
    QVariantList keys;
    QString expectedTag;  // empty: no match
};

void PrintTo(const SeekCase& seek, std::ostream* out) {
    *out << seek.name;
}

// Six reminders: three of client 5 (two at one moment), one each of clients 7, 12 and -3.
class ReminderTable : public ::testing::Test {
protected:
    explicit ReminderTable(Engine engine) {
        database = schemafiles::openUnsynced(engine, schemafiles::createWork(engine, folder));
        schemafiles::addReminders(*database, {
                                                 {5, kDieci, "VIS", "cinque-vis"},
                                                 {5, kDieci, "cons", "cinque-cons"},
                                                 {5, kDieci + kHour, "TEL", "cinque-tel"},
                                                 {7, kDieci, "Vis", "sette"},
                                                 {-3, kDieci, "VIS", "negativo"},
                                                 {12, kDieci + 1, "VIS", "dodici"},
                                             });
    }

    std::unique_ptr<db::TableCursor> indexedTable() {
        auto table = database->openTable(db::schema::kPromemoria);
        table->selectIndex(db::schema::kPrimaria);
        return table;
    }

    TestFolder folder;
    std::unique_ptr<db::Database> database;
};

class SeekTest : public ReminderTable,
                 public ::testing::WithParamInterface<std::tuple<Engine, SeekCase>> {
protected:
    SeekTest() : ReminderTable(std::get<0>(GetParam())) {}
};

class ReminderTableTest : public ReminderTable, public ::testing::WithParamInterface<Engine> {
protected:
    ReminderTableTest() : ReminderTable(GetParam()) {}
};

TEST_P(SeekTest, StandsOnTheFirstMatchingRowInKeyOrder) {
    const SeekCase& c = std::get<1>(GetParam());
    auto table = indexedTable();
    table->seek(c.comparison, c.keys);
    if (c.expectedTag.isEmpty()) {
        EXPECT_TRUE(table->noMatch());
        EXPECT_TRUE(table->eof());
        EXPECT_THROW(table->field(db::schema::kPmDocumento), db::DbError);
    } else {
        ASSERT_FALSE(table->noMatch());
        EXPECT_EQ(table->field(db::schema::kPmDocumento).toString(), c.expectedTag);
    }
}

const QDateTime kDieciDate(QDate(2026, 12, 6), QTime(10, 0));

INSTANTIATE_TEST_SUITE_P(
    Primaria, SeekTest,
    ::testing::Combine(
        ::testing::ValuesIn(testedEngines()),
        ::testing::Values(
            SeekCase{"TextKeyIgnoresCase", SeekComparison::Equal, {5, kDieci, "vis"}, "cinque-vis"},
            SeekCase{"MixedCaseStoredKey", SeekComparison::Equal, {7, kDieci, "VIS"}, "sette"},
            SeekCase{"DateLaterByMilliseconds",
                     SeekComparison::Equal,
                     {5, kDieci + 0.3 * kSecond, "VIS"},
                     "cinque-vis"},
            SeekCase{"DateEarlierByMilliseconds",
                     SeekComparison::Equal,
                     {5, kDieci - 0.4 * kSecond, "VIS"},
                     "cinque-vis"},
            SeekCase{"DateOffByMoreThanHalfASecond",
                     SeekComparison::Equal,
                     {5, kDieci + 0.6 * kSecond, "VIS"},
                     ""},
            SeekCase{"ShorterTextIsAnotherKey", SeekComparison::Equal, {5, kDieci, "VI"}, ""},
            SeekCase{"ShortClientAndDateValue",
                     SeekComparison::Equal,
                     {QVariant::fromValue<qint16>(5), kDieciDate, "CONS"},
                     "cinque-cons"},
            SeekCase{"ClientAsDouble", SeekComparison::Equal, {7.0, kDieci, "vis"}, "sette"},
            SeekCase{"ClientOnly", SeekComparison::Equal, {7}, "sette"},
            SeekCase{"ClientOnlyMissing", SeekComparison::Equal, {6}, ""},
            SeekCase{"FromZeroSkipsNegativeClients",
                     SeekComparison::GreaterOrEqual,
                     {QVariant::fromValue<qint16>(0)},
                     "cinque-cons"},
            SeekCase{
                "TextBetweenKeys", SeekComparison::GreaterOrEqual, {5, kDieci, "d"}, "cinque-vis"},
            SeekCase{"SameSecondCountsAsEqual",
                     SeekComparison::GreaterOrEqual,
                     {5, kDieci + 0.4 * kSecond},
                     "cinque-cons"},
            SeekCase{"PastTheLastActionOfAMoment",
                     SeekComparison::GreaterOrEqual,
                     {5, kDieci, "W"},
                     "cinque-tel"},
            SeekCase{"PastTheClientsLastMoment",
                     SeekComparison::GreaterOrEqual,
                     {5, kDieci + 2 * kHour},
                     "sette"},
            SeekCase{"PastTheLastClient", SeekComparison::GreaterOrEqual, {13}, ""})),
    [](const auto& info) {
        return engineName(std::get<0>(info.param)) + std::get<1>(info.param).name;
    });

TEST_P(ReminderTableTest, AWalkAfterASeekFollowsKeyOrder) {
    auto table = indexedTable();
    table->seek(SeekComparison::GreaterOrEqual, {0});
    QStringList tags;
    for (; !table->eof(); table->moveNext())
        tags.append(table->field(db::schema::kPmDocumento).toString());
    EXPECT_EQ(tags, QStringList({"cinque-cons", "cinque-vis", "cinque-tel", "sette", "dodici"}));
}

TEST_P(ReminderTableTest, RejectsSeeksItCannotMeanAnythingBy) {
    auto table = database->openTable(db::schema::kPromemoria);
    EXPECT_THROW(table->seek(SeekComparison::Equal, {5}), db::DbError) << "no index selected";
    table->selectIndex(db::schema::kPrimaria);
    EXPECT_THROW(table->seek(SeekComparison::Equal, {}), db::DbError);
    EXPECT_THROW(table->seek(SeekComparison::Equal, {5, kDieci, "VIS", 1}), db::DbError);
    EXPECT_THROW(table->seek(SeekComparison::Equal, {5, "domani", "VIS"}), db::DbError);
}

INSTANTIATE_TEST_SUITE_P(Engines, ReminderTableTest, ::testing::ValuesIn(testedEngines()),
                         EngineNamer());

}  // namespace
