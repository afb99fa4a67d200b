// The contrast of two colours against ratios worked out by hand from the sRGB luminance.
#include "platform/gui/colors.h"

#include <gtest/gtest.h>

namespace {

struct CasoContrasto {
    const char* nome;
    QColor primo;
    QColor secondo;
    double rapporto;  // to two decimals
};

class Contrasto : public ::testing::TestWithParam<CasoContrasto> {};

TEST_P(Contrasto, IsTheKnownRatioWhicheverColourComesFirst) {
    const CasoContrasto& caso = GetParam();
    EXPECT_NEAR(colors::contrastRatio(caso.primo, caso.secondo), caso.rapporto, 0.005);
    EXPECT_NEAR(colors::contrastRatio(caso.secondo, caso.primo), caso.rapporto, 0.005);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, Contrasto,
    ::testing::Values(CasoContrasto{"BlackOnWhite", Qt::black, Qt::white, 21.0},
                      CasoContrasto{"RedOnWhite", QColor(0xff, 0, 0), Qt::white, 4.00},
                      CasoContrasto{"GreyOnWhite", QColor(0x77, 0x77, 0x77), Qt::white, 4.48},
                      CasoContrasto{"BlueOnWhite", QColor(0, 0, 0xff), Qt::white, 8.59},
                      CasoContrasto{"GreenOnBlack", QColor(0, 0xff, 0), Qt::black, 15.30},
                      CasoContrasto{"SameColour", QColor(0x28, 0x55, 0x77),
                                    QColor(0x28, 0x55, 0x77), 1.0}),
    [](const auto& info) { return std::string(info.param.nome); });

}  // namespace
