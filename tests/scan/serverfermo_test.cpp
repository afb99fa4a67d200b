// A server that stops answering for half a minute: the event loop never stalls for a second,
// and what fell due meanwhile is handed over once when it answers again.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>
#include <QtTest/QTest>
#include <memory>

#include "db/database.h"
#include "platform/eventyielder.h"
#include "scan/scansione.h"
#include "support/engineworkspace.h"
#include "support/fakes.h"
#include "support/tempdir.h"

namespace {

constexpr double kOggi = 46362;  // 6 December 2026
constexpr int kFermoMs = 30000;
constexpr int kTickMs = 1000;

// A server of this test's own, so that stopping it stalls no other test. It writes doubles
// short unless a client asks otherwise, as a server configured so would.
class ServerPrivato {
public:
    ServerPrivato() {
        const QStringList versioni = QDir(QStringLiteral("/usr/lib/postgresql"))
                                         .entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        const QString bin = QStringLiteral("/usr/lib/postgresql/%1/bin/").arg(versioni.last());
        if (geteuid() == 0)
            QProcess::execute(QStringLiteral("chown"), {QStringLiteral("postgres:"), cartella()});
        esegui({bin + "initdb", "-D", dati(), "-U", "postgres", "-A", "trust", "-E", "UTF8",
                "--locale=C.UTF-8"});
        const QStringList server =
            comeServer({bin + "postgres", "-D", dati(), "-k", cartella(), "-c",
                        "listen_addresses=", "-c", "fsync=off", "-c", "extra_float_digits=0"});
        server_.start(server.first(), server.mid(1));
        pronto_ = QTest::qWaitFor(
            [&] {
                return esegui({bin + "pg_isready", "-q", "-h", cartella()}) == 0;
            },
            10000);
        pid_ = TestFolder::read(dati() + "/postmaster.pid").split('\n').value(0).toInt();
    }
    ~ServerPrivato() {
        segnala(SIGCONT);
        if (pid_ > 0) kill(pid_, SIGQUIT);  // a throwaway server: no clean shutdown needed
        server_.waitForFinished(10000);
    }

    bool pronto() const { return pronto_; }
    QString cartella() const { return QFileInfo(folder_.path(QStringLiteral("x"))).absolutePath(); }

    // The signal to the server and to every process it started: the server first, so that it
    // starts none after the look, and the look twice over for one it started meanwhile.
    void segnala(int segnale) const {
        if (pid_ <= 0) return;
        kill(pid_, segnale);
        for (int giro = 0; giro < 2; ++giro) {
            for (const QString& voce : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
                const QByteArray stato =
                    TestFolder::read(QStringLiteral("/proc/%1/stat").arg(voce));
                const QList<QByteArray> campi = stato.mid(stato.lastIndexOf(')') + 2).split(' ');
                if (campi.value(1).toInt() == pid_) kill(voce.toInt(), segnale);
            }
        }
    }

private:
    QString dati() const { return cartella() + QStringLiteral("/data"); }
    // The server refuses to run as root: as root, its programs run as its own user.
    static QStringList comeServer(const QStringList& comando) {
        if (geteuid() != 0) return comando;
        return QStringList{"runuser", "-u", "postgres", "--"} + comando;
    }
    static int esegui(const QStringList& comando) {
        const QStringList completo = comeServer(comando);
        return QProcess::execute(completo.first(), completo.mid(1));
    }

    TestFolder folder_;
    QProcess server_;
    bool pronto_ = false;
    pid_t pid_ = 0;
};

// A workspace on the private server.
std::unique_ptr<EngineWorkspace> spazioSu(const ServerPrivato& server) {
    const QByteArray condiviso = qgetenv("SCADEX_TEST_PGHOST");
    qputenv("SCADEX_TEST_PGHOST", server.cartella().toUtf8());
    auto ws = std::make_unique<EngineWorkspace>(Engine::Postgres);
    qputenv("SCADEX_TEST_PGHOST", condiviso);
    return ws;
}

TEST(ServerFermo, TheWindowNeverStallsAndWhatFellDueIsHandedOverOnce) {
    if (qEnvironmentVariableIsEmpty("SCADEX_TEST_PGHOST")) GTEST_SKIP() << "no PostgreSQL here";
    ServerPrivato server;
    ASSERT_TRUE(server.pronto());
    const auto ws = spazioSu(server);
    ws->addAppointment(1, kOggi + 0.5, "VIS", 60);  // due at 11:00
    FakePlatform platform;
    platform.clock.moment = QDateTime(QDate(2026, 12, 6), QTime(10, 0));
    QtEventYielder yielder;
    Scansione scansione(*ws->visiteDb, *ws->workDb, ws->fileIni, platform.clock, yielder,
                        platform.launcher, [](const EsitoSelezione&) {});
    scansione.SelezionaAppuntamenti();

    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] { scansione.controllaPromemoria(); });
    tick.start(kTickMs);
    QElapsedTimer battito;
    qint64 arrestoMassimo = 0;
    QTimer cuore;
    QObject::connect(&cuore, &QTimer::timeout,
                     [&] { arrestoMassimo = std::max(arrestoMassimo, battito.restart()); });
    battito.start();
    cuore.start(10);

    QTest::qWait(2 * kTickMs);
    server.segnala(SIGSTOP);
    platform.clock.moment.setTime(QTime(11, 30));
    QTest::qWait(kFermoMs);
    EXPECT_TRUE(platform.launcher.launches.isEmpty());
    EXPECT_TRUE(scansione.stato().inGuasto());
    EXPECT_EQ(scansione.stato().causa(), "ARCHIVIO NON RAGGIUNGIBILE");
    server.segnala(SIGCONT);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !platform.launcher.launches.isEmpty(); },
                                2 * kTickMs + kTickMs / 2))
        << "nothing handed over by the second tick after the server came back";
    QTest::qWait(2 * kTickMs);
    EXPECT_EQ(platform.launcher.launches.size(), 1);
    EXPECT_FALSE(scansione.stato().inGuasto());
    EXPECT_LT(arrestoMassimo, 1000) << "the event loop stalled for " << arrestoMassimo << " ms";
}

}  // namespace
