// Walks over Promemoria in key order while rows change under them.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>

#include "db/schema.h"
#include "schemafiles.h"

namespace {

using db::SeekComparison;
using db::TableCursor;
using schemafiles::Reminder;
namespace schema = db::schema;

constexpr double kGiorno = 46362.0;
constexpr double kHour = 1.0 / 24.0;

// clients × moments × actions reminders, inserted in reverse so that the engine's own row
// order differs from the key order; returned in key order.
QList<Reminder> grid(int clients, int moments, int actions) {
    QList<Reminder> rows;
    for (int c = 0; c < clients; ++c)
        for (int m = 0; m < moments; ++m)
            for (int a = 0; a < actions; ++a)
                rows.append({c, kGiorno + m * kHour,
                             QStringLiteral("A%1").arg(a, 2, 10, QChar('0')),
                             QStringLiteral("%1-%2-%3").arg(c).arg(m).arg(a)});
    return rows;
}

QStringList tagsOf(const QList<Reminder>& rows) {
    QStringList tags;
    for (const Reminder& row : rows) tags.append(row.tag);
    return tags;
}

QList<Reminder> reversed(QList<Reminder> rows) {
    std::reverse(rows.begin(), rows.end());
    return rows;
}

class WalkFixture : public ::testing::Test {
protected:
    explicit WalkFixture(Engine engine) : engine_(engine) {}

    void fill(const QList<Reminder>& rows) {
        database = schemafiles::openUnsynced(engine_, schemafiles::createWork(engine_, folder));
        schemafiles::addReminders(*database, reversed(rows));
    }

    std::unique_ptr<TableCursor> indexedTable() {
        auto table = database->openTable(schema::kPromemoria);
        table->selectIndex(schema::kPrimaria);
        return table;
    }

    // Seeks another cursor onto the row the walk stands on.
    std::unique_ptr<TableCursor> otherCursorOn(const TableCursor& walk) {
        auto other = indexedTable();
        other->seek(SeekComparison::Equal,
                    {walk.field(schema::kPmCliente), walk.field(schema::kPmData),
                     walk.field(schema::kPmAzione)});
        EXPECT_FALSE(other->noMatch());
        return other;
    }

    // Walks from client 0 on, calling `atRow` on each row, and returns the tags visited.
    QStringList walk(const std::function<void(TableCursor&)>& atRow) {
        auto table = indexedTable();
        table->seek(SeekComparison::GreaterOrEqual, {0});
        QStringList visited;
        for (; !table->eof(); table->moveNext()) {
            visited.append(table->field(schema::kPmDocumento).toString());
            atRow(*table);
        }
        return visited;
    }

