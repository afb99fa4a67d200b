// The demo tool, run as the scripts run it, and the workspace it leaves behind.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include "app/versione.h"
#include "db/schema.h"
#include "platform/profilefile.h"
#include "schemafiles.h"
#include "support/testengines.h"
#include "util/dateserial.h"
#include "util/texts.h"

namespace {

namespace schema = db::schema;

struct DemoRun {
    int status;  // -1: it did not end normally
    QString output;
    QString errors;
};

DemoRun runDemo(const QStringList& arguments) {
    QProcess demo;
    demo.start(QStringLiteral(SCADEX_DEMO_PROGRAM), arguments);
    if (!demo.waitForFinished(30000) || demo.exitStatus() != QProcess::NormalExit)
        return {-1, {}, {}};
    return {demo.exitCode(), QString::fromUtf8(demo.readAllStandardOutput()),
            QString::fromUtf8(demo.readAllStandardError())};
}

class DemoWorkspace : public ::testing::Test {
protected:
    void SetUp() override {
        before = dateserial::fromDateTime(QDateTime::currentDateTime());
        ASSERT_EQ(runDemo({folder.path(QStringLiteral("demo"))}).status, 0);
    }

    QString ini() const { return folder.path(QStringLiteral("demo/Gestar.ini")); }
    QString setting(const char* section, const char* key) const {
        return profile::Profile::load(ini()).value(QString::fromLatin1(section),
                                                   QString::fromLatin1(key));
    }
    QString databasePath(const char* folderKey, const QString& file) const {
        return setting("PATH", folderKey) + setting("BASE", "OPERATORE") + QDir::separator() + file;
    }

