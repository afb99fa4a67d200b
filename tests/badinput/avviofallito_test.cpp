// The real program started on databases it cannot use: it ends with a failure status and one
// line that names the file or server and the cause.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QUrl>
#include <QUrlQuery>
#include <functional>
#include <memory>

#include "support/sqlfile.h"
#include "support/tempdir.h"
#include "support/testengines.h"

namespace {

constexpr int kAttesaMs = 30000;

// An operator's files: the two databases and Gestar.ini, which each case spoils.
struct Postazione {
    Postazione()
        : visite(folder.path(QStringLiteral("dati/op/VisiteDV.mdb"))),
          work(folder.path(QStringLiteral("lavoro/op/WorkDV.mdb"))) {
        SqlFile::create(visite, QStringLiteral("visite.sql"));
        SqlFile::create(work, QStringLiteral("work.sql"));
        scriviIni("op");
    }
    void scriviIni(const QByteArray& operatore) {
        ini =
            folder.write(QStringLiteral("Gestar.ini"),
                         "[BASE]\r\nOPERATORE=" + operatore +
                             "\r\n[PATH]\r\nFILE=" + folder.path(QStringLiteral("dati")).toUtf8() +
                             "\r\nWORK=" + folder.path(QStringLiteral("lavoro")).toUtf8() + "\r\n");
    }
    // A database file replaced by a text: a server descriptor, or anything else.
    static void sostituisci(const QString& path, const QByteArray& testo) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(testo + '\n');
    }
    QString cartella() const { return QFileInfo(ini).absolutePath(); }

    TestFolder folder;
    QString visite;
    QString work;
    QString ini;
    std::unique_ptr<QTcpServer> muto;        // a server that never answers
    std::unique_ptr<SqlFile> bloccoSulWork;  // a writer holding the work database
    bool comeAltroUtente = false;            // run the program as `nobody`
};

struct Caso {
    const char* name;
    std::function<void(Postazione&)> guasta;
    const char* file;   // what the line must name
    const char* causa;  // and say
    bool serveServer = false;
    bool dalDatabase = true;  // the line ends with the engine's own words, in brackets
};

