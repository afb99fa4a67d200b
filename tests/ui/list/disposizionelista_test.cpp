// The list window's resize rule.
#include "ui/list/disposizionelista.h"

#include <gtest/gtest.h>

#include "support/casenames.h"
#include "ui/list/stampa.h"

namespace {

class DisposizioneTest : public ::testing::TestWithParam<std::tuple<QSize, QRect, QRect>> {};

TEST_P(DisposizioneTest, ListFillsTheAreaAndTheButtonRunsAlongTheBottom) {
    const auto [area, lista, pulsante] = GetParam();
    const DisposizioneLista disposizione = DisposizioneLista::perArea(area);
    EXPECT_EQ(disposizione.lstApp, lista);
    EXPECT_EQ(disposizione.Command1, pulsante);
}

// Too small for the rule: sizes stop at zero, the button keeps its height.
INSTANTIATE_TEST_SUITE_P(
    Aree, DisposizioneTest,
    ::testing::Values(
        std::tuple{QSize(9525, 5970), QRect(0, 225, 9505, 5340), QRect(0, 5600, 9505, 375)},
        std::tuple{QSize(15000, 9000), QRect(0, 225, 14980, 8370), QRect(0, 8630, 14980, 375)},
        std::tuple{QSize(10, 600), QRect(0, 225, 0, 0), QRect(0, 230, 0, 375)}),
    (CaseNames{"Designed", "Larger", "TooSmall"}));

}  // namespace