    TestFolder folder;
    double before = 0;
};

TEST_F(DemoWorkspace, TheProgramFindsEverythingThroughGestarIni) {
    EXPECT_TRUE(TestFolder::read(ini()).contains("\r\n[AGENDA]\r\n"));
    EXPECT_EQ(setting("AGENDA", "SuonoSN"), QStringLiteral("S"));
    const QString sound = setting("AGENDA", "SuonoPath") + QDir::separator() +
                          setting("AGENDA", "SuonoFile") + '.' + setting("AGENDA", "SuonoExt");
    EXPECT_TRUE(TestFolder::read(sound).startsWith("RIFF"));

    auto work = db::Database::open(databasePath("WORK", schema::kWorkFile));
    EXPECT_EQ(schemafiles::rowCount(*work, schema::kPromemoria), 0);
    auto azione = work->openQuery(schema::descrizioneAzione(QStringLiteral("vis")));
    EXPECT_FALSE(azione->field(schema::kTbaColore).isNull());
    EXPECT_EQ(work->openQuery(schema::descrizioneCliente(1))->recordCount(), 1);
}

TEST_F(DemoWorkspace, AppointmentsShowEveryCaseOfTheSelection) {
    auto visite = db::Database::open(databasePath("FILE", schema::kVisiteFile));
    const qint64 today = dateserial::dayNumber(QDate::currentDate());
    auto selected = visite->openQuery(schema::selezionaAppuntamenti(today));
    int dueSoon = 0;
    QStringList documents;
    for (; !selected->eof(); selected->moveNext()) {
        const double alarm =
            selected->field(schema::kApData).toDouble() -
            texts::roundFourDecimals(selected->field(schema::kApAllarm).toDouble() / 1440.0);
        const double minutesAfterCreation = (alarm - before) * 1440.0;
        if (minutesAfterCreation > 0.9 && minutesAfterCreation < 3.0) ++dueSoon;
        documents.append(selected->field(schema::kApDocumento).toString());
    }
    EXPECT_EQ(selected->recordCount(), 5) << "deleted and alarm-less appointments stay out";
    EXPECT_EQ(dueSoon, 3);
    documents.removeAll(QString());
    ASSERT_EQ(documents.size(), 2);
    EXPECT_NE(QFileInfo(documents[0]).isFile(), QFileInfo(documents[1]).isFile());
    EXPECT_EQ(schemafiles::rowCount(*visite, schema::kAppuntamenti), 7);
}

TEST_F(DemoWorkspace, AnExistingWorkspaceIsReplacedOnlyWhenAsked) {
    const QByteArray iniBefore = TestFolder::read(ini());
    const QString visite = databasePath("FILE", schema::kVisiteFile);
    db::Database::open(visite)->execute(QStringLiteral("DELETE FROM Appuntamenti"));

    EXPECT_NE(runDemo({folder.path(QStringLiteral("demo"))}).status, 0);
    EXPECT_EQ(schemafiles::rowCount(*db::Database::open(visite), schema::kAppuntamenti), 0);

    EXPECT_EQ(runDemo({folder.path(QStringLiteral("demo")), QStringLiteral("--force")}).status, 0);
    EXPECT_EQ(schemafiles::rowCount(*db::Database::open(visite), schema::kAppuntamenti), 7);
    EXPECT_EQ(TestFolder::read(ini()), iniBefore);
}

// A command line that makes no workspace: the usage or the version, in Italian; on standard
// error with status 2 when the command line is wrong.
struct CommandLineCase {
    const char* name;
    QStringList arguments;
    int status;
    const char* printed;  // the start of what it prints; %1: the version
};

class DemoCommandLine : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(DemoCommandLine, OnlyExplainsItself) {
    const DemoRun run = runDemo(GetParam().arguments);
    EXPECT_EQ(run.status, GetParam().status);
    const QString printed = run.status == 0 ? run.output : run.errors;
    const QString expected =
        QString::fromUtf8(GetParam().printed).replace(QStringLiteral("%1"), VersioneScadex());
    EXPECT_EQ(printed.left(expected.size()), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, DemoCommandLine,
    ::testing::Values(CommandLineCase{"NoFolder", {}, 2, "Uso: scadex-demo CARTELLA "},
                      CommandLineCase{"TwoFolders", {"a", "b"}, 2, "Uso: scadex-demo CARTELLA "},
                      CommandLineCase{"ServerWithoutUri", {"a", "--server"}, 2, "Uso: "},
                      CommandLineCase{"Help", {"--help"}, 0, "Uso: scadex-demo CARTELLA "},
                      CommandLineCase{"ShortHelp", {"-h"}, 0, "Uso: scadex-demo CARTELLA "},
                      CommandLineCase{"Version", {"--version"}, 0, "scadex-demo %1\n"},
                      CommandLineCase{"ShortVersion", {"-V"}, 0, "scadex-demo %1\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DemoTool, OnAServerBothDatabasesAreFoundThroughTheirDescriptors) {
    if (testedEngines().size() < 2) GTEST_SKIP() << "no test server";
    TestFolder folder;
    const QString root = folder.path(QStringLiteral("demo"));
    const QString server = QString::fromUtf8(serverDatabaseUri());
    ASSERT_EQ(runDemo({root, QStringLiteral("--server"), server}).status, 0);
    const QString visite = root + QStringLiteral("/dati/demo/") + schema::kVisiteFile;
    const QString work = root + QStringLiteral("/lavoro/demo/") + schema::kWorkFile;
    EXPECT_TRUE(TestFolder::read(visite).startsWith("postgresql://"));
    EXPECT_EQ(schemafiles::rowCount(*db::open(visite), schema::kAppuntamenti), 7);
    EXPECT_EQ(schemafiles::rowCount(*db::open(work), schema::kClienti), 6);
    // Made again, it replaces the server's demo tables instead of adding to them.
    ASSERT_EQ(runDemo({root, QStringLiteral("--server"), server, QStringLiteral("--force")}).status,
              0);
    EXPECT_EQ(schemafiles::rowCount(*db::open(visite), schema::kAppuntamenti), 7);
}

}  // namespace
