// What the reminder window shows, read from real databases on each engine.
#include "reminder/schedapromemoria.h"

#include <gtest/gtest.h>

#include "reminderworkspace.h"

namespace {

const ChiavePromemoria kVenerdi =
    keyOf(1234, QDateTime(QDate(2024, 3, 15), QTime(10, 30)), QStringLiteral("VIS"));

VistaPromemoria loaded(ReminderWorkspace& workspace, const ChiavePromemoria& chiave) {
    return SchedaPromemoria(*workspace.visiteDb, *workspace.workDb, chiave).vista();
}

struct LeadCase {
    const char* name;
    QVariant allarm;
    const char* quantita;
    UnitaAllarme unita;
};

class LeadDisplayTest : public ReminderTest<std::tuple<Engine, LeadCase>> {};

TEST_P(LeadDisplayTest, ShowsTheLeadInTheLargestFittingUnit) {
    const LeadCase& c = std::get<1>(GetParam());
    workspace.add({kVenerdi, c.allarm});
    const VistaPromemoria vista = loaded(workspace, kVenerdi);
    EXPECT_EQ(vista.quantita, c.quantita);
    EXPECT_EQ(vista.unita, c.unita);
}

INSTANTIATE_TEST_SUITE_P(
    Leads, LeadDisplayTest,
    ::testing::Combine(
        ::testing::ValuesIn(testedEngines()),
        ::testing::Values(LeadCase{"Null", QVariant(), "0", UnitaAllarme::Minuti},
                          LeadCase{"Zero", 0.0, "0", UnitaAllarme::Minuti},
                          LeadCase{"Minutes59", 59.0, "59", UnitaAllarme::Minuti},
                          LeadCase{"Hour", 60.0, "1", UnitaAllarme::Ore},
                          LeadCase{"AlmostADay", 1439.0, "23,9833333333333", UnitaAllarme::Ore},
                          LeadCase{"Day", 1440.0, "1", UnitaAllarme::Giorni},
                          LeadCase{"DayAndAHalf", 2160.0, "1,5", UnitaAllarme::Giorni},
                          LeadCase{"NumericText", QString("45"), "45", UnitaAllarme::Minuti})),
    EngineCaseNamer());

// PostgreSQL refuses text in the numeric lead column; only SQLite can hold a word there.
INSTANTIATE_TEST_SUITE_P(WordLeads, LeadDisplayTest,
                         ::testing::Combine(::testing::Values(Engine::Sqlite),
                                            ::testing::Values(LeadCase{"Word", QString("mai"), "0",
                                                                       UnitaAllarme::Minuti})),
                         EngineCaseNamer());

class SchedaPromemoria : public ReminderTest<> {};

TEST_P(SchedaPromemoria, NoteStaysAndTakesTheActionColour) {
    workspace.addAction("VIS", QString("Visita"), 255);
    workspace.add({kVenerdi, 30.0, QString("Portare le analisi")});
    const VistaPromemoria vista = loaded(workspace, kVenerdi);
    EXPECT_EQ(vista.descrizioneAzione, "Portare le analisi");
    EXPECT_EQ(vista.coloreAzione, QColor(255, 0, 0));
}

TEST_P(SchedaPromemoria, BlankNoteGivesWayToTheActionDescription) {
    workspace.addAction("VIS", QString(" Visita "), 0);
    workspace.add({kVenerdi, 30.0, QString("   ")});
    const VistaPromemoria vista = loaded(workspace, kVenerdi);
    EXPECT_EQ(vista.descrizioneAzione, "Visita");
    EXPECT_EQ(vista.coloreAzione, QColor(Qt::black));
}

TEST_P(SchedaPromemoria, UnknownActionKeepsTheBlankNoteInBlack) {
    workspace.add({kVenerdi, 30.0});
    const VistaPromemoria vista = loaded(workspace, kVenerdi);
    EXPECT_EQ(vista.descrizioneAzione, " ");
    EXPECT_EQ(vista.coloreAzione, QColor(Qt::black));
    EXPECT_EQ(vista.titolo, " APPUNTAMENTO 15/03 10:30- ") << "a Null cause reads as a blank";
}

TEST_P(SchedaPromemoria, ActionCodeLongerThanTheKeyFindsItsAppointment) {
    ChiavePromemoria lunga = kVenerdi;
    lunga.azione = "VISITAC";
    workspace.add({lunga, 30.0, QString("nota"), QString("causa"), QString("doc.txt")});
    ChiavePromemoria tagliata = kVenerdi;
    tagliata.azione = "VISITA";
    const VistaPromemoria vista = loaded(workspace, tagliata);
    EXPECT_EQ(vista.dataAppuntamento, "15/03/24");
    EXPECT_EQ(vista.titolo, " APPUNTAMENTO 15/03 10:30-causa");
    EXPECT_EQ(vista.documento, "doc.txt") << "the reminder row carries the cut code";
}

TEST_P(SchedaPromemoria, MissingReminderRowShowsNoDocument) {
    workspace.add({kVenerdi, 30.0, QVariant(), QVariant(), QString("doc.txt"), false});
    const VistaPromemoria vista = loaded(workspace, kVenerdi);
    EXPECT_EQ(vista.documento, "");
    EXPECT_FALSE(vista.documentoPresente());
    EXPECT_EQ(vista.oraAppuntamento, "10:30");
}

TEST_P(SchedaPromemoria, MissingTableFailsTheLoad) {
    workspace.workDb->execute("DROP TABLE TabAzioni");
    EXPECT_THROW(loaded(workspace, kVenerdi), db::DbError);
}

INSTANTIATE_TEST_SUITE_P(Engines, SchedaPromemoria, ::testing::ValuesIn(testedEngines()),
                         EngineNamer());

}  // namespace
