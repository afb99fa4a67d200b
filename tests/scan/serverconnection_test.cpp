// Polls and rebuilds on a server that drops the connection at every step in turn.
#include <gtest/gtest.h>

#include "db/database.h"
#include "scan/scansione.h"
#include "support/engineworkspace.h"
#include "support/fakes.h"
#include "support/hookeddatabase.h"
#include "support/testscansione.h"

namespace {

constexpr double kOggi = 46362;  // 6 December 2026

// The work database's connection is dropped by the server before its Nth operation.
class DroppedConnection : public ::testing::TestWithParam<int> {
protected:
    DroppedConnection() : ws(Engine::Postgres), server(directSql(Engine::Postgres, ws.workPath)) {
        platform.clock.moment = QDateTime(QDate(2026, 12, 6), QTime(10, 0));
        ws.addAppointment(1, kOggi + 0.5, "VIS", 900);
        ws.addAppointment(2, kOggi + 0.5, "TEL", 900);
        makeScansione(*ws.visiteDb, *ws.workDb, ws.fileIni, platform)->SelezionaAppuntamenti();
        const qint64 backend =
            ws.workDb->openQuery("SELECT pg_backend_pid() AS pid")->field("pid").toLongLong();
        ws.workDb =
            std::make_unique<HookedDatabase>(std::move(ws.workDb), [this, backend](const char*) {
                if (armed && operations++ == GetParam())
                    server->exec("SELECT pg_terminate_backend(?, 5000)", {backend});
            });
        scansione = makeScansione(
            *ws.visiteDb, *ws.workDb, ws.fileIni, platform,
            [this](const EsitoSelezione& esito) { conteggi.append(esito.conteggio()); });
    }

    QStringList consegnati() const {
        QStringList chiavi;
        for (const LaunchRecord& launch : platform.launcher.launches)
            chiavi.append(launch.clientAndAction());
        chiavi.sort();
        return chiavi;
    }

    FakePlatform platform;
    EngineWorkspace ws;
    std::unique_ptr<DirectSql> server;
    QList<int> conteggi;
    std::unique_ptr<Scansione> scansione;  // on the wrapped work database
    bool armed = true;
    int operations = 0;
};

TEST_P(DroppedConnection, ThePollSkipsAndTheNextTickReconnectsAndHandsOverOnce) {
    scansione->controllaPromemoria();
    armed = false;
    ASSERT_GT(operations, GetParam()) << "the connection was never dropped";
    scansione->controllaPromemoria();
    EXPECT_EQ(consegnati(), (QStringList{"1|VIS", "2|TEL"}));
    EXPECT_EQ(server->value("SELECT count(*) FROM Promemoria WHERE PmWait = 'S'").toInt(), 2);
}

class DroppedConnectionInRebuild : public DroppedConnection {};

TEST_P(DroppedConnectionInRebuild, AFailedRebuildLeavesTheWholeOldTableAndIsDoneAgain) {
    ws.addAppointment(3, kOggi + 0.6, "VIS", 900);
    ws.addAppointment(4, kOggi + 0.6, "VIS", 900);
    scansione->richiediSelezione();
    armed = false;
    ASSERT_GT(operations, GetParam()) << "the connection was never dropped";
    const int righe = server->value("SELECT count(*) FROM Promemoria").toInt();
    EXPECT_TRUE(righe == 2 || righe == 4) << "half a rebuild: " << righe;
    for (int poll = 1; poll <= 2; ++poll) scansione->controllaPromemoria();
    EXPECT_EQ(conteggi.last(), 4);
    EXPECT_EQ(server->value("SELECT count(*) FROM Promemoria").toInt(), 4);
}

// The first `count` operations, on a test server only.
std::vector<int> firstOperations(int count) {
    if (!qEnvironmentVariableIsSet("SCADEX_TEST_PGHOST")) return {};
    std::vector<int> operations;
    for (int at = 0; at < count; ++at) operations.push_back(at);
    return operations;
}

const auto kAtStep = [](const auto& info) { return "At" + std::to_string(info.param); };

// A poll: the count and its one statement. A rebuild: the begin, the catalogue, the key's
// comparison of actions, the read of the stored rows, one bulk write and the commit.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(DroppedConnection);
INSTANTIATE_TEST_SUITE_P(EveryStep, DroppedConnection, ::testing::ValuesIn(firstOperations(2)),
                         kAtStep);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(DroppedConnectionInRebuild);
INSTANTIATE_TEST_SUITE_P(EveryStep, DroppedConnectionInRebuild,
                         ::testing::ValuesIn(firstOperations(6)), kAtStep);

}  // namespace
