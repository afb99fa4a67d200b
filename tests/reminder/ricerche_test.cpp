// Client and action look-ups on a real work database, on each engine.
#include "reminder/ricerche.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPalette>

#include "reminderworkspace.h"

namespace {

struct NameCase {
    const char* name;
    QVariant ragsoc;
    QVariant estesa;
    QString expected;
};

class DescrizioneClienteTest : public ReminderTest<std::tuple<Engine, NameCase>> {};

TEST_P(DescrizioneClienteTest, JoinsNameAndExtendedName) {
    const NameCase& c = std::get<1>(GetParam());
    workspace.addClient(7, c.ragsoc, c.estesa);
    EXPECT_EQ(Ricerche(*workspace.workDb).DescrizioneCliente(7), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Names, DescrizioneClienteTest,
    ::testing::Combine(
        ::testing::ValuesIn(testedEngines()),
        ::testing::Values(NameCase{"TrailingBlanks", QString("ROSSI   "),
                                   QString("MARIO ROSSI & C.  "), "ROSSI >MARIO ROSSI & C."},
                          NameCase{"BlankName", QString("   "), QString("MARIO ROSSI"),
                                   " >MARIO ROSSI"},
                          NameCase{"BlankExtended", QString(" ROSSI "), QString("  "), "ROSSI"},
                          NameCase{"NullExtended", QString("ROSSI"), QVariant(), "ROSSI"},
                          NameCase{"NullName", QVariant(), QVariant(), ""})),
    EngineCaseNamer());

class DescrizioneCliente : public ReminderTest<> {};

TEST_P(DescrizioneCliente, UnknownClientHasNoName) {
    workspace.addClient(7, QString("ROSSI"), QVariant());
    EXPECT_EQ(Ricerche(*workspace.workDb).DescrizioneCliente(8), "");
}

TEST_P(DescrizioneCliente, ClientZeroIsNotLookedUp) {
    workspace.workDb->execute("DROP TABLE Clienti");
    Ricerche ricerche(*workspace.workDb);
    EXPECT_EQ(ricerche.DescrizioneCliente(0), "");
    EXPECT_THROW(ricerche.DescrizioneCliente(1), db::DbError);
}

INSTANTIATE_TEST_SUITE_P(Engines, DescrizioneCliente, ::testing::ValuesIn(testedEngines()),
                         EngineNamer());

struct ColourCase {
    const char* name;
    QVariant stored;
    QColor expected;
};

class ColoreAzioneTest : public ReminderTest<std::tuple<Engine, ColourCase>> {};

TEST_P(ColoreAzioneTest, ReadsTheStoredColour) {
    const ColourCase& c = std::get<1>(GetParam());
    workspace.addAction("VIS", QString(" Visita "), c.stored);
    const std::optional<DatiAzione> azione = Ricerche(*workspace.workDb).azione("VIS");
    ASSERT_TRUE(azione);
    EXPECT_EQ(azione->descrizione, "Visita");
    EXPECT_EQ(azione->colore, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Colours, ColoreAzioneTest,
    ::testing::Combine(
        ::testing::ValuesIn(testedEngines()),
        ::testing::Values(ColourCase{"Red", 255, QColor(255, 0, 0)},
                          ColourCase{"BlueAsText", QString("16711680"), QColor(0, 0, 255)},
                          ColourCase{"Mixed", 0x336699, QColor(0x99, 0x66, 0x33)},
                          ColourCase{"Black", 0, QColor(Qt::black)},
                          ColourCase{"Null", QVariant(), QColor(Qt::black)},
                          ColourCase{"Blank", QString("  "), QColor(Qt::black)},
                          ColourCase{"Word", QString("rosso"), QColor(Qt::black)},
                          ColourCase{"FractionAsText", QString("12,5"), QColor(Qt::black)},
                          ColourCase{"BeyondRgb", 16777216, QColor(Qt::black)},
                          ColourCase{"UnknownSystemColour", -2147483548, QColor(Qt::black)})),
    EngineCaseNamer());

// PostgreSQL keeps the typeless colour column as text: only SQLite holds a real number there.
INSTANTIATE_TEST_SUITE_P(
    RealColours, ColoreAzioneTest,
    ::testing::Combine(::testing::Values(Engine::Sqlite),
                       ::testing::Values(ColourCase{"WholeReal", 65280.0, QColor(0, 255, 0)},
                                         ColourCase{"Fraction", 12.5, QColor(Qt::black)})),
    EngineCaseNamer());

class ColoreAzione : public ReminderTest<> {};

TEST_P(ColoreAzione, TopBitNamesASystemColourInEitherSignConvention) {
    workspace.addAction("SIG", QString("x"), -2147483640);         // window text, signed
    workspace.addAction("UNS", QString("x"), qint64(2147483661));  // highlight, unsigned
    Ricerche ricerche(*workspace.workDb);
    const QPalette palette = QGuiApplication::palette();
    EXPECT_EQ(ricerche.azione("SIG")->colore, palette.color(QPalette::WindowText));
    EXPECT_EQ(ricerche.azione("UNS")->colore, palette.color(QPalette::Highlight));
}

INSTANTIATE_TEST_SUITE_P(Engines, ColoreAzione, ::testing::ValuesIn(testedEngines()),
                         EngineNamer());

class Azione : public ReminderTest<> {};

TEST_P(Azione, CodeWithAnApostropheIsLookedUpAsItIs) {
    workspace.addAction("D'A", QString("Dall'avvocato"), 255);
    workspace.addAction("X", QString("other"), 0);
    Ricerche ricerche(*workspace.workDb);
    ASSERT_TRUE(ricerche.azione("D'A"));
    EXPECT_EQ(ricerche.azione("D'A")->descrizione, "Dall'avvocato");
    EXPECT_FALSE(ricerche.azione("' OR ''='"));
}

TEST_P(Azione, EmptyOrUnknownCodeFindsNothing) {
    workspace.addAction("VIS", QString("Visita"), 255);
    Ricerche ricerche(*workspace.workDb);
    EXPECT_FALSE(ricerche.azione(""));
    EXPECT_FALSE(ricerche.azione("TEL"));
    EXPECT_TRUE(ricerche.azione("vis")) << "codes compare without regard to case";
}

INSTANTIATE_TEST_SUITE_P(Engines, Azione, ::testing::ValuesIn(testedEngines()), EngineNamer());

}  // namespace
