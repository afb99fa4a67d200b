// The list window's copy of the lines and the key of a selected line.
#include "ui/list/elencoscadenze.h"

#include <gtest/gtest.h>

namespace {

TEST(ElencoScadenzeTest, PairsEachDisplayLineWithItsKey) {
    const ChiavePromemoria prima{1, 46362.5, "A"};
    const ChiavePromemoria seconda{2, 46363.5, "B"};
    const ElencoScadenze elenco({"a", "b"}, {prima, seconda});
    EXPECT_EQ(elenco.righe(), QStringList({"a", "b"}));
    EXPECT_EQ(elenco.chiave(1), seconda);
    EXPECT_FALSE(elenco.chiave(-1) || elenco.chiave(2));
    // A line without a key, or a key without a line, opens nothing.
    EXPECT_FALSE(ElencoScadenze({"a", "b"}, {prima}).chiave(1));
    EXPECT_FALSE(ElencoScadenze({"a"}, {prima, seconda}).chiave(1));
}

}  // namespace