    Engine engine_;
    TestFolder folder;
    std::unique_ptr<db::Database> database;
};

class WalkTest : public WalkFixture, public ::testing::WithParamInterface<Engine> {
protected:
    WalkTest() : WalkFixture(GetParam()) {}
};

// What the walk does at every row it visits.
enum class Change { MarkHere, DeleteHere, MarkElsewhere, DeleteElsewhere };

class ChangingWalk : public WalkFixture,
                     public ::testing::WithParamInterface<std::tuple<Engine, Change, int>> {
protected:
    ChangingWalk() : WalkFixture(std::get<0>(GetParam())) {}

    void change(TableCursor& walk) {
        switch (std::get<1>(GetParam())) {
            case Change::MarkHere:
                mark(walk);
                break;
            case Change::DeleteHere:
                walk.deleteCurrent();
                break;
            case Change::MarkElsewhere:
                mark(*otherCursorOn(walk));
                break;
            case Change::DeleteElsewhere:
                otherCursorOn(walk)->deleteCurrent();
                break;
        }
    }

    static void mark(TableCursor& table) {
        table.edit();
        table.setField(schema::kPmWait, QStringLiteral("S"));
        table.update();
    }
};

TEST_P(ChangingWalk, VisitsEveryRowOnceInKeyOrder) {
    const QList<Reminder> rows = grid(std::get<2>(GetParam()), 10, 13);
    fill(rows);
    EXPECT_EQ(walk([this](TableCursor& row) { change(row); }), tagsOf(rows));
    const bool deleting = std::get<1>(GetParam()) == Change::DeleteHere ||
                          std::get<1>(GetParam()) == Change::DeleteElsewhere;
    const QString remaining =
        deleting ? QStringLiteral("SELECT count(*) AS n FROM Promemoria")
                 : QStringLiteral("SELECT count(*) AS n FROM Promemoria WHERE PmWait <> 'S'");
    EXPECT_EQ(database->openQuery(remaining)->field(QStringLiteral("n")).toInt(), 0);
}

// 1 client: everything in one batch; 10 clients: 1300 rows over several batches.
std::string changeName(Change change) {
    switch (change) {
        case Change::MarkHere:
            return "MarkHere";
        case Change::DeleteHere:
            return "DeleteHere";
        case Change::MarkElsewhere:
            return "MarkElsewhere";
        case Change::DeleteElsewhere:
            return "DeleteElsewhere";
    }
    return "";
}

INSTANTIATE_TEST_SUITE_P(Changes, ChangingWalk,
                         ::testing::Combine(::testing::ValuesIn(testedEngines()),
                                            ::testing::Values(Change::MarkHere, Change::DeleteHere,
                                                              Change::MarkElsewhere,
                                                              Change::DeleteElsewhere),
                                            ::testing::Values(1, 10)),
                         [](const auto& info) {
                             return engineName(std::get<0>(info.param)) +
                                    changeName(std::get<1>(info.param)) +
                                    std::to_string(std::get<2>(info.param)) + "Clients";
                         });

TEST_P(WalkTest, RowsAddedAheadAreVisitedAndRowsBehindAreNot) {
    fill(grid(3, 2, 2));
    QStringList added;
    const QStringList visited = walk([&](TableCursor& walk) {
        if (walk.field(schema::kPmDocumento) != QStringLiteral("1-0-0")) return;
        schemafiles::addReminders(*database, {{0, kGiorno + 5, "NUOVO", "dietro"},
                                              {1, kGiorno, "B", "avanti"},
                                              {2, kGiorno + 5, "NUOVO", "in-fondo"}});
    });
    EXPECT_EQ(visited,
              QStringList({"0-0-0", "0-0-1", "0-1-0", "0-1-1", "1-0-0", "1-0-1", "avanti", "1-1-0",
                           "1-1-1", "2-0-0", "2-0-1", "2-1-0", "2-1-1", "in-fondo"}));
}

TEST_P(WalkTest, ARebuildInTheMiddleOfAWalkNeitherSkipsNorRepeats) {
    const QList<Reminder> rows = grid(4, 3, 3);
    fill(rows);
    bool rebuilt = false;
    const QStringList visited = walk([&](TableCursor& walk) {
        if (rebuilt || walk.field(schema::kPmDocumento) != QStringLiteral("1-2-0")) return;
        rebuilt = true;
        database->execute(schemafiles::kEmptyPromemoria);
        schemafiles::addReminders(*database, rows);
    });
    EXPECT_EQ(visited, tagsOf(rows));
}

TEST_P(WalkTest, NullKeyPartsSortFirstAndAreWalked) {
    fill({{1, QVariant(), "VIS", "senza-data"},
          {1, kGiorno, QVariant(), "senza-azione"},
          {1, kGiorno, "VIS", "completo"},
          {QVariant(), kGiorno, "VIS", "senza-cliente"}});
    EXPECT_EQ(schemafiles::tagsInKeyOrder(*database),
              QStringList({"senza-cliente", "senza-data", "senza-azione", "completo"}));
    EXPECT_EQ(walk([](TableCursor&) {}), QStringList({"senza-data", "senza-azione", "completo"}));
}

TEST_P(WalkTest, ChangingTheKeyMovesTheRowAndTheWalkGoesOnFromThere) {
    fill(grid(3, 1, 1));
    const QStringList visited = walk([](TableCursor& walk) {
        if (walk.field(schema::kPmDocumento) != QStringLiteral("0-0-0")) return;
        walk.edit();
        walk.setField(schema::kPmCliente, 1);
        walk.setField(schema::kPmAzione, QStringLiteral("B"));
        walk.update();
        EXPECT_EQ(walk.field(schema::kPmCliente).toInt(), 1);
    });
    EXPECT_EQ(visited, QStringList({"0-0-0", "2-0-0"}));
}

INSTANTIATE_TEST_SUITE_P(Engines, WalkTest, ::testing::ValuesIn(testedEngines()), EngineNamer());

}  // namespace
