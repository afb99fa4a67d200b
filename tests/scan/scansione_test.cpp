// Polls: hand-overs to the alert program, the periodic rebuild and re-entrancy.
#include "scan/scansione.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QtTest/QTest>

#include "support/engineworkspace.h"
#include "support/fakes.h"
#include "util/dateserial.h"

namespace {

constexpr double kOggi = 46362;  // 6 December 2026

double alle(double giorno, int ore, int minuti) {
    return giorno + (ore * 60 + minuti) / 1440.0;
}

class ScansioneTest : public ::testing::TestWithParam<Engine> {
protected:
    ScansioneTest()
        : ws(GetParam()),
          scansione(*ws.visiteDb, *ws.workDb, ws.fileIni, platform.clock, platform.yielder,
                    platform.launcher,
                    [this](const EsitoSelezione& esito) { selezioni.append(esito); }) {
        platform.clock.moment = QDateTime(QDate(2026, 12, 6), QTime(10, 0));
    }

    void promemoria(const QVariant& cliente, double data, const QString& azione, double allarme,
                    const QString& attesa = " ") {
        ws.work().exec("INSERT INTO Promemoria VALUES (?, ?, ?, ?, ?, ' ')",
                       {cliente, data, azione, allarme, attesa});
    }
    QStringList argomenti() const {
        QStringList result;
        for (const LaunchRecord& launch : platform.launcher.launches) {
            EXPECT_EQ(launch.program, "SCADEX1.EXE");
            EXPECT_EQ(launch.arguments.size(), 1);
            result.append(launch.arguments.value(0));
        }
        return result;
    }
    QString inAttesa(qint32 cliente) {
        return ws.work()
            .value("SELECT PmWait FROM Promemoria WHERE PmCliente = ?", {cliente})
            .toString();
    }

