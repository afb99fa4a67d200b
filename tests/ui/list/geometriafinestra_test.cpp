// Restoring and saving a window's geometry keys, in twips, on a configuration file.
#include "ui/list/geometriafinestra.h"

#include <gtest/gtest.h>

#include "app/ini.h"
#include "support/casenames.h"
#include "support/tempdir.h"
#include "ui/list/stampa.h"

namespace {

const QSize kSchermo(19200, 15360);  // 1280 x 1024 pixels at 96 dpi

struct CasoRipristino {
    QByteArray chiavi;  // lines of the ListaApp section
    std::optional<QRect> atteso;
    bool ridimensionabile = true;
    QSizeF progetto = QSizeF(9525, 5970);
};

class RipristinoTest : public ::testing::TestWithParam<CasoRipristino> {};

TEST_P(RipristinoTest, GivesTheOuterRectangleOrMaximised) {
    const TestFolder cartella;
    const QString ini = cartella.write("Gestar.ini", "[ListaApp]\n" + GetParam().chiavi);
    EXPECT_EQ(GeometriaFinestra(ini, "ListaApp", kSchermo)
                  .daRipristinare(GetParam().progetto, GetParam().ridimensionabile),
              GetParam().atteso);
}

INSTANTIATE_TEST_SUITE_P(
    Chiavi, RipristinoTest,
    ::testing::Values(
        CasoRipristino{"", QRect(0, 0, 9525, 5970)},
        CasoRipristino{"WSTATE=0\nDIMX=6000\nDIMY=4000\nPOSX=300\nPOSY=450",
                       QRect(300, 450, 6000, 4000)},
        // Negative coordinates centre (halves to even), zero is the edge.
        CasoRipristino{"DIMX=6001\nDIMY=4000\nPOSX=-1\nPOSY=-60", QRect(6600, 5680, 6001, 4000)},
        CasoRipristino{"DIMX=6000\nDIMY=4000\nPOSX=0\nPOSY=-1", QRect(0, 5680, 6000, 4000)},
        // Sizes are limited to the screen, before centring.
        CasoRipristino{"DIMX=30000\nDIMY=20000\nPOSX=-60\nPOSY=-60", QRect(0, 0, 19200, 15360)},
        CasoRipristino{"", QRect(0, 0, 19200, 15360), true, QSizeF(25000, 16000)},
        // No usable size: the designed one.
        CasoRipristino{"DIMX=0\nDIMY=-1\nPOSX=15\nPOSY=30", QRect(15, 30, 9525, 5970)},
        CasoRipristino{"DIMX=abc\nDIMY=\nPOSX=x1\nPOSY=31/02/2026", QRect(0, 0, 9525, 5970)},
        CasoRipristino{"DIMX=6000,5\nDIMY=4001,5", QRect(0, 0, 6000, 4002)},
        // Maximised: no rectangle; minimised (never written) opens normal.
        CasoRipristino{"WSTATE=2\nDIMX=6000\nDIMY=4000", std::nullopt},
        CasoRipristino{"WSTATE=1\nDIMX=6000\nDIMY=4000", QRect(0, 0, 6000, 4000)},
        // A fixed border never reads the size, which is still limited to the screen.
        CasoRipristino{"DIMX=6000\nDIMY=4000\nPOSX=-1", QRect(4838, 0, 9525, 5970), false},
        CasoRipristino{"DIMX=6000", QRect(0, 0, 19200, 5970), false, QSizeF(20000, 5970)},
        // Values beyond their integer type are missing keys.
        CasoRipristino{"WSTATE=65538\nDIMX=4294973296\nDIMY=4000\nPOSX=-4294967296\nPOSY=30",
                       QRect(0, 30, 9525, 4000)},
        // Partly off screen stays; entirely off screen comes to the corner.
        CasoRipristino{"DIMX=6000\nDIMY=4000\nPOSX=18000\nPOSY=15000",
                       QRect(18000, 15000, 6000, 4000)},
        CasoRipristino{"DIMX=6000\nDIMY=4000\nPOSX=19200\nPOSY=300", QRect(0, 0, 6000, 4000)}),
    (CaseNames{"NoKeys", "Saved", "NegativeCentres", "ZeroIsTheEdge", "SizeLimitedBeforeCentring",
               "DesignLimitedToTheScreen", "UnusableSizeIsTheDesign", "NonNumericIsZero",
               "HalvesToEven", "Maximised", "MinimisedOpensNormal", "FixedBorderReadsNoSize",
               "FixedBorderLimitedToTheScreen", "BeyondTheIntegerTypes", "PartlyOffScreenStays",
               "WhollyOffScreenComesBack"}));

struct CasoSalvataggio {
    StatoFinestra stato;
    bool ridimensionabile;
    QStringList attese;  // DIMX, DIMY, POSX, POSY, WSTATE after the save
};

class SalvataggioTest : public ::testing::TestWithParam<CasoSalvataggio> {};

// Keys that the save does not write keep the values of an earlier close ("7").
TEST_P(SalvataggioTest, WritesOnlyTheKeysOfTheState) {
    const TestFolder cartella;
    const QString ini =
        cartella.write("Gestar.ini", "[ListaApp]\nDIMX=7\nDIMY=7\nPOSX=7\nPOSY=7\nWSTATE=7\n");
    EXPECT_EQ(
        GeometriaFinestra(ini, "ListaApp", kSchermo)
            .salva(GetParam().stato, GetParam().ridimensionabile, QRectF(-60, 30, 6000, 4000.4)),
        std::nullopt);
    QStringList lette;
    for (const char* chiave : {"DIMX", "DIMY", "POSX", "POSY", "WSTATE"})
        lette << LeggiIni(ini, "ListaApp", chiave);
    EXPECT_EQ(lette, GetParam().attese);
}

INSTANTIATE_TEST_SUITE_P(
    Stati, SalvataggioTest,
    ::testing::Values(
        CasoSalvataggio{StatoFinestra::Normale, true, {"6000", "4000", "-60", "30", "0"}},
        CasoSalvataggio{StatoFinestra::Normale, false, {"7", "7", "-60", "30", "0"}},
        CasoSalvataggio{StatoFinestra::Massimizzata, true, {"7", "7", "7", "7", "2"}},
        CasoSalvataggio{StatoFinestra::Minimizzata, true, {"7", "7", "7", "7", "2"}}),
    (CaseNames{"NormalSizable", "NormalFixed", "Maximised", "Minimised"}));

// A write the file system refuses stores no key and says why.
TEST(Salvataggio, ARefusedWriteSaysWhy) {
    const TestFolder cartella;
    EXPECT_EQ(GeometriaFinestra(cartella.path("manca/Gestar.ini"), "ListaApp", kSchermo)
                  .salva(StatoFinestra::Normale, true, QRectF(0, 0, 6000, 4000)),
              "cartella inesistente");
}

}  // namespace
