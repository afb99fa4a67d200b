// Opening databases, statements, snapshots, transactions and the failures they report.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest/QTest>
#include <optional>
#include <tuple>

#include "db/instancelock.h"
#include "db/rowbatch.h"
#include "db/schema.h"
#include "db/transaction.h"
#include "dbcreate/databasefile.h"
#include "schemafiles.h"
#include "util/conversionerror.h"

namespace {

using namespace std::chrono_literals;
using db::Database;
using db::DbError;
using db::SeekComparison;
namespace schema = db::schema;

constexpr double kGiorno = 46362.0;

// A connection that gives up on another writer's lock after 50 ms.
std::unique_ptr<Database> impatientOn(const QString& path) {
    auto database = db::open(path);
    database->setBusyTimeout(50ms);
    return database;
}

class DatabaseFixture : public ::testing::Test {
protected:
    explicit DatabaseFixture(Engine engine) : engine(engine) {
        workPath = schemafiles::createWork(engine, folder);
        work = schemafiles::openUnsynced(engine, workPath);
        schemafiles::addReminders(*work, {{1, kGiorno, "VIS", "a"}, {2, kGiorno, "TEL", "b"}});
    }

    Engine engine;
    TestFolder folder;
    QString workPath;
    std::unique_ptr<Database> work;
};

class DatabaseTest : public DatabaseFixture, public ::testing::WithParamInterface<Engine> {
protected:
    DatabaseTest() : DatabaseFixture(GetParam()) {}
};

struct MissingFileCase {
    const char* name;
    const char* relativePath;
};

void PrintTo(const MissingFileCase& missing, std::ostream* out) {
    *out << missing.name;
}

class MissingFile : public ::testing::TestWithParam<MissingFileCase> {};

TEST_P(MissingFile, OpeningFailsAndCreatesNothing) {
    TestFolder folder;
    const QString path = folder.path(QString::fromLatin1(GetParam().relativePath));
    EXPECT_THROW(Database::open(path), DbError);
    EXPECT_FALSE(QFileInfo::exists(path));
}

INSTANTIATE_TEST_SUITE_P(Paths, MissingFile,
                         ::testing::Values(MissingFileCase{"File", "VisiteDV.mdb"},
                                           MissingFileCase{"Folder", "demo/VisiteDV.mdb"},
                                           MissingFileCase{"NameNeedingEscapes",
                                                           "a b%20c?d#e.mdb"}),
                         [](const ::testing::TestParamInfo<MissingFileCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(OpenDatabaseFile, AFileThatIsNoDatabaseFailsAndStaysAsItWas) {
    TestFolder folder;
    const QByteArray text = QByteArrayLiteral("Standard Jet DB, not really\r\n").repeated(100);
    const QString path = folder.write(QStringLiteral("VisiteDV.mdb"), text);
    try {
        Database::open(path);
        FAIL() << "a text file opened as a database";
    } catch (const DataError& caught) {
        const auto& error = dynamic_cast<const DbError&>(caught);
        EXPECT_EQ(db::faultOf(caught), db::Fault::NotADatabase);
        // The operator reads Italian only: the engine's text stays out of the cause.
        EXPECT_EQ(db::causeOf(caught), path + ": IL FILE NON È UN ARCHIVIO");
        EXPECT_EQ(db::detailsOf(caught), error.engineMessage());
        EXPECT_TRUE(error.operation().contains(path));
        EXPECT_FALSE(QString::fromUtf8(error.what()).contains(QStringLiteral("Xy7")))
            << "the password is shown: " << error.what();
        EXPECT_FALSE(error.engineMessage().isEmpty());
    }
    EXPECT_EQ(TestFolder::read(path), text);
}

TEST(DataError, AValueThatCannotBeConvertedIsADataStepFailureOfItsOwn) {
    const ConversionError error("not a date: 31/02/2026");
    EXPECT_EQ(db::faultOf(error), db::Fault::Other);
    EXPECT_EQ(db::causeOf(error), "ERRORE DELL'ARCHIVIO");
    EXPECT_EQ(db::detailsOf(error), "not a date: 31/02/2026");
}

TEST(OpenDatabaseFile, PathsWithCharactersThatNeedEscapingOpen) {
    TestFolder folder;
    QDir().mkpath(folder.path(QStringLiteral("Dati 100%20 #1?")));
    const QString path =
        schemafiles::createWork(Engine::Sqlite, folder, QStringLiteral("Dati 100%20 #1?/Wörk.mdb"));
    EXPECT_EQ(Database::open(path)->path(), path);
}

TEST(OpenDatabaseFile, AFolderIsNoDatabase) {
    TestFolder folder;
    EXPECT_THROW(Database::open(folder.path(QString())), DbError);
}

class OpenDatabase : public ::testing::TestWithParam<Engine> {};

TEST_P(OpenDatabase, SeveralConnectionsAtOnceSeeEachOthersChanges) {
    TestFolder folder;
    const QString visite = schemafiles::createVisite(GetParam(), folder);
    const QString workPath = schemafiles::createWork(GetParam(), folder);
    auto mainDb = Database::open(visite);
    auto first = Database::open(workPath);
    auto second = Database::open(workPath);
    schemafiles::addReminders(*first, {{1, kGiorno, "VIS", "a"}});
    EXPECT_EQ(schemafiles::rowCount(*second, schema::kPromemoria), 1);
    EXPECT_EQ(schemafiles::rowCount(*mainDb, schema::kAppuntamenti), 0);
}

// Whoever holds a work database's instance lock, another holder has to wait for its end; the
// server sees a session end a moment after its connection closes.
TEST_P(OpenDatabase, TheInstanceLockHasOneHolderAtATime) {
    TestFolder folder;
    const QString workPath = schemafiles::createWork(GetParam(), folder);
    std::optional<db::InstanceLock> primo(std::in_place, workPath);
    ASSERT_TRUE(primo->tryTake());
    db::InstanceLock secondo(workPath);
    EXPECT_FALSE(secondo.tryTake());
    primo.reset();
    EXPECT_TRUE(QTest::qWaitFor([&] { return secondo.tryTake(); }, 20000));
}

TEST_P(DatabaseTest, WhatIsNotThereFailsAtOpenOrFirstUse) {
    EXPECT_THROW(work->openTable(QStringLiteral("Appuntamenti")), DbError);
    EXPECT_THROW(work->openQuery(QStringLiteral("SELECT * FROM Appuntamenti")), DbError);
    auto table = work->openTable(schema::kPromemoria);
    EXPECT_THROW(table->selectIndex(QStringLiteral("secondaria")), DbError);
    EXPECT_THROW(table->field(QStringLiteral("ApCliente")), DbError);
    table->addNew();
    EXPECT_THROW(table->setField(QStringLiteral("PmNote"), 1), DbError);
    auto snapshot = work->openQuery(schema::descrizioneCliente(1));
    EXPECT_THROW(snapshot->field(schema::kTbaColore), DbError);
}

TEST_P(DatabaseTest, NamesMatchWithoutRegardToCase) {
    auto table = work->openTable(QStringLiteral("PROMEMORIA"));
    table->selectIndex(QStringLiteral("Primaria"));
    EXPECT_EQ(table->field(QStringLiteral("pmdocumento")).toString(), QStringLiteral("a"));
}

TEST_P(DatabaseTest, FailingStatementsCarryTheStatementAndTheEngineMessage) {
    const QString bad = QStringLiteral("DELETE FROM Promemorie");
    try {
        work->execute(bad);
        FAIL() << "a statement on a missing table succeeded";
    } catch (const DbError& error) {
        EXPECT_EQ(error.operation(), bad);
        EXPECT_TRUE(
            error.engineMessage().contains(QStringLiteral("Promemorie"), Qt::CaseInsensitive));
    }
}

// The poll's indexes: the host's file keeps its own, the server schema carries them, and the
// statements that the start-up names create those missing.
TEST_P(DatabaseTest, OnlyAServerSchemaIsAskedForThePollsIndexes) {
    EXPECT_TRUE(work->unindexed(schema::kIndiciControllo).isEmpty());
    if (GetParam() == Engine::Sqlite) return;
    work->execute(QStringLiteral("DROP INDEX promemoria_attesa"));
    const QList<db::Database::IndexedColumn> mancanti = work->unindexed(schema::kIndiciControllo);
    ASSERT_EQ(mancanti.size(), 1);
    EXPECT_EQ(mancanti[0].column, schema::kPmWait);
    for (const QString& crea : schema::kCreaIndiciControllo) work->execute(crea);
    EXPECT_TRUE(work->unindexed(schema::kIndiciControllo).isEmpty());
}

TEST_P(DatabaseTest, SnapshotHoldsItsRowsAndCountsThem) {
    {
        auto mark = work->openTable(schema::kPromemoria);
        mark->edit();
        mark->setField(schema::kPmWait, QStringLiteral("S"));
        mark->update();
    }
    auto waiting = work->openQuery(schema::kContaInAttesa);
    ASSERT_EQ(waiting->recordCount(), 1);
    EXPECT_EQ(waiting->field(schema::kNumWait).toInt(), 1);

    auto all = work->openQuery(QStringLiteral("SELECT * FROM Promemoria ORDER BY PmCliente"), true);
    work->execute(schemafiles::kEmptyPromemoria);
    EXPECT_EQ(all->recordCount(), 2);
    EXPECT_EQ(all->field(schema::kPmDocumento).toString(), QStringLiteral("a"));
    all->moveNext();
    EXPECT_EQ(all->field(schema::kPmDocumento).toString(), QStringLiteral("b"));
    all->moveNext();
    EXPECT_TRUE(all->eof());
    EXPECT_THROW(all->field(schema::kPmDocumento), DbError);
    EXPECT_THROW(all->moveNext(), DbError);

    auto none = work->openQuery(QStringLiteral("SELECT * FROM Promemoria"));
    EXPECT_EQ(none->recordCount(), 0);
    EXPECT_TRUE(none->eof());
}

TEST_P(DatabaseTest, OnlyQueriesOpenAsSnapshots) {
    EXPECT_THROW(work->openQuery(QStringLiteral("DELETE FROM Promemoria")), DbError);
    EXPECT_EQ(schemafiles::rowCount(*work, schema::kPromemoria), 2);
}

TEST_P(DatabaseTest, ValuesReadBackAsStored) {
    auto table = work->openTable(schema::kPromemoria);
    table->addNew();
    table->setField(schema::kPmAllarm, QStringLiteral("trenta"));
    table->setField(schema::kPmWait, QVariant());
    if (engine == Engine::Postgres) {
        // The server keeps its columns' types: text in a number column is refused.
        EXPECT_THROW(table->update(), DbError);
        table->addNew();
        table->setField(schema::kPmAllarm, 30.5);
        table->setField(schema::kPmWait, QVariant());
    }
    table->update();
    table->selectIndex(schema::kPrimaria);
    ASSERT_TRUE(table->field(schema::kPmCliente).isNull()) << "a Null key sorts first";
    EXPECT_EQ(table->field(schema::kPmAllarm),
              engine == Engine::Sqlite ? QVariant(QStringLiteral("trenta")) : QVariant(30.5));
    EXPECT_EQ(table->field(schema::kPmWait), QVariant());
    EXPECT_EQ(table->field(schema::kPmData), QVariant());
}

TEST_P(DatabaseTest, DatesAndSmallNumbersAreStoredAsNumbers) {
    const QDateTime dieci(QDate(2026, 12, 6), QTime(10, 0));
    auto table = work->openTable(schema::kPromemoria);
    table->addNew();
    table->setField(schema::kPmCliente, QVariant::fromValue<qint16>(3));
    table->setField(schema::kPmData, dieci);
    table->setField(schema::kPmAllarm, QDate(2026, 12, 6));
    table->update();
    auto stored = work->openQuery(QStringLiteral("SELECT * FROM Promemoria WHERE PmCliente = 3"));
    EXPECT_EQ(stored->field(schema::kPmCliente), QVariant(qlonglong(3)));
    EXPECT_DOUBLE_EQ(stored->field(schema::kPmData).toDouble(), 46362.0 + 10.0 / 24.0);
    EXPECT_EQ(stored->field(schema::kPmAllarm), QVariant(46362.0));
}

TEST_P(DatabaseTest, RollbackRestoresAndCommitKeeps) {
    {
        db::Transaction transaction(*work);
        work->execute(schemafiles::kEmptyPromemoria);
        EXPECT_EQ(schemafiles::rowCount(*work, schema::kPromemoria), 0);
    }
    EXPECT_EQ(schemafiles::tagsInKeyOrder(*work), QStringList({"a", "b"}));
    {
        db::Transaction transaction(*work);
        schemafiles::addReminders(*work, {{3, kGiorno, "VIS", "c"}});
        transaction.commit();
    }
    auto other = Database::open(workPath);
    EXPECT_EQ(schemafiles::tagsInKeyOrder(*other), QStringList({"a", "b", "c"}));
}

// A server rolls back what a failed statement's transaction held when asked to commit it: the
// commit must not then report success.
TEST_P(DatabaseTest, ACommitAfterAFailedStatementKeepsTheWritesOrFails) {
    bool committed = false;
    {
        db::Transaction transaction(*work);
        schemafiles::addReminders(*work, {{3, kGiorno, "VIS", "c"}});
        EXPECT_THROW(work->execute(QStringLiteral("UPDATE Nessuna SET x = 1")), DbError);
        try {
            transaction.commit();
            committed = true;
        } catch (const DbError&) {
            // Told: then nothing of the transaction may be left.
        }
    }
    const QStringList expected = committed ? QStringList{"a", "b", "c"} : QStringList{"a", "b"};
    EXPECT_EQ(schemafiles::tagsInKeyOrder(*Database::open(workPath)), expected);
}

// Batches of the size asked for, the last one short, every row once and in order.
TEST_P(DatabaseTest, ReadsInBatchesOfTheSizeAskedForEveryRowInOrder) {
    schemafiles::addReminders(
        *work, {{3, kGiorno, "VIS", "c"}, {4, kGiorno, "VIS", "d"}, {5, kGiorno, "VIS", "e"}});
    QList<qsizetype> sizes;
    QStringList tags;
    work->readInBatches(QStringLiteral("SELECT PmDocumento FROM Promemoria ORDER BY PmCliente"), 2,
                        [&](const QStringList&, const db::RowBatch& rows) {
                            sizes.append(rows.size());
                            for (qsizetype row = 0; row < rows.size(); ++row)
                                tags.append(rows.value(row, 0).toString());
                        });
    EXPECT_EQ(sizes, (QList<qsizetype>{2, 2, 1}));
    EXPECT_EQ(tags, (QStringList{"a", "b", "c", "d", "e"}));
}

TEST_P(DatabaseTest, AWriteMeetingAnotherWritersLockFailsAndChangesNothing) {
    auto host = Database::open(workPath);
    auto hostTransaction = std::make_unique<db::Transaction>(*host);
    host->execute(QStringLiteral("UPDATE Promemoria SET PmWait = 'S'"));
    auto impatient = impatientOn(workPath);
    EXPECT_THROW(impatient->execute(schemafiles::kEmptyPromemoria), DbError);
    // SQLite has one write lock per file, taken as the transaction begins; the server locks
    // rows as they are written.
    if (engine == Engine::Sqlite) {
        EXPECT_THROW(db::Transaction{*impatient}, DbError) << "the write lock is taken at once";
    }
    auto table = impatient->openTable(schema::kPromemoria);
    table->edit();
    table->setField(schema::kPmWait, QStringLiteral("X"));
    EXPECT_THROW(table->update(), DbError);
    hostTransaction.reset();
    EXPECT_EQ(schemafiles::rowCount(*impatient, schema::kPromemoria), 2);
    EXPECT_EQ(impatient->openQuery(schema::kContaInAttesa)->field(schema::kNumWait).toInt(), 0);
}

TEST_P(DatabaseTest, AnExclusiveLockMakesReadsFail) {
    // A reader never waits for a writer on the server.
    if (engine == Engine::Postgres) GTEST_SKIP();
    auto impatient = impatientOn(workPath);
    auto host = Database::open(workPath);
    host->execute(QStringLiteral("BEGIN EXCLUSIVE"));
    EXPECT_THROW(impatient->openQuery(schema::kContaInAttesa), DbError);
    EXPECT_THROW(impatient->openTable(schema::kPromemoria), DbError);
}

TEST_P(DatabaseTest, ATransactionLeftOnAFailureHoldsNoLock) {
    try {
        db::Transaction transaction(*work);
        work->execute(schemafiles::kEmptyPromemoria);
        work->execute(QStringLiteral("DELETE FROM Promemorie"));
        transaction.commit();
    } catch (const DbError&) {
    }
    auto other = impatientOn(workPath);
    other->execute(QStringLiteral("UPDATE Promemoria SET PmWait = 'S'"));
    EXPECT_EQ(other->openQuery(schema::kContaInAttesa)->field(schema::kNumWait).toInt(), 2);
}

TEST_P(DatabaseTest, OpenCursorsAndSnapshotsLeaveTheFileFreeForOtherWriters) {
    auto walk = work->openTable(schema::kPromemoria);
    walk->selectIndex(schema::kPrimaria);
    walk->seek(SeekComparison::GreaterOrEqual, {0});
    auto snapshot = work->openQuery(QStringLiteral("SELECT * FROM Promemoria"));
    auto host = impatientOn(workPath);
    host->execute(QStringLiteral("UPDATE Promemoria SET PmWait = 'S'"));
    walk->moveNext();
    EXPECT_EQ(walk->field(schema::kPmWait).toString(), QStringLiteral("S"));
}

TEST_P(DatabaseTest, CursorsFailCleanlyOnceClosedOrTheirDatabaseIs) {
    auto table = work->openTable(schema::kPromemoria);
    auto closed = work->openTable(schema::kPromemoria);
    closed->close();
    EXPECT_THROW(closed->moveNext(), DbError);
    EXPECT_THROW(closed->field(schema::kPmWait), DbError);
    work.reset();
    EXPECT_THROW(table->moveNext(), DbError);
}

TEST_P(DatabaseTest, EditingARowDeletedMeanwhileFails) {
    auto reminder = work->openTable(schema::kPromemoria);
    reminder->selectIndex(schema::kPrimaria);
    reminder->seek(SeekComparison::Equal, {2, kGiorno, "TEL"});
    work->execute(schemafiles::kEmptyPromemoria);
    // The replacement gets another rowid: a row with the same key and rowid would be the same.
    schemafiles::addReminders(
        *work, {{9, kGiorno, "VIS", "x"}, {8, kGiorno, "VIS", "y"}, {2, kGiorno, "TEL", "b"}});
    reminder->edit();
    reminder->setField(schema::kPmWait, QStringLiteral(" "));
    EXPECT_THROW(reminder->update(), DbError);
    EXPECT_THROW(reminder->deleteCurrent(), DbError);
    EXPECT_EQ(schemafiles::rowCount(*work, schema::kPromemoria), 3);
}

TEST_P(DatabaseTest, EditingNeedsARowAndAnEdit) {
    auto table = work->openTable(schema::kPromemoria);
    EXPECT_THROW(table->setField(schema::kPmWait, QStringLiteral("S")), DbError);
    EXPECT_THROW(table->update(), DbError);
    table->selectIndex(schema::kPrimaria);
    table->seek(SeekComparison::Equal, {7});
    EXPECT_THROW(table->edit(), DbError);
    EXPECT_THROW(table->deleteCurrent(), DbError);
    EXPECT_THROW(table->moveNext(), DbError);
}

TEST_P(DatabaseTest, RowsAddedInATransactionFailByItsCommitAtTheLatestAndLeaveNothing) {
    const auto addAll = [this] {
        db::Transaction transaction(*work);
        auto table = work->openTable(schema::kPromemoria);
        for (const auto& [cliente, azione] : {std::pair{3, "NEW"}, {1, "vis"}, {4, "NEW"}}) {
            table->addNew();
            table->setField(schema::kPmCliente, cliente);
            table->setField(schema::kPmData, kGiorno);
            table->setField(schema::kPmAzione, QString::fromLatin1(azione));
            table->update();
        }
        transaction.commit();
    };
    EXPECT_THROW(addAll(), DbError);
    EXPECT_EQ(schemafiles::tagsInKeyOrder(*work), QStringList({"a", "b"}));
}

// More rows than one statement of SQLite takes, so both its runs and its tail are used.
TEST_P(DatabaseTest, DeletesTheRowsOfTheRowidsGivenAndNoOther) {
    db::RowBatch rows(2);
    for (int cliente = 100; cliente < 1400; ++cliente) {
        rows.appendRow(0);
        rows.appendInteger(cliente);
        rows.appendReal(kGiorno);
    }
    work->insertRows(schema::kPromemoria, {schema::kPmCliente, schema::kPmData}, rows);
    const QString pari =
        QStringLiteral(" FROM Promemoria WHERE PmCliente >= 100 AND PmCliente % 2 = 0");
    std::vector<qint64> rowids;
    for (auto righe = work->openQuery("SELECT rowid AS r" + pari); !righe->eof(); righe->moveNext())
        rowids.push_back(righe->field("r").toLongLong());
    work->deleteRows(schema::kPromemoria, rowids);
    EXPECT_EQ(work->openQuery("SELECT count(*) AS n" + pari)->field("n").toInt(), 0);
    EXPECT_EQ(schemafiles::rowCount(*work, schema::kPromemoria), 2 + 650);
}

TEST_P(DatabaseTest, ADuplicateKeyFailsWithTheEnginesMessage) {
    auto table = work->openTable(schema::kPromemoria);
    table->addNew();
    table->setField(schema::kPmCliente, 1);
    table->setField(schema::kPmData, kGiorno);
    table->setField(schema::kPmAzione, QStringLiteral("vis"));
    EXPECT_THROW(table->update(), DbError);
    EXPECT_EQ(schemafiles::rowCount(*work, schema::kPromemoria), 2);
}

INSTANTIATE_TEST_SUITE_P(Engines, DatabaseTest, ::testing::ValuesIn(testedEngines()),
                         EngineNamer());
INSTANTIATE_TEST_SUITE_P(Engines, OpenDatabase, ::testing::ValuesIn(testedEngines()),
                         EngineNamer());

struct DescriptorCase {
    const char* name;
    const char* firstLine;
    QFile::Permissions permissions;
    const char* refusal;  // a piece of the message; empty: refused by the server, not by us
};

class Descriptor : public ::testing::TestWithParam<DescriptorCase> {};

TEST_P(Descriptor, IsRefusedWithAClearMessage) {
    TestFolder folder;
    const DescriptorCase& c = GetParam();
    // A server that is not there: a descriptor that passes our checks fails to connect.
    const QByteArray line(c.firstLine);
    const QString path = folder.write(QStringLiteral("WorkDV.mdb"),
                                      line + (line.contains('?') ? "&host=" : "?host=") +
                                          folder.path("nessuno").toUtf8() + "\nsecond line\n");
    QFile::setPermissions(path, c.permissions);
    try {
        db::open(path);
        FAIL() << "opened";
    } catch (const DbError& error) {
        EXPECT_TRUE(error.operation().contains(path));
        EXPECT_FALSE(QString::fromUtf8(error.what()).contains(QStringLiteral("Xy7")))
            << "the password is shown: " << error.what();
        if (*c.refusal) {
            EXPECT_TRUE(error.engineMessage().contains(QString::fromLatin1(c.refusal)))
                << error.what();
        } else {
            EXPECT_FALSE(error.engineMessage().contains(QStringLiteral("chmod"))) << error.what();
            EXPECT_FALSE(error.engineMessage().contains(QStringLiteral("not a database")));
        }
    }
}

const QFile::Permissions kOwnerOnly = QFile::ReadOwner | QFile::WriteOwner;
const QFile::Permissions kReadable = kOwnerOnly | QFile::ReadGroup | QFile::ReadOther;

INSTANTIATE_TEST_SUITE_P(
    Files, Descriptor,
    ::testing::Values(
        DescriptorCase{"PasswordReadableByOthers", "postgresql://op:segreta@/scadex", kReadable,
                       "chmod 600"},
        DescriptorCase{"PasswordInTheQuery", "postgresql:///scadex?password=x&user=op",
                       kOwnerOnly | QFile::ReadGroup, "chmod 600"},
        DescriptorCase{"PasswordWithAHash", "postgresql://op:Xy7#kLm2@/scadex", kReadable,
                       "chmod 600"},
        DescriptorCase{"PasswordWithAQuestionMark", "postgresql://op:Xy7?kLm2@/scadex", kReadable,
                       "chmod 600"},
        DescriptorCase{"PasswordInTheQueryAfterAHash", "postgresql:///scadex#?password=Xy7kLm2",
                       kReadable, "chmod 600"},
        DescriptorCase{"MalformedPassword", "postgresql://op:Xy7%zz@/scadex", kOwnerOnly,
                       "malformed at its password"},
        DescriptorCase{"UnknownParameter", "postgresql:///scadex?pasword=Xy7kLm2", kOwnerOnly,
                       "malformed at its query parameter 1 (pasword)"},
        DescriptorCase{"ParameterWithoutEquals", "postgresql:///scadex?sslmode=disable&Xy7kLm2",
                       kOwnerOnly, "malformed at its query parameter 2 "},
        DescriptorCase{"PasswordKeptPrivate", "postgresql://op:segreta@/scadex", kOwnerOnly, ""},
        DescriptorCase{"NoPassword", "postgresql:///scadex", kReadable, ""},
        DescriptorCase{"ShortScheme", "postgres:///scadex", kReadable, ""},
        DescriptorCase{"OtherText", "Provider=Microsoft.Jet.OLEDB.4.0", kReadable,
                       "not a database"},
        DescriptorCase{"UriNotOnTheFirstLine", "\npostgresql:///scadex", kReadable,
                       "not a database"}),
    [](const auto& info) { return std::string(info.param.name); });

// Two paths lead to one database, or to two: the second file of each case is written by
// `secondo` beside the first, "a.mdb" holding `primo`.
struct IdentityCase {
    const char* name;
    QByteArray primo;
    void (*secondo)(const QString& primo, const QString& secondo);
    bool same;
};

class Identity : public ::testing::TestWithParam<IdentityCase> {};

TEST_P(Identity, FollowsTheDataNotThePath) {
    TestFolder folder;
    const QString primo = folder.write(QStringLiteral("a.mdb"), GetParam().primo);
    const QString secondo = folder.path(QStringLiteral("altra/b.mdb"));
    QDir().mkpath(folder.path(QStringLiteral("altra")));
    GetParam().secondo(primo, secondo);
    EXPECT_EQ(db::identity(primo) == db::identity(secondo), GetParam().same);
}

void link(const QString& primo, const QString& secondo) {
    QFile::link(primo, secondo);
}
void copy(const QString& primo, const QString& secondo) {
    QFile::copy(primo, secondo);
}
void otherSchema(const QString&, const QString& secondo) {
    QFile file(secondo);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("postgresql://op@/studio?options=-csearch_path%3Dbianchi_work\n");
}

const QByteArray kRossi = "postgresql://op@/studio?options=-csearch_path%3Drossi_work\n";

INSTANTIATE_TEST_SUITE_P(
    Paths, Identity,
    ::testing::Values(IdentityCase{"FileAndItsLink", "SQLite format 3", link, true},
                      IdentityCase{"FileAndItsCopy", "SQLite format 3", copy, false},
                      IdentityCase{"DescriptorAndItsCopy", kRossi, copy, true},
                      IdentityCase{"DescriptorsOfTwoSchemas", kRossi, otherSchema, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CreateDatabaseFile, RefusesAnExistingFile) {
    TestFolder folder;
    const QString path = folder.write(QStringLiteral("x.mdb"), QByteArrayLiteral("keep"));
    EXPECT_THROW(db::createDatabaseFile(path, QStringLiteral("CREATE TABLE t (a)")), DbError);
    EXPECT_EQ(TestFolder::read(path), QByteArrayLiteral("keep"));
}

TEST(CreateDatabaseFile, ABadScriptLeavesNoFile) {
    TestFolder folder;
    const QString path = folder.path(QStringLiteral("x.mdb"));
    EXPECT_THROW(db::createDatabaseFile(path, QStringLiteral("CREATE TABLE t (a); CREATE oops;")),
                 DbError);
    EXPECT_FALSE(QFileInfo::exists(path));
}

}  // namespace
