// Polls while another connection takes a lock on the work database at every step in turn.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "db/database.h"
#include "db/lockwait.h"
#include "scan/scansione.h"
#include "support/engineworkspace.h"
#include "support/fakes.h"
#include "support/hookeddatabase.h"
#include "support/testscansione.h"

namespace {

using namespace std::chrono_literals;

constexpr double kOggi = 46362;  // 6 December 2026

enum class Lock { Exclusive, Write };

struct LockCase {
    Engine engine;
    Lock lock;
    int atOperation;  // the poll's database operation before which the lock is taken
};

std::string lockName(const ::testing::TestParamInfo<LockCase>& info) {
    return engineName(info.param.engine) +
           (info.param.lock == Lock::Exclusive ? "ExclusiveLockAt" : "WriteLockAt") +
           std::to_string(info.param.atOperation);
}

// The other process: holds the lock it could take until released.
class OtherWriter {
public:
    // An exclusive lock keeps readers out too (on the server: the whole reminder table);
    // a write lock only other writers (on the server: the rows written).
    OtherWriter(Engine engine, const QString& path, Lock lock) : database_(db::open(path)) {
        database_->setBusyTimeout(0ms);
        const bool sqlite = engine == Engine::Sqlite;
        try {
            if (lock == Lock::Exclusive) {
                database_->execute(sqlite ? QStringLiteral("BEGIN EXCLUSIVE")
                                          : QStringLiteral("BEGIN"));
                if (!sqlite)
                    database_->execute(
                        QStringLiteral("LOCK TABLE Promemoria IN ACCESS EXCLUSIVE MODE"));
            } else {
                database_->execute(sqlite ? QStringLiteral("BEGIN IMMEDIATE")
                                          : QStringLiteral("BEGIN"));
                database_->execute(QStringLiteral("UPDATE Clienti SET CliRagsoc = 'host'"));
                database_->execute(QStringLiteral("UPDATE Promemoria SET PmDocumento = 'host'"));
            }
        } catch (const db::DbError&) {
            // The poll holds a lock that keeps this one out: the other process waits.
        }
    }

    // A rollback answered before the connection closes: a server would otherwise release the
    // locks only once it notices the connection gone, a moment later.
    ~OtherWriter() {
        try {
            database_->execute(QStringLiteral("ROLLBACK"));
        } catch (const db::DbError&) {
            // Nothing was begun.
        }
    }

private:
    std::unique_ptr<db::Database> database_;
};

class LockDuringPoll : public ::testing::TestWithParam<LockCase> {
protected:
    LockDuringPoll() : ws(GetParam().engine) {
        platform.clock.moment = QDateTime(QDate(2026, 12, 6), QTime(10, 0));
        ws.work().exec("INSERT INTO Promemoria VALUES (1, ?, 'VIS', ?, ' ', ' ')",
                       {kOggi + 0.5, kOggi});
        ws.work().exec("INSERT INTO Promemoria VALUES (2, ?, 'TEL', ?, ' ', ' ')",
                       {kOggi + 0.5, kOggi});
        ws.work().exec("INSERT INTO Clienti VALUES (1, 'ROSSI', '')");
        auto work = std::move(ws.workDb);
        work->setBusyTimeout(100ms);
        ws.workDb = std::make_unique<HookedDatabase>(std::move(work), [this](const char*) {
            if (firstPoll && operations++ == GetParam().atOperation)
                other = std::make_unique<OtherWriter>(ws.engine, ws.workPath, GetParam().lock);
        });
        scansione = makeScansione(*ws.visiteDb, *ws.workDb, ws.fileIni, platform);
    }

    // Whether a third connection can write to the work database without waiting.
    bool othersCanWrite() {
        auto third = db::open(ws.workPath);
        third->setBusyTimeout(0ms);
        try {
            third->execute(QStringLiteral("UPDATE Promemoria SET PmDocumento = 'libero'"));
            return true;
        } catch (const db::DbError&) {
            return false;
        }
    }

    FakePlatform platform;
    EngineWorkspace ws;
    std::unique_ptr<Scansione> scansione;  // on the hooked databases
    bool firstPoll = true;
    int operations = 0;
    std::unique_ptr<OtherWriter> other;
};

TEST_P(LockDuringPoll, LeavesNoLockAndTheNextPollHandsOverEachReminderOnce) {
    scansione->controllaPromemoria();
    firstPoll = false;
    other.reset();
    EXPECT_TRUE(othersCanWrite()) << "the poll left a transaction open";
    scansione->controllaPromemoria();
    EXPECT_TRUE(othersCanWrite());
    QStringList consegnati;
    for (const LaunchRecord& launch : platform.launcher.launches)
        consegnati.append(launch.clientAndAction());
    consegnati.sort();
    EXPECT_EQ(consegnati, (QStringList{"1|VIS", "2|TEL"}));
    EXPECT_EQ(ws.work().value("SELECT count(*) FROM Promemoria WHERE PmWait = 'S'").toInt(), 2);
}

std::vector<LockCase> lockCases() {
    std::vector<LockCase> cases;
    for (const Engine engine : testedEngines())
        for (const Lock lock : {Lock::Exclusive, Lock::Write})
            for (int at = 0; at < 11; ++at) cases.push_back({engine, lock, at});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryStep, LockDuringPoll, ::testing::ValuesIn(lockCases()), lockName);

}  // namespace

