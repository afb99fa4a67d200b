// The list window's copy of the lines and the reading of a key line.
#include "ui/list/elencoscadenze.h"

#include <gtest/gtest.h>

namespace {

struct CasoChiave {
    const char* nome;
    QString riga;
    std::optional<ChiaveAppuntamento> attesa;
};

class ChiaveTest : public ::testing::TestWithParam<CasoChiave> {};

TEST_P(ChiaveTest, GivesTheThreeFieldsOnlyForAWellFormedLine) {
    const std::optional<ChiaveAppuntamento> chiave = ChiaveAppuntamento::daRiga(GetParam().riga);
    ASSERT_EQ(chiave.has_value(), GetParam().attesa.has_value());
    if (!chiave) return;
    EXPECT_EQ(chiave->cliente, GetParam().attesa->cliente);
    EXPECT_EQ(chiave->azione, GetParam().attesa->azione);
    EXPECT_EQ(chiave->data, GetParam().attesa->data);
}

INSTANTIATE_TEST_SUITE_P(
    Righe, ChiaveTest,
    ::testing::Values(
        CasoChiave{"WellFormed", "1234|VIS|06/12/2026 09:05:00|",
                   ChiaveAppuntamento{"1234", "VIS", "06/12/2026 09:05:00"}},
        CasoChiave{"Midnight", "7|TEL|07/12/2026|", ChiaveAppuntamento{"7", "TEL", "07/12/2026"}},
        CasoChiave{"EmptyAction", "7||07/12/2026|", ChiaveAppuntamento{"7", "", "07/12/2026"}},
        CasoChiave{"SurroundingBlanks", "  7|TEL|07/12/2026|  ",
                   ChiaveAppuntamento{"7", "TEL", "07/12/2026"}},
        CasoChiave{"ExtraParts", "7|TEL|07/12/2026|x|y",
                   ChiaveAppuntamento{"7", "TEL", "07/12/2026"}},
        CasoChiave{"OnlyTheSeparators", "|||", ChiaveAppuntamento{"", "", ""}},
        CasoChiave{"Empty", "", std::nullopt}, CasoChiave{"Blank", "   ", std::nullopt},
        CasoChiave{"NoTrailingSeparator", "7|TEL|07/12/2026", std::nullopt},
        CasoChiave{"TwoSeparators", "7|TEL|", std::nullopt},
        CasoChiave{"NoSeparator", "7 TEL 07/12/2026", std::nullopt}),
    [](const auto& info) { return std::string(info.param.nome); });

TEST(ElencoScadenzeTest, KeepsTheDisplayLinesAndPairsEachWithItsKey) {
    const QStringList righe = {"06/12/26 09:05    1234 VISITA",
                               "07/12/26 10:00       7 TELEFONATA"};
    const ElencoScadenze elenco(righe,
                                {"1234|VIS|06/12/2026 09:05:00|", "7|TEL|07/12/2026 10:00:00|"});
    EXPECT_EQ(elenco.righe(), righe);
    ASSERT_TRUE(elenco.chiave(1).has_value());
    EXPECT_EQ(elenco.chiave(1)->cliente, "7");
    EXPECT_EQ(elenco.chiave(0)->cliente, "1234");
}

TEST(ElencoScadenzeTest, NoKeyOutsideTheLines) {
    const ElencoScadenze elenco({"riga"}, {"1|A|01/01/2027|"});
    EXPECT_FALSE(elenco.chiave(-1).has_value());
    EXPECT_FALSE(elenco.chiave(1).has_value());
    EXPECT_FALSE(ElencoScadenze({}, {}).chiave(0).has_value());
}

TEST(ElencoScadenzeTest, KeyLinesFollowTheNumberOfDisplayLines) {
    const ElencoScadenze corte({"a", "b"}, {"1|A|01/01/2027|"});
    EXPECT_EQ(corte.chiavi(), QStringList({"1|A|01/01/2027|", ""}));
    EXPECT_FALSE(corte.chiave(1).has_value());

    const ElencoScadenze lunghe({"a"}, {"1|A|01/01/2027|", "2|B|01/01/2027|"});
    EXPECT_EQ(lunghe.chiavi(), QStringList({"1|A|01/01/2027|"}));
}

}  // namespace