    FakePlatform platform;
    EngineWorkspace ws;
    QList<EsitoSelezione> selezioni;
    Scansione scansione;
};

TEST_P(ScansioneTest, HandsOverDueRemindersInKeyOrderWithRisingCounts) {
    const double ora = alle(kOggi, 10, 0);
    promemoria(1, alle(kOggi, 12, 0), "X", ora - 1, "S");
    promemoria(2, alle(kOggi, 12, 0), "X", ora - 1, "S");
    promemoria(30, alle(kOggi, 10, 30), "VIS", ora);  // exactly now: due
    promemoria(20, alle(kOggi, 11, 0), "TEL", ora - 0.01);
    promemoria(20, alle(kOggi, 10, 0), "VIS", ora - 0.5);
    promemoria(40, alle(kOggi, 11, 0), "VIS", ora + 0.001);  // not yet
    // One client and moment, actions whose order is the index's, without regard to case:
    // "a" before "B", where a byte order would put "B" first.
    promemoria(50, alle(kOggi, 9, 0), "B", ora);
    promemoria(50, alle(kOggi, 9, 0), "a", ora);
    scansione.controllaPromemoria();
    const QString ini = ws.fileIni;
    EXPECT_EQ(
        argomenti(),
        (QStringList{ini + "|3|20|VIS|06/12/2026 10:00:00", ini + "|4|20|TEL|06/12/2026 11:00:00",
                     ini + "|5|30|VIS|06/12/2026 10:30:00", ini + "|6|50|a|06/12/2026 09:00:00",
                     ini + "|7|50|B|06/12/2026 09:00:00"}));
    EXPECT_EQ(inAttesa(30), "S");
    EXPECT_EQ(inAttesa(40), " ");
    EXPECT_EQ(platform.yielder.yields, 6);  // one per hand-over, one after the walk
}

TEST_P(ScansioneTest, ArgumentKeepsBlanksShellCharactersBarsAndAnEmptyAction) {
    Scansione conSpazi(*ws.visiteDb, *ws.workDb, "/home/op/dati Gestar/Gestar.ini", platform.clock,
                       platform.yielder, platform.launcher, [](const EsitoSelezione&) {});
    promemoria(7, kOggi, "", kOggi);
    promemoria(8, kOggi, "$(x);'", kOggi);
    promemoria(9, kOggi, "A|B", kOggi);
    conSpazi.controllaPromemoria();
    EXPECT_EQ(argomenti(), (QStringList{"/home/op/dati Gestar/Gestar.ini|1|7||06/12/2026",
                                        "/home/op/dati Gestar/Gestar.ini|2|8|$(x);'|06/12/2026",
                                        "/home/op/dati Gestar/Gestar.ini|3|9|A|B|06/12/2026"}));
}

TEST_P(ScansioneTest, NothingIsHandedOverTwiceBeforeARebuildNorForNegativeClients) {
    promemoria(-5, kOggi, "VIS", kOggi);
    promemoria(5, kOggi, "VIS", kOggi);
    promemoria(6, kOggi, "VIS", kOggi, "s");  // only "S" counts as handed over
    scansione.controllaPromemoria();
    scansione.controllaPromemoria();
    EXPECT_EQ(argomenti().size(), 2);
    EXPECT_EQ(inAttesa(-5), " ");
}

TEST_P(ScansioneTest, NullAlarmOrWaitIsNeverDue) {
    ws.work().exec("INSERT INTO Promemoria VALUES (1, 1, 'A', NULL, ' ', ' ')");
    ws.work().exec("INSERT INTO Promemoria VALUES (2, 1, 'A', 1, NULL, ' ')");
    scansione.controllaPromemoria();
    EXPECT_TRUE(platform.launcher.launches.isEmpty());
}

TEST_P(ScansioneTest, RebuildsAfterEveryFifteenthPollAndHandsOverAgain) {
    ws.addAppointment(1, alle(kOggi, 10, 20), "VIS", 30);
    scansione.SelezionaAppuntamenti();
    for (int poll = 1; poll <= 14; ++poll) scansione.controllaPromemoria();
    EXPECT_EQ(selezioni.size(), 1);
    EXPECT_EQ(argomenti().size(), 1);
    scansione.controllaPromemoria();
    EXPECT_EQ(selezioni.size(), 2);
    EXPECT_EQ(selezioni.last().didascalia(), "PROMEMORIA: 1 APPUNTAMENTI");
    scansione.controllaPromemoria();
    EXPECT_EQ(argomenti().size(), 2);
    EXPECT_EQ(scansione.contaCicli(), 16);
}

// Between ticks a wake-up hands over what the book brought in, at once; what a rebuild that
// resets the marks re-arms waits for the next tick.
TEST_P(ScansioneTest, AWakeUpHandsOverWhatIsNewAndLeavesTheResetMarksToTheTick) {
    std::optional<double> prossimo;
    scansione.seguiProssimoAllarme([&](std::optional<double> momento) { prossimo = momento; });
    ws.addAppointment(1, alle(kOggi, 10, 20), "VIS", 30);
    scansione.SelezionaAppuntamenti();
    scansione.controllaPromemoria();
    ASSERT_EQ(argomenti().size(), 1);

    ws.addAppointment(2, alle(kOggi, 10, 20), "TEL", 30);
    scansione.richiediSelezione(Segni::Conserva);  // as for the host's write
    ASSERT_TRUE(prossimo);
    EXPECT_LE(*prossimo, dateserial::fromDateTime(platform.clock.moment));  // due at once
    scansione.consegnaDovuti();
    ASSERT_EQ(argomenti().size(), 2);
    EXPECT_EQ(platform.launcher.launches.last().clientAndAction(), "2|TEL");

    scansione.richiediSelezione();  // as after the operator's answer
    EXPECT_FALSE(prossimo);
    scansione.consegnaDovuti();
    EXPECT_EQ(argomenti().size(), 2);
    scansione.controllaPromemoria();
    EXPECT_EQ(argomenti().size(), 4);
}

TEST_P(ScansioneTest, ATickDuringAPollIsDropped) {
    promemoria(1, kOggi, "A", kOggi);
    promemoria(2, kOggi, "A", kOggi);
    platform.yielder.onYield = [&] { scansione.controllaPromemoria(); };
    scansione.controllaPromemoria();
    EXPECT_EQ(scansione.contaCicli(), 1);
    EXPECT_EQ(argomenti().size(), 2);
}

TEST_P(ScansioneTest, ARebuildAskedForDuringTheWalkRunsOnceWhenTheWalkEnds) {
    ws.addAppointment(1, alle(kOggi, 10, 20), "VIS", 30);
    ws.addAppointment(2, alle(kOggi, 10, 20), "VIS", 30);
    scansione.SelezionaAppuntamenti();
    int richieste = 0;
    platform.yielder.onYield = [&] {
        if (richieste++ < 2) {
            scansione.richiediSelezione();
            EXPECT_EQ(selezioni.size(), 1);  // not under the walk
        }
    };
    scansione.controllaPromemoria();
    EXPECT_EQ(argomenti().size(), 2);
    EXPECT_EQ(selezioni.size(), 2);
}

TEST_P(ScansioneTest, ARebuildAskedForDuringARebuildRunsAfterItFromTheEventLoop) {
    ws.addAppointment(1, alle(kOggi, 10, 20), "VIS", 30);
    // Each rebuild asks for another while it runs: run at its end, each would nest in the one
    // before.
    platform.yielder.onYield = [&] {
        if (selezioni.size() < 3) scansione.richiediSelezione();
    };
    scansione.richiediSelezione();
    EXPECT_EQ(selezioni.size(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return selezioni.size() == 4; }, 10000));
}

TEST_P(ScansioneTest, WalkEndsWhenEveryStepFails) {
    ws.work().exec("DROP TABLE Promemoria");
    scansione.controllaPromemoria();
    EXPECT_TRUE(platform.launcher.launches.isEmpty());
    EXPECT_EQ(scansione.contaCicli(), 1);
}