namespace {

// How long each database operation of a poll or a rebuild waits for another writer's lock.
class LockWaits : public ::testing::Test {
protected:
    LockWaits() {
        platform.clock.moment = QDateTime(QDate(2026, 12, 6), QTime(10, 0));
        ws.addAppointment(1, kOggi + 0.5, "VIS", 900);
        ws.addAppointment(2, kOggi + 0.5, "TEL", 900);
        hook(ws.workDb);
        hook(ws.visiteDb);
        scansione = makeScansione(*ws.visiteDb, *ws.workDb, ws.fileIni, platform);
        platform.yielder.onYield = [this] {
            yieldWaits.append(ws.workDb->busyTimeout());
            yieldWaits.append(ws.visiteDb->busyTimeout());
        };
    }

    void hook(std::unique_ptr<db::Database>& database) {
        db::Database* inner = database.get();
        database = std::make_unique<HookedDatabase>(
            std::move(database),
            [this, inner](const char*) { operationWaits.append(inner->busyTimeout()); });
    }

    static QList<std::chrono::milliseconds> only(std::chrono::milliseconds wait) { return {wait}; }
    static QList<std::chrono::milliseconds> distinct(QList<std::chrono::milliseconds> waits) {
        waits.erase(std::unique(waits.begin(), waits.end()), waits.end());
        return waits;
    }

    FakePlatform platform;
    EngineWorkspace ws{Engine::Sqlite};
    std::unique_ptr<Scansione> scansione;  // on the hooked databases
    QList<std::chrono::milliseconds> operationWaits;
    QList<std::chrono::milliseconds> yieldWaits;
};

TEST_F(LockWaits, PollsAndTheirRebuildsWaitBrieflyAndTheOperatorsEventsLong) {
    scansione->richiediSelezione();
    for (int poll = 1; poll <= 15; ++poll) scansione->controllaPromemoria();
    EXPECT_EQ(platform.launcher.launches.size(), 2);
    EXPECT_EQ(distinct(operationWaits), only(db::kBriefLockWait));
    EXPECT_EQ(distinct(yieldWaits), only(db::kDefaultBusyTimeout));
    EXPECT_EQ(ws.workDb->busyTimeout(), db::kDefaultBusyTimeout);
    EXPECT_EQ(ws.visiteDb->busyTimeout(), db::kDefaultBusyTimeout);
}

TEST_F(LockWaits, TheStartUpRebuildWaitsLongSinceNothingTriesItAgain) {
    scansione->SelezionaAppuntamenti();
    EXPECT_EQ(distinct(operationWaits), only(db::kDefaultBusyTimeout));
}

}  // namespace

namespace {

// The host holds the book alone while a reminder already in the table falls due: the rebuild
// fails on the lock, and the hand-over still goes through from the table as it stands.
class LockOnTheBook : public ::testing::TestWithParam<Engine> {};

TEST_P(LockOnTheBook, HoldsNoHandOverBack) {
    EngineWorkspace ws(GetParam());
    FakePlatform platform;
    platform.clock.moment = QDateTime(QDate(2026, 12, 6), QTime(10, 0));
    ws.addAppointment(1, kOggi + 0.5, "VIS", 900);
    const auto scansione = makeScansione(*ws.visiteDb, *ws.workDb, ws.fileIni, platform);
    scansione->SelezionaAppuntamenti();
    const auto host = db::open(ws.visitePath);
    host->setBusyTimeout(0ms);
    const bool sqlite = GetParam() == Engine::Sqlite;
    host->execute(sqlite ? QStringLiteral("BEGIN EXCLUSIVE") : QStringLiteral("BEGIN"));
    if (!sqlite) host->execute(QStringLiteral("LOCK TABLE Appuntamenti IN ACCESS EXCLUSIVE MODE"));
    scansione->richiediSelezione();  // fails on the lock: to be tried again
    platform.clock.moment.setTime(QTime(10, 30));
    scansione->controllaPromemoria();
    host->execute(QStringLiteral("ROLLBACK"));
    ASSERT_EQ(platform.launcher.launches.size(), 1);
    EXPECT_EQ(platform.launcher.launches.at(0).clientAndAction(), "1|VIS");
}

INSTANTIATE_TEST_SUITE_P(Engines, LockOnTheBook, ::testing::ValuesIn(testedEngines()),
                         EngineNamer());

}  // namespace
