// The list window's resize rule.
#include "ui/list/disposizionelista.h"

#include <gtest/gtest.h>

namespace {

struct CasoArea {
    QSize area;
    QRect lista;
    QRect pulsante;
};

class DisposizioneTest : public ::testing::TestWithParam<CasoArea> {};

TEST_P(DisposizioneTest, ListFillsTheAreaAndTheButtonRunsAlongTheBottom) {
    const DisposizioneLista disposizione = DisposizioneLista::perArea(GetParam().area);
    EXPECT_EQ(disposizione.lstApp, GetParam().lista);
    EXPECT_EQ(disposizione.Command1, GetParam().pulsante);
}

INSTANTIATE_TEST_SUITE_P(
    Aree, DisposizioneTest,
    ::testing::Values(
        // The designed client area gives the designed controls.
        CasoArea{{9525, 5970}, {0, 225, 9505, 5340}, {0, 5600, 9505, 375}},
        CasoArea{{15000, 9000}, {0, 225, 14980, 8370}, {0, 8630, 14980, 375}},
        // Smaller than the rule allows: sizes stop at zero, the button height stays.
        CasoArea{{10, 600}, {0, 225, 0, 0}, {0, 230, 0, 375}},
        CasoArea{{0, 0}, {0, 225, 0, 0}, {0, -370, 0, 375}}));

}  // namespace
