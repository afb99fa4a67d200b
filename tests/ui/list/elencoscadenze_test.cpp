// The list window's copy of the lines and the reading of a key line.
#include "ui/list/elencoscadenze.h"
#include "support/casenames.h"

#include <gtest/gtest.h>

namespace {

// The fields a key gives, or nothing at all.
QStringList campi(const std::optional<ChiaveAppuntamento>& chiave) {
    return chiave ? QStringList{chiave->cliente, chiave->azione, chiave->data} : QStringList{};
}

class ChiaveTest : public ::testing::TestWithParam<std::pair<QString, QStringList>> {};

TEST_P(ChiaveTest, GivesTheThreeFieldsOnlyForAWellFormedLine) {
    EXPECT_EQ(campi(ChiaveAppuntamento::daRiga(GetParam().first)), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(
    Righe, ChiaveTest,
    ::testing::Values(std::pair{"1234|VIS|06/12/2026 09:05:00|",
                                QStringList{"1234", "VIS", "06/12/2026 09:05:00"}},
                      std::pair{"  7||07/12/2026|  ", QStringList{"7", "", "07/12/2026"}},
                      std::pair{"7|TEL|07/12/2026|x|y", QStringList{"7", "TEL", "07/12/2026"}},
                      std::pair{"|||", QStringList{"", "", ""}}, std::pair{"", QStringList{}},
                      std::pair{"   ", QStringList{}}, std::pair{"7|TEL|07/12/2026", QStringList{}},
                      std::pair{"7|TEL|", QStringList{}},
                      std::pair{"7 TEL 07/12/2026", QStringList{}}),
    (CaseNames{"WellFormed", "FieldsTrimmed", "PartsBeyondTheThird", "EmptyFields", "Empty",
               "Blank", "NoFinalBar", "TwoFields", "NoBars"}));

TEST(ElencoScadenzeTest, PairsEachDisplayLineWithItsKeyLine) {
    const ElencoScadenze elenco({"a", "b"}, {"1|A|01/01/2027|", "2|B|02/01/2027|"});
    EXPECT_EQ(elenco.righe(), QStringList({"a", "b"}));
    EXPECT_EQ(campi(elenco.chiave(1)), QStringList({"2", "B", "02/01/2027"}));
    EXPECT_FALSE(elenco.chiave(-1) || elenco.chiave(2));
    // Key lines follow the number of display lines: missing ones are empty, extra ones dropped.
    EXPECT_EQ(ElencoScadenze({"a", "b"}, {"1|A|x|"}).chiavi(), QStringList({"1|A|x|", ""}));
    EXPECT_EQ(ElencoScadenze({"a"}, {"1|A|x|", "2|B|y|"}).chiavi(), QStringList({"1|A|x|"}));
}

}  // namespace