const Caso kCasi[] = {
    {"DatabaseMissing", [](Postazione& p) { QFile::remove(p.visite); }, "op/VisiteDV.mdb",
     "ARCHIVIO INESISTENTE"},
    {"NotADatabase", [](Postazione& p) { Postazione::sostituisci(p.work, "ciao"); },
     "op/WorkDV.mdb", "IL FILE NON È UN ARCHIVIO"},
    {"NotWritableByTheOperator",
     [](Postazione& p) {
         QProcess::execute("chmod", {"-R", "a+rwX", p.cartella()});
         QProcess::execute("chmod", {"0555", QFileInfo(p.work).absolutePath()});
         QFile::setPermissions(p.work, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
         p.comeAltroUtente = true;
     },
     "op/WorkDV.mdb", "ARCHIVIO NON SCRIVIBILE DALL'OPERATORE"},
    {"NoOperator", [](Postazione& p) { p.scriviIni(""); }, "Gestar.ini",
     "OPERATORE MANCANTE NELLA SEZIONE BASE", false, false},
    {"RebuildFails",
     [](Postazione& p) { SqlFile(p.visite).exec(QStringLiteral("DROP TABLE Appuntamenti")); },
     "op/VisiteDV.mdb", "L'ARCHIVIO NON HA LE TABELLE DI GESTAR"},
    {"LockHeldPastTheWait",
     [](Postazione& p) {
         p.bloccoSulWork = std::make_unique<SqlFile>(p.work);
         p.bloccoSulWork->exec(QStringLiteral("BEGIN IMMEDIATE"));
     },
     "op/WorkDV.mdb", "ARCHIVIO BLOCCATO DA UN ALTRO PROGRAMMA"},
    {"ServerRefuses",
     [](Postazione& p) {
         Postazione::sostituisci(p.visite, "postgresql://scadex@127.0.0.1:1/studio");
     },
     "op/VisiteDV.mdb", "ARCHIVIO NON RAGGIUNGIBILE"},
    {"ServerSilent",
     [](Postazione& p) {
         p.muto = std::make_unique<QTcpServer>();
         p.muto->listen(QHostAddress::LocalHost);
         Postazione::sostituisci(
             p.visite, "postgresql://scadex@127.0.0.1:" + QByteArray::number(p.muto->serverPort()) +
                           "/studio");
     },
     "op/VisiteDV.mdb", "ARCHIVIO NON RAGGIUNGIBILE"},
    {"ServerWithoutTheHostsTables",
     [](Postazione& p) {
         Postazione::sostituisci(p.work, serverDatabaseUri() + "&options=-csearch_path%3Dnessuno");
     },
     "op/WorkDV.mdb", "L'ARCHIVIO NON HA LE TABELLE DI GESTAR", true},
    {"ServerRoleWithoutARight",
     [](Postazione& p) {
         QFile::remove(p.work);
         createTestDatabase(Engine::Postgres, p.folder, QStringLiteral("lavoro/op/WorkDV.mdb"),
                            QStringLiteral("work.sql"));
         const auto sql = directSql(Engine::Postgres, p.work);
         const QString schema = sql->value(QStringLiteral("SELECT current_schema()")).toString();
         sql->exec(
             QStringLiteral("DO $$ BEGIN CREATE ROLE scadex_senza_delete LOGIN; "
                            "EXCEPTION WHEN duplicate_object THEN NULL; END $$"));
         sql->exec(QStringLiteral("GRANT USAGE ON SCHEMA %1 TO scadex_senza_delete").arg(schema));
         sql->exec(QStringLiteral("GRANT SELECT, INSERT, UPDATE ON ALL TABLES IN SCHEMA %1 TO "
                                  "scadex_senza_delete")
                       .arg(schema));
         QUrl uri(QString::fromUtf8(TestFolder::read(p.work).trimmed()));
         QUrlQuery query(uri);
         query.removeAllQueryItems(QStringLiteral("user"));
         query.addQueryItem(QStringLiteral("user"), QStringLiteral("scadex_senza_delete"));
         uri.setQuery(query);
         Postazione::sostituisci(p.work, uri.toEncoded());
     },
     "op/WorkDV.mdb", "Promemoria: DELETE negato", true},
};

class AvvioFallito : public ::testing::TestWithParam<Caso> {};

TEST_P(AvvioFallito, EndsWithAFailureAndOneLineSayingWhy) {
    const Caso& caso = GetParam();
    if (caso.serveServer && qEnvironmentVariableIsEmpty("SCADEX_TEST_PGHOST"))
        GTEST_SKIP() << "no PostgreSQL here";
    Postazione postazione;
    caso.guasta(postazione);
    if (postazione.comeAltroUtente && geteuid() != 0) GTEST_SKIP() << "needs root to run as nobody";
    QProcess programma;
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    ambiente.insert(QStringLiteral("XDG_RUNTIME_DIR"), postazione.cartella());
    programma.setProcessEnvironment(ambiente);
    if (postazione.comeAltroUtente) {
        programma.start(QStringLiteral("runuser"),
                        {"-u", "nobody", "--", SCADEX_PROGRAM, postazione.ini});
    } else {
        programma.start(QStringLiteral(SCADEX_PROGRAM), {postazione.ini});
    }
    ASSERT_TRUE(programma.waitForFinished(kAttesaMs));
    EXPECT_EQ(programma.exitCode(), 1);
    const QStringList uscita = QString::fromUtf8(programma.readAllStandardError())
                                   .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QStringList righe = uscita.filter(QStringLiteral("SCADEX"));
    ASSERT_EQ(righe.size(), 1) << righe.join('\n').toStdString();
    EXPECT_TRUE(righe[0].startsWith(QStringLiteral("SCADEX NON AVVIATO: ")))
        << righe[0].toStdString();
    EXPECT_TRUE(righe[0].contains(QString::fromUtf8(caso.file))) << righe[0].toStdString();
    EXPECT_TRUE(righe[0].contains(QString::fromUtf8(caso.causa))) << righe[0].toStdString();
    // The engine's own words, in brackets after the cause, are never mixed into the line.
    EXPECT_FALSE(righe[0].endsWith(QLatin1Char(')'))) << righe[0].toStdString();
    EXPECT_EQ(uscita.filter(QStringLiteral("  messaggio del database: ")).size(),
              caso.dalDatabase ? 1 : 0)
        << uscita.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Casi, AvvioFallito, ::testing::ValuesIn(kCasi),
                         [](const auto& info) { return std::string(info.param.name); });

// Without a display the program says so in one line of its own; at login that is no failure.
class SenzaSchermo : public ::testing::TestWithParam<bool> {};

TEST_P(SenzaSchermo, OneItalianLineAndTheStatusOfTheStart) {
    const bool allAccesso = GetParam();
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    for (const char* nome : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        ambiente.remove(QString::fromLatin1(nome));
    QProcess programma;
    programma.setProcessEnvironment(ambiente);
    programma.start(QStringLiteral(SCADEX_PROGRAM),
                    allAccesso ? QStringList{"--autostart"} : QStringList{});
    ASSERT_TRUE(programma.waitForFinished(kAttesaMs));
    EXPECT_EQ(programma.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(programma.exitCode(), allAccesso ? 0 : 1);
    EXPECT_EQ(programma.readAllStandardError(),
              "SCADEX NON AVVIATO: nessuno schermo a cui collegarsi\n");
}

INSTANTIATE_TEST_SUITE_P(Avvii, SenzaSchermo, ::testing::Bool(), [](const auto& info) {
    return std::string(info.param ? "AllAccesso" : "DallOperatore");
});

}  // namespace
