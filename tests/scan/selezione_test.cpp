// The rebuild of the reminder table from the appointment book.
#include "scan/selezionaappuntamenti.h"

#include <gtest/gtest.h>

#include <tuple>

#include "db/database.h"
#include "support/engineworkspace.h"
#include "support/fakes.h"
#include "util/dateserial.h"

namespace {

// 6 December 2026, the fake clock's day.
constexpr double kOggi = 46362;

double alle(double giorno, int ore, int minuti) {
    return giorno + (ore * 60 + minuti) / 1440.0;
}

class SelezioneBase : public ::testing::Test {
protected:
    explicit SelezioneBase(Engine engine) : ws(engine) {}

    EsitoSelezione esegui() {
        return SelezionaAppuntamenti(*ws.visiteDb, *ws.workDb, platform.clock, platform.yielder,
                                     db::kDefaultBusyTimeout)
            .esegui();
    }
    QList<QVariantList> promemoria() {
        return ws.work().rows(QStringLiteral(
            "SELECT PmCliente, PmData, PmAzione, PmAllarm, PmWait, PmDocumento FROM Promemoria "
            "ORDER BY PmCliente, PmData, PmAzione"));
    }

    FakePlatform platform;
    EngineWorkspace ws;
};

class SelezioneTest : public SelezioneBase, public ::testing::WithParamInterface<Engine> {
protected:
    SelezioneTest() : SelezioneBase(GetParam()) {}
};

struct SelectionCase {
    const char* name;
    QVariant cancellato;
    QVariant stato;
    QVariant allarme;
    double data;
    bool selezionato;
};

class SelectionRuleTest : public SelezioneBase,
                          public ::testing::WithParamInterface<std::tuple<Engine, SelectionCase>> {
protected:
    SelectionRuleTest() : SelezioneBase(std::get<0>(GetParam())) {}
};

TEST_P(SelectionRuleTest, SelectsOnlyLiveAlarmedAppointmentsFromToday) {
    const SelectionCase& c = std::get<1>(GetParam());
    ws.addAppointment(1, c.data, "VIS", c.allarme, c.cancellato, c.stato);
    const EsitoSelezione esito = esegui();
    EXPECT_EQ(esito.conteggio(), c.selezionato ? 1 : 0);
    EXPECT_EQ(promemoria().size(), c.selezionato ? 1 : 0);
    EXPECT_EQ(esito.righe().size(), esito.conteggio());
    EXPECT_EQ(esito.elencoAbilitato(), c.selezionato);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SelectionRuleTest,
    ::testing::Combine(
        ::testing::ValuesIn(testedEngines()),
        ::testing::Values(
            SelectionCase{"Live", "N", "A", 30, alle(kOggi, 10, 0), true},
            SelectionCase{"LowerCaseNo", "n", "a", 30, alle(kOggi, 10, 0), true},
            SelectionCase{"DeletedUpperCase", "S", "A", 30, alle(kOggi, 10, 0), false},
            SelectionCase{"DeletedLowerCase", "s", "A", 30, alle(kOggi, 10, 0), false},
            SelectionCase{"DeleteSortsAfterS", "T", "A", 30, alle(kOggi, 10, 0), false},
            SelectionCase{"DeleteNull", QVariant(), "A", 30, alle(kOggi, 10, 0), false},
            SelectionCase{"StateOther", "N", "B", 30, alle(kOggi, 10, 0), false},
            SelectionCase{"StateNull", "N", QVariant(), 30, alle(kOggi, 10, 0), false},
            SelectionCase{"NoAlarm", "N", "A", 0, alle(kOggi, 10, 0), false},
            SelectionCase{"AlarmNull", "N", "A", QVariant(), alle(kOggi, 10, 0), false},
            SelectionCase{"EarlierToday", "N", "A", 30, alle(kOggi, 0, 5), true},
            SelectionCase{"FirstMomentOfToday", "N", "A", 30, kOggi, true},
            SelectionCase{"LastMomentOfYesterday", "N", "A", 30, kOggi - 1.0 / 86400, false},
            SelectionCase{"Yesterday", "N", "A", 30000, alle(kOggi - 1, 23, 59), false},
            SelectionCase{"NextYear", "N", "A", 5, alle(kOggi + 365, 8, 0), true})),
    [](const auto& info) {
        return engineName(std::get<0>(info.param)) + std::get<1>(info.param).name;
    });

TEST_P(SelezioneTest, WritesTheLinesTheListWindowShows) {
    ws.addAppointment(1234, alle(kOggi, 9, 5), "VIS", 30, "N", "A", "Portare referti",
                      "Visita di controllo");
    const EsitoSelezione esito = esegui();
    ASSERT_EQ(esito.righe().size(), 1);
    EXPECT_EQ(esito.righe()[0], QStringLiteral("06/12/26 09:05    1234 Visita di controllo") +
                                    QString(31, ' ') + QStringLiteral(" Portare referti"));
    EXPECT_EQ(esito.chiavi(), QList<ChiavePromemoria>({{1234, alle(kOggi, 9, 5), "VIS"}}));
    EXPECT_EQ(esito.didascalia(), "PROMEMORIA: 1 APPUNTAMENTI");
}

TEST_P(SelezioneTest, LineEdgeCases) {
    ws.addAppointment(9999999, alle(kOggi + 1, 0, 0), "TELEFONATA", 10, "N", "A", {},
                      QString(60, 'c'));
    ws.addAppointment(9999998, alle(kOggi + 1, 8, 0), {}, 10);
    const EsitoSelezione esito = esegui();
    ASSERT_EQ(esito.righe().size(), 2);
    const int i = esito.chiavi()[0].cliente == 9999999 ? 0 : 1;
    EXPECT_EQ(esito.righe()[i], "07/12/26 00:00         " + QString(50, 'c') + "  ");
    EXPECT_EQ(esito.chiavi()[i], (ChiavePromemoria{9999999, alle(kOggi + 1, 0, 0), "TELEFO"}));
    EXPECT_EQ(esito.righe()[1 - i], "07/12/26 08:00 9999998 " + QString(50, ' ') + "  ");
    EXPECT_EQ(esito.chiavi()[1 - i], (ChiavePromemoria{9999998, alle(kOggi + 1, 8, 0), ""}));
}

TEST_P(SelezioneTest, AlarmMomentUsesTheLeadRoundedToFourDecimalsOfADay) {
    const double momento = alle(kOggi, 10, 0);
    ws.addAppointment(1, momento, "A30", 30);
    ws.addAppointment(1, momento, "A60", 60);
    ws.addAppointment(1, momento, "A90", 90);
    ws.addAppointment(1, momento, "A1440", 1440, "N", "A", {}, {}, "C:\\DOC\\a b.pdf");
    esegui();
    const QList<QVariantList> righe = promemoria();
    ASSERT_EQ(righe.size(), 4);
    const QList<double> anticipi = {1.0, 0.0208, 0.0417, 0.0625};  // A1440, A30, A60, A90
    for (int i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(righe[i][3].toDouble(), momento - anticipi[i])
            << righe[i][2].toString().toStdString();
        EXPECT_EQ(righe[i][4], " ");
    }
    EXPECT_EQ(righe[0][5], "C:\\DOC\\a b.pdf");
    EXPECT_EQ(righe[1][5], " ");
    // 09:30:02.9, not 09:30:00.
    EXPECT_EQ(dateserial::toDateTime(righe[1][3].toDouble()).time(), QTime(9, 30, 2, 880));
}

TEST_P(SelezioneTest, ActionsSharingSixCharactersShareOneRowButKeepTwoLines) {
    ws.addAppointment(7, alle(kOggi, 11, 0), "CONTROLLO1", 10, "N", "A", {}, {}, "primo");
    ws.addAppointment(7, alle(kOggi, 11, 0), "controllo2", 20, "N", "A", {}, {}, "secondo");
    const EsitoSelezione esito = esegui();
    EXPECT_EQ(esito.conteggio(), 2);
    EXPECT_EQ(esito.righe().size(), 2);
    const QList<QVariantList> righe = promemoria();
    ASSERT_EQ(righe.size(), 1);
    EXPECT_EQ(righe[0][2].toString().toUpper(), "CONTRO");
}

TEST_P(SelezioneTest, EveryRebuildStartsFromAnEmptyTableWithNothingHandedOver) {
    ws.addAppointment(1, alle(kOggi, 10, 0), "VIS", 30);
    esegui();
    ws.work().exec("UPDATE Promemoria SET PmWait = 'S'");
    ws.work().exec("INSERT INTO Promemoria VALUES (5, 1, 'OLD', 1, 'S', ' ')");
    esegui();
    const QList<QVariantList> righe = promemoria();
    ASSERT_EQ(righe.size(), 1);
    EXPECT_EQ(righe[0][4], " ");
}

TEST_P(SelezioneTest, NothingSelectedDisablesTheListCommand) {
    const EsitoSelezione esito = esegui();
    EXPECT_EQ(esito.didascalia(), "PROMEMORIA: 0 APPUNTAMENTI");
    EXPECT_FALSE(esito.elencoAbilitato());
    EXPECT_TRUE(esito.righe().isEmpty());
}

TEST_P(SelezioneTest, UnreadableAppointmentsAreSkippedAndTheOthersWritten) {
    ws.addAppointment(1, alle(kOggi, 10, 0), "VIS", 30);
    ws.addAppointment(QVariant(), alle(kOggi, 11, 0), "VIS", 30);
    ws.addAppointment(4, alle(kOggi, 13, 0), "VIS", 30);
    // Only SQLite keeps a text in a date column.
    if (ws.engine == Engine::Sqlite) {
        ws.addAppointment(2, 0, "VIS", 30);
        ws.visite().exec("UPDATE Appuntamenti SET ApData = '31/02/2026' WHERE ApCliente = 2");
    }
    const EsitoSelezione esito = esegui();
    EXPECT_EQ(esito.conteggio(), 2);
    const QList<QVariantList> righe = promemoria();
    ASSERT_EQ(righe.size(), 2);
    EXPECT_EQ(righe[0][0], 1);
    EXPECT_EQ(righe[1][0], 4);
}

TEST_P(SelezioneTest, YieldsBeforeTheTransactionSoOthersCanWrite) {
    ws.addAppointment(1, alle(kOggi, 10, 0), "VIS", 30);
    platform.yielder.onYield = [&] {
        const auto work = directSql(ws.engine, ws.workPath);
        waitForNoLock(ws.engine, *work);
        work->exec("INSERT INTO Clienti VALUES (1, 'ROSSI', '')");
        const auto visite = directSql(ws.engine, ws.visitePath);
        waitForNoLock(ws.engine, *visite);
        visite->exec("UPDATE Appuntamenti SET ApNote = 'nuova'");
    };
    const EsitoSelezione esito = esegui();
    EXPECT_EQ(platform.yielder.yields, 1);
    EXPECT_TRUE(esito.righe()[0].endsWith(" nuova"));
}

INSTANTIATE_TEST_SUITE_P(Engines, SelezioneTest, ::testing::ValuesIn(testedEngines()),
                         EngineNamer());

}  // namespace