TEST_P(ScansioneTest, AFailingRebuildHoldsNoHandOverBackIsToldAndBacksOff) {
    ws.addAppointment(1, alle(kOggi, 12, 0), "VIS", 30);
    scansione.SelezionaAppuntamenti();
    QList<bool> fermi;
    scansione.seguiStato([&](const StatoScansione& stato) { fermi.append(stato.inGuasto()); });
    ws.visite().exec("ALTER TABLE Appuntamenti RENAME TO Spostati");
    platform.clock.moment = QDateTime(QDate(2026, 12, 6), QTime(11, 45));
    for (int poll = 1; poll <= 17; ++poll) scansione.controllaPromemoria();
    EXPECT_EQ(argomenti().size(), 1);  // from the table as it stood, once
    EXPECT_EQ(selezioni.size(), 1);
    EXPECT_EQ(fermi, QList<bool>{true});  // polls 15, 16 and 17 failed
    EXPECT_EQ(scansione.stato().causa(), "L'ARCHIVIO NON HA LE TABELLE DI GESTAR");
    ws.visite().exec("ALTER TABLE Spostati RENAME TO Appuntamenti");
    // After three failures in a row the next try is the fifteenth poll's.
    for (int poll = 18; poll <= 29; ++poll) scansione.controllaPromemoria();
    EXPECT_EQ(selezioni.size(), 1);
    EXPECT_EQ(fermi, QList<bool>{true});
    scansione.controllaPromemoria();
    EXPECT_EQ(selezioni.size(), 2);
    EXPECT_EQ(fermi, (QList<bool>{true, false}));
}

TEST_P(ScansioneTest, OthersWriteBothFilesWhileAPollYields) {
    promemoria(1, kOggi, "A", kOggi);
    int scritture = 0;
    platform.yielder.onYield = [&] {
        const auto work = directSql(ws.engine, ws.workPath);
        waitForNoLock(ws.engine, *work);
        work->exec("INSERT INTO Clienti VALUES (?, 'ROSSI', '')", {++scritture});
        const auto visite = directSql(ws.engine, ws.visitePath);
        waitForNoLock(ws.engine, *visite);
        visite->exec("UPDATE Appuntamenti SET ApNote = 'x'");
    };
    scansione.controllaPromemoria();
    EXPECT_EQ(scritture, 2);
}

INSTANTIATE_TEST_SUITE_P(Engines, ScansioneTest, ::testing::ValuesIn(testedEngines()),
                         EngineNamer());

// A file replaced or deleted under the running program: a restore, a compaction's copy. The
// next poll and rebuild use what lies at the path now, or fail as any database step does.
struct CasoFile {
    const char* nome;
    const char* file;
    bool sostituito;  // false: deleted
    int consegne;
    bool guasto;
};

class FileSostituito : public ::testing::TestWithParam<CasoFile> {};

TEST_P(FileSostituito, IsReopenedOrTold) {
    EngineWorkspace ws(Engine::Sqlite);
    FakePlatform platform;
    platform.clock.moment = QDateTime(QDate(2026, 12, 6), QTime(10, 0));
    Scansione scansione(*ws.visiteDb, *ws.workDb, ws.fileIni, platform.clock, platform.yielder,
                        platform.launcher, [](const EsitoSelezione&) {});
    scansione.SelezionaAppuntamenti();
    const QString percorso = ws.folder.path(QString::fromLatin1(GetParam().file));
    const QString copia = percorso + QStringLiteral(".copia");
    ASSERT_TRUE(QFile::copy(percorso, copia));
    // The copy of the book holds one more appointment due now, that of the work database its
    // reminder: the rebuild, or the poll alone, finds it only in the file now at the path.
    const bool libro = GetParam().file == QLatin1String("VisiteDV.mdb");
    const auto sql = directSql(Engine::Sqlite, copia);
    if (libro)
        sql->exec("INSERT INTO Appuntamenti VALUES (7, ?, 'VIS', 60, 'N', 'A', '', '', NULL)",
                  {alle(kOggi, 10, 30)});
    else
        sql->exec("INSERT INTO Promemoria VALUES (7, ?, 'VIS', ?, ' ', ' ')",
                  {alle(kOggi, 10, 30), alle(kOggi, 9, 30)});
    ASSERT_TRUE(QFile::remove(percorso));
    if (GetParam().sostituito) {
        ASSERT_TRUE(QFile::rename(copia, percorso));
    }
    if (libro) scansione.richiediSelezione(Segni::Conserva);
    for (int poll = 0; poll < 3; ++poll) scansione.controllaPromemoria();
    EXPECT_EQ(platform.launcher.launches.size(), GetParam().consegne);
    EXPECT_EQ(scansione.stato().inGuasto(), GetParam().guasto);
    if (GetParam().guasto) {
        EXPECT_TRUE(scansione.stato().causa().contains("ARCHIVIO INESISTENTE"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, FileSostituito,
    ::testing::Values(CasoFile{"VisiteReplaced", "VisiteDV.mdb", true, 1, false},
                      CasoFile{"WorkReplaced", "WorkDV.mdb", true, 1, false},
                      CasoFile{"VisiteDeleted", "VisiteDV.mdb", false, 0, true},
                      CasoFile{"WorkDeleted", "WorkDV.mdb", false, 0, true}),
    [](const auto& info) { return std::string(info.param.nome); });

}  // namespace
