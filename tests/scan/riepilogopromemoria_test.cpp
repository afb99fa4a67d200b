// The tray icon's summary: the next alarm after a moment, and the tooltip text.
#include "scan/riepilogopromemoria.h"

#include <gtest/gtest.h>

#include "scan/selezionaappuntamenti.h"
#include "support/engineworkspace.h"
#include "support/fakes.h"

namespace {

constexpr double kOggi = 46362;  // 6 December 2026
constexpr double kOra = 1.0 / 24;
constexpr double kMinuto = 1.0 / 1440;

RiepilogoPromemoria riepilogoDi(QList<double> allarmi) {
    EsitoSelezione esito;
    esito.appuntamenti.resize(allarmi.size());
    esito.allarmi = std::move(allarmi);
    RiepilogoPromemoria riepilogo;
    riepilogo.aggiorna(esito);
    return riepilogo;
}

struct NextAlarmCase {
    const char* name;
    QList<double> allarmi;
    double adesso;
    std::optional<double> prossimo;
};

class NextAlarmTest : public ::testing::TestWithParam<NextAlarmCase> {};

TEST_P(NextAlarmTest, IsTheEarliestAlarmStillToCome) {
    const NextAlarmCase& c = GetParam();
    EXPECT_EQ(riepilogoDi(c.allarmi).prossimoAllarme(c.adesso), c.prossimo);
}

INSTANTIATE_TEST_SUITE_P(
    Alarms, NextAlarmTest,
    ::testing::Values(NextAlarmCase{"NoReminders", {}, kOggi + 9 * kOra, std::nullopt},
                      NextAlarmCase{"AllPassed",
                                    {kOggi + 8 * kOra, kOggi + 9 * kOra},
                                    kOggi + 10 * kOra,
                                    std::nullopt},
                      NextAlarmCase{"UnorderedLinesGiveTheEarliest",
                                    {kOggi + 2, kOggi + 11 * kOra, kOggi + 1, kOggi + 10 * kOra},
                                    kOggi + 9 * kOra,
                                    kOggi + 10 * kOra},
                      NextAlarmCase{"PassedAlarmsAreSkipped",
                                    {kOggi + 8 * kOra, kOggi + 12 * kOra, kOggi + 9 * kOra},
                                    kOggi + 9 * kOra + kMinuto,
                                    kOggi + 12 * kOra},
                      NextAlarmCase{"AnAlarmAtThisMomentIsDueNotNext",
                                    {kOggi + 9 * kOra, kOggi + 9 * kOra + kMinuto},
                                    kOggi + 9 * kOra,
                                    kOggi + 9 * kOra + kMinuto}),
    [](const ::testing::TestParamInfo<NextAlarmCase>& info) { return info.param.name; });

TEST(RiepilogoPromemoriaTest, TooltipSaysTheCountAndTheNextAlarm) {
    const RiepilogoPromemoria riepilogo =
        riepilogoDi({kOggi + 9.5 * kOra, kOggi + 1 + 10 * kOra, kOggi + 8 * kOra});
    EXPECT_EQ(riepilogo.conteggio(), 3);
    EXPECT_EQ(riepilogo.suggerimento(kOggi + 9 * kOra),
              "PROMEMORIA: 3 APPUNTAMENTI\nPROSSIMO AVVISO: 06/12/2026 09:30:00");
    EXPECT_EQ(riepilogo.suggerimento(kOggi + 1 + 11 * kOra),
              "PROMEMORIA: 3 APPUNTAMENTI\nNESSUN AVVISO IN ARRIVO");
}

TEST(RiepilogoPromemoriaTest, BeforeAnyRebuildTheTooltipIsTheFirstCaption) {
    EXPECT_EQ(RiepilogoPromemoria().suggerimento(kOggi), "PROMEMORIA \nNESSUN AVVISO IN ARRIVO");
}

// The summary relies on the rebuild reporting exactly the alarm moments it wrote.
TEST(RiepilogoPromemoriaTest, RebuildReportsTheAlarmsItWrote) {
    FakePlatform platform;
    EngineWorkspace ws(Engine::Sqlite);
    ws.addAppointment(1234, kOggi + 10 * kOra, "VIS", 30);
    ws.addAppointment(77, kOggi + 1 + 15 * kOra, "TEL", 1440);
    const EsitoSelezione esito = SelezionaAppuntamenti(*ws.visiteDb, *ws.workDb, platform.clock,
                                                       platform.yielder, db::kDefaultBusyTimeout)
                                     .esegui();
    QList<double> scritti;
    for (const QVariantList& riga : ws.work().rows("SELECT PmAllarm FROM Promemoria")) {
        scritti.append(riga[0].toDouble());
    }
    QList<double> riportati = esito.allarmi;
    std::sort(scritti.begin(), scritti.end());
    std::sort(riportati.begin(), riportati.end());
    EXPECT_EQ(riportati, scritti);
    ASSERT_EQ(riportati.size(), 2);
    EXPECT_NEAR(riportati[0], kOggi + 10 * kOra - 0.0208, 1e-9);  // the lead kept to 4 decimals
    EXPECT_NEAR(riportati[1], kOggi + 15 * kOra, 1e-9);
}

}  // namespace
