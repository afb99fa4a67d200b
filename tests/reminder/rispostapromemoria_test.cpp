// The writes of "&IMPOSTA AVVISO" and "&NON AVVISARE PIU'" on real databases of each engine.
#include "reminder/rispostapromemoria.h"

#include <gtest/gtest.h>

#include "db/schema.h"
#include "reminder/schedapromemoria.h"
#include "reminderworkspace.h"

namespace schema = db::schema;

namespace {

const QDateTime kMoment(QDate(2024, 3, 15), QTime(10, 30));
const ChiavePromemoria kKey = keyOf(1234, kMoment, QStringLiteral("VIS"));

double serialOf(const QDateTime& moment) {
    return keyOf(0, moment, "").data;
}

template <typename Param>
class RispostaFixture : public ReminderTest<Param> {
protected:
    using ReminderTest<Param>::workspace;

    void SetUp() override { workspace.add({kKey, 90.0, {}, {}, QString("doc.pdf")}); }

    // Loads the reminder as the window does and answers with `risposta`.
    template <typename Answer>
    void answer(Answer risposta) {
        SchedaPromemoria scheda(*workspace.visiteDb, *workspace.workDb, kKey);
        RispostaPromemoria azioni(scheda.appuntamento(), scheda.promemoria());
        risposta(azioni);
    }

    QVariant appointment(const QString& field) { return workspace.appointmentField(kKey, field); }
    QVariant reminder(const QString& field) { return workspace.reminderField(kKey, field); }
};

class RispostaTest : public RispostaFixture<Engine> {};

struct AmountCase {
    const char* name;
    const char* typed;
    UnitaAllarme unita;
    double minutes;
    QDateTime alarm;
};

class ImpostaAvvisoTest : public RispostaFixture<std::tuple<Engine, AmountCase>> {};

TEST_P(ImpostaAvvisoTest, StoresTheLeadAndTheAlarmMoment) {
    const AmountCase& c = std::get<1>(GetParam());
    answer([&c](RispostaPromemoria& r) { EXPECT_TRUE(r.impostaAvviso(c.typed, c.unita, false)); });
    EXPECT_DOUBLE_EQ(appointment(schema::kApAllarm).toDouble(), c.minutes);
    EXPECT_NEAR(reminder(schema::kPmAllarm).toDouble(), serialOf(c.alarm), 1e-9);
    EXPECT_EQ(reminder(schema::kPmWait).toString(), " ");
}

INSTANTIATE_TEST_SUITE_P(
    Amounts, ImpostaAvvisoTest,
    ::testing::Combine(
        ::testing::ValuesIn(testedEngines()),
        ::testing::Values(AmountCase{"TwoHours", "2", UnitaAllarme::Ore, 120,
                                     QDateTime(QDate(2024, 3, 15), QTime(8, 30))},
                          AmountCase{"DayAndAHalf", "1,5", UnitaAllarme::Giorni, 2160,
                                     QDateTime(QDate(2024, 3, 13), QTime(22, 30))},
                          AmountCase{"Minutes", "30", UnitaAllarme::Minuti, 30,
                                     QDateTime(QDate(2024, 3, 15), QTime(10, 0))},
                          AmountCase{"Empty", "", UnitaAllarme::Ore, 0, kMoment},
                          AmountCase{"Word", "abc", UnitaAllarme::Giorni, 0, kMoment},
                          AmountCase{"NoDate", "1/2/x", UnitaAllarme::Minuti, 0, kMoment},
                          AmountCase{"Negative", "-15", UnitaAllarme::Minuti, -15,
                                     QDateTime(QDate(2024, 3, 15), QTime(10, 45))})),
    EngineCaseNamer());

TEST_P(RispostaTest, ImpostaAvvisoStoresADetachedDocumentAsEmptyText) {
    answer([](RispostaPromemoria& r) {
        EXPECT_TRUE(r.impostaAvviso("5", UnitaAllarme::Minuti, true));
    });
    EXPECT_EQ(appointment(schema::kApDocumento).toString(), "");
    EXPECT_FALSE(appointment(schema::kApDocumento).isNull());
}

// The host may have changed the document since the last rebuild copied it: only a detach
// touches it.
TEST_P(RispostaTest, ImpostaAvvisoKeepsTheAppointmentsOwnDocument) {
    workspace.visite().exec("UPDATE Appuntamenti SET ApDocumento = 'nuovo.pdf'");
    answer([](RispostaPromemoria& r) {
        EXPECT_TRUE(r.impostaAvviso("5", UnitaAllarme::Minuti, false));
    });
    EXPECT_EQ(appointment(schema::kApDocumento).toString(), "nuovo.pdf");
    EXPECT_DOUBLE_EQ(appointment(schema::kApAllarm).toDouble(), 5);
}

TEST_P(RispostaTest, AlarmBeforeDayZeroStopsInstead) {
    answer([](RispostaPromemoria& r) {
        EXPECT_TRUE(r.impostaAvviso("99999", UnitaAllarme::Giorni, true));
    });
    EXPECT_DOUBLE_EQ(appointment(schema::kApAllarm).toDouble(), 0);
    EXPECT_EQ(appointment(schema::kApDocumento).toString(), "doc.pdf");
    EXPECT_FALSE(workspace.reminderExists(kKey));
}

TEST_P(RispostaTest, NonAvvisarePiuStopsAndKeepsTheDocument) {
    answer([](RispostaPromemoria& r) { EXPECT_TRUE(r.nonAvvisarePiu()); });
    EXPECT_DOUBLE_EQ(appointment(schema::kApAllarm).toDouble(), 0);
    EXPECT_EQ(appointment(schema::kApDocumento).toString(), "doc.pdf");
    EXPECT_FALSE(workspace.reminderExists(kKey));
}

TEST_P(RispostaTest, MissingAppointmentIsNotSavedAndTheReminderStays) {
    workspace.visite().exec("DELETE FROM Appuntamenti");
    answer([](RispostaPromemoria& r) {
        EXPECT_FALSE(r.impostaAvviso("10", UnitaAllarme::Minuti, false));
        EXPECT_FALSE(r.nonAvvisarePiu());
    });
    EXPECT_TRUE(workspace.reminderExists(kKey));
}

// The host's action as stored, the reminder's, and whether the reminder finds its one
// appointment by the rebuild's rule: the first six characters, blanks removed, Null as empty.
struct AzioneOspite {
    const char* name;
    QVariant azione;
    const char* delPromemoria;
    QVariant altra;  // a second appointment at the same moment, if any
    bool salvata;
};

class AzioneOspiteTest : public RispostaFixture<std::tuple<Engine, AzioneOspite>> {};

TEST_P(AzioneOspiteTest, TheAnswerReachesTheOneAppointmentOfTheReminder) {
    const AzioneOspite& c = std::get<1>(GetParam());
    const QString chiaveAzione = QString::fromLatin1(c.delPromemoria);
    const ChiavePromemoria chiave = keyOf(77, kMoment, chiaveAzione);
    workspace.addAppointment(chiave.cliente, chiave.data, c.azione, 30);
    if (!c.altra.isNull()) workspace.addAppointment(chiave.cliente, chiave.data, c.altra, 30);
    workspace.work().exec("INSERT INTO Promemoria VALUES (?, ?, ?, 1, 'S', ' ')",
                          {chiave.cliente, chiave.data, chiaveAzione});
    SchedaPromemoria scheda(*workspace.visiteDb, *workspace.workDb, chiave);
    RispostaPromemoria risposta(scheda.appuntamento(), scheda.promemoria());
    EXPECT_EQ(risposta.nonAvvisarePiu(), c.salvata);
    EXPECT_EQ(workspace.reminderExists(chiave), !c.salvata);
    const QVariant lead =
        workspace.visite().value("SELECT min(ApAllarm) FROM Appuntamenti WHERE ApCliente = 77");
    EXPECT_EQ(lead.toDouble(), c.salvata ? 0 : 30);
}

INSTANTIATE_TEST_SUITE_P(
    Azioni, AzioneOspiteTest,
    ::testing::Combine(
        ::testing::ValuesIn(testedEngines()),
        ::testing::Values(AzioneOspite{"Null", QVariant(), "", QVariant(), true},
                          AzioneOspite{"Longer", "VISITA1", "VISITA", QVariant(), true},
                          AzioneOspite{"Blanks", " VIS ", "VIS", QVariant(), true},
                          AzioneOspite{"TwoOfThem", "VISITA1", "VISITA", "VISITA2", false})),
    EngineCaseNamer());

// The poll's rebuild may empty and refill the reminder table while the window is open. The
// row it writes anew under the same key is another row (another rowid: an engine need not
// reuse one), so the answer goes to the appointment and the row is left to the next rebuild,
// neither overwritten from the stale load nor doubled; a row the rebuild dropped stays away.
TEST_P(RispostaTest, ReminderRowRebuiltMeanwhileIsLeftToTheNextRebuild) {
    SchedaPromemoria scheda(*workspace.visiteDb, *workspace.workDb, kKey);
    workspace.work().exec("DELETE FROM Promemoria");
    workspace.work().exec("INSERT INTO Promemoria VALUES (1, ?, 'VIS', 1, 'S', 'other')",
                          {kKey.data});
    workspace.work().exec("INSERT INTO Promemoria VALUES (?, ?, 'VIS', 1, 'S', 'rebuilt')",
                          {kKey.cliente, kKey.data});
    EXPECT_TRUE(RispostaPromemoria(scheda.appuntamento(), scheda.promemoria())
                    .impostaAvviso("3", UnitaAllarme::Ore, false));
    EXPECT_DOUBLE_EQ(appointment(schema::kApAllarm).toDouble(), 180);
    EXPECT_DOUBLE_EQ(reminder(schema::kPmAllarm).toDouble(), 1);
    EXPECT_EQ(reminder(schema::kPmWait).toString(), "S");
    EXPECT_EQ(reminder(QStringLiteral("count(*)")).toInt(), 1);
}

TEST_P(RispostaTest, ReminderRowDroppedMeanwhileStaysAwayAndTheAppointmentChanges) {
    SchedaPromemoria scheda(*workspace.visiteDb, *workspace.workDb, kKey);
    workspace.work().exec("DELETE FROM Promemoria");
    RispostaPromemoria risposta(scheda.appuntamento(), scheda.promemoria());
    EXPECT_TRUE(risposta.impostaAvviso("3", UnitaAllarme::Ore, false));
    EXPECT_DOUBLE_EQ(appointment(schema::kApAllarm).toDouble(), 180);
    EXPECT_FALSE(workspace.reminderExists(kKey));
    EXPECT_TRUE(risposta.nonAvvisarePiu());
    EXPECT_DOUBLE_EQ(appointment(schema::kApAllarm).toDouble(), 0);
}

// The answer is lost when the appointment cannot take it: the caller learns so, the details
// go to the diagnostic output, and the reminder row is left as it was rather than half answered.
TEST_P(RispostaTest, FailedAppointmentWriteIsNotSaved) {
    SchedaPromemoria scheda(*workspace.visiteDb, *workspace.workDb, kKey);
    workspace.visite().exec("UPDATE Appuntamenti SET ApData = ApData + 1");
    const double allarme = reminder(schema::kPmAllarm).toDouble();
    RispostaPromemoria risposta(scheda.appuntamento(), scheda.promemoria());
    testing::internal::CaptureStderr();
    EXPECT_FALSE(risposta.impostaAvviso("3", UnitaAllarme::Ore, false));
    EXPECT_FALSE(risposta.nonAvvisarePiu());
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_NE(told.find("SCADEX: risposta al promemoria non salvata: "), std::string::npos) << told;
    EXPECT_NE(told.find("deleted or replaced"), std::string::npos) << told;
    EXPECT_DOUBLE_EQ(reminder(schema::kPmAllarm).toDouble(), allarme);
    EXPECT_TRUE(workspace.reminderExists(kKey));
}

INSTANTIATE_TEST_SUITE_P(Engines, RispostaTest, ::testing::ValuesIn(testedEngines()),
                         EngineNamer());

}  // namespace
