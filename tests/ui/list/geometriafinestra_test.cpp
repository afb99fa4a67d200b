// Restoring and saving a window's geometry keys, in twips, on a configuration file.
#include "ui/list/geometriafinestra.h"

#include <gtest/gtest.h>

#include "app/ini.h"
#include "support/tempdir.h"
#include "ui/list/stampa.h"

namespace {

const QString kSezione = QStringLiteral("ListaApp");
const QSize kSchermo(19200, 15360);  // 1280 x 1024 pixels at 96 dpi
const QSizeF kProgetto(9525, 5970);

struct CasoRipristino {
    const char* nome;
    QByteArray chiavi;  // lines of the ListaApp section
    bool ridimensionabile;
    std::optional<QRect> atteso;
    QSizeF progetto = kProgetto;
};

class RipristinoTest : public ::testing::TestWithParam<CasoRipristino> {
protected:
    TestFolder cartella;
};

TEST_P(RipristinoTest, GivesTheOuterRectangleOrMaximised) {
    const QString ini =
        cartella.write("Gestar.ini", "[BASE]\nOPERATORE=op\n[ListaApp]\n" + GetParam().chiavi);
    const GeometriaFinestra geometria(ini, kSezione, kSchermo);
    EXPECT_EQ(geometria.daRipristinare(GetParam().progetto, GetParam().ridimensionabile),
              GetParam().atteso);
}

INSTANTIATE_TEST_SUITE_P(
    Chiavi, RipristinoTest,
    ::testing::Values(
        CasoRipristino{"NoKeys", "", true, QRect(0, 0, 9525, 5970)},
        CasoRipristino{"Saved", "WSTATE=0\nDIMX=6000\nDIMY=4000\nPOSX=300\nPOSY=450\n", true,
                       QRect(300, 450, 6000, 4000)},
        CasoRipristino{"NegativeCentres", "DIMX=6000\nDIMY=4000\nPOSX=-1\nPOSY=-60\n", true,
                       QRect(6600, 5680, 6000, 4000)},
        CasoRipristino{"ZeroIsTheEdge", "DIMX=6000\nDIMY=4000\nPOSX=0\nPOSY=0\n", true,
                       QRect(0, 0, 6000, 4000)},
        CasoRipristino{"CentreRoundsHalfToEven", "DIMX=6001\nDIMY=4003\nPOSX=-1\nPOSY=-1\n", true,
                       QRect(6600, 5678, 6001, 4003)},
        CasoRipristino{"LargerThanScreen", "DIMX=30000\nDIMY=20000\nPOSX=-60\nPOSY=-60\n", true,
                       QRect(0, 0, 19200, 15360)},
        CasoRipristino{"ZeroSizeIsDesigned", "DIMX=0\nDIMY=0\nPOSX=15\nPOSY=30\n", true,
                       QRect(15, 30, 9525, 5970)},
        CasoRipristino{"DesignedSizeLimitedToScreen", "", true, QRect(0, 0, 19200, 15360),
                       QSizeF(25000, 16000)},
        CasoRipristino{"Maximised", "WSTATE=2\nDIMX=6000\nDIMY=4000\nPOSX=300\nPOSY=450\n", true,
                       std::nullopt},
        CasoRipristino{"MinimisedOpensNormal", "WSTATE=1\nDIMX=6000\nDIMY=4000\n", true,
                       QRect(0, 0, 6000, 4000)},
        CasoRipristino{"FixedBorderIgnoresSavedSize", "DIMX=6000\nDIMY=4000\nPOSX=-1\n", false,
                       QRect(4838, 0, 9525, 5970)},
        CasoRipristino{"FixedBorderLimitedToScreen", "DIMX=6000\n", false, QRect(0, 0, 19200, 5970),
                       QSizeF(20000, 5970)},
        CasoRipristino{"HalvesToEven", "DIMX=6000,5\nDIMY=4001,5\nPOSX=10,5\n", true,
                       QRect(10, 0, 6000, 4002)},
        CasoRipristino{"CommentAfterValue", "DIMX=6000 ; larghezza\nDIMY=4000\tcommento\n", true,
                       QRect(0, 0, 6000, 4000)},
        CasoRipristino{"NotNumbersReadAsZero", "DIMX=abc\nDIMY=\nPOSX=x1\nPOSY=31/02/2026\n", true,
                       QRect(0, 0, 9525, 5970)},
        CasoRipristino{"NegativeSizeIsDesigned", "DIMX=-6000\nDIMY=-1\n", true,
                       QRect(0, 0, 9525, 5970)},
        CasoRipristino{"OversizedValuesAreMissing",
                       "WSTATE=65538\nDIMX=4294973296\nDIMY=4000\nPOSX=-4294967296\nPOSY=30\n",
                       true, QRect(0, 30, 9525, 4000)},
        CasoRipristino{"PartlyBeyondRightAndBottomStays",
                       "DIMX=6000\nDIMY=4000\nPOSX=18000\nPOSY=15000\n", true,
                       QRect(18000, 15000, 6000, 4000)},
        CasoRipristino{"EntirelyOffScreenComesToTheCorner",
                       "DIMX=6000\nDIMY=4000\nPOSX=19200\nPOSY=300\n", true,
                       QRect(0, 0, 6000, 4000)}),
    [](const auto& info) { return std::string(info.param.nome); });

TEST(RipristinoSenzaFileTest, OpensAtTheCornerWithTheDesignedSize) {
    const TestFolder cartella;
    const GeometriaFinestra geometria(cartella.path("manca.ini"), kSezione, kSchermo);
    EXPECT_EQ(geometria.daRipristinare(kProgetto, true), QRect(0, 0, 9525, 5970));
}

struct CasoSalvataggio {
    const char* nome;
    StatoFinestra stato;
    bool ridimensionabile;
    QStringList attese;  // DIMX, DIMY, POSX, POSY, WSTATE after the save
};

class SalvataggioTest : public ::testing::TestWithParam<CasoSalvataggio> {
protected:
    TestFolder cartella;
};

// Keys that the save does not write keep the values of an earlier close ("7").
TEST_P(SalvataggioTest, WritesOnlyTheKeysOfTheState) {
    const QString ini =
        cartella.write("Gestar.ini", "[ListaApp]\nDIMX=7\nDIMY=7\nPOSX=7\nPOSY=7\nWSTATE=7\n");
    GeometriaFinestra(ini, kSezione, kSchermo)
        .salva(GetParam().stato, GetParam().ridimensionabile, QRectF(-60, 30, 6000, 4000.4));
    QStringList lette;
    for (const char* chiave : {"DIMX", "DIMY", "POSX", "POSY", "WSTATE"}) {
        lette << LeggiIni(ini, kSezione, chiave);
    }
    EXPECT_EQ(lette, GetParam().attese);
}

INSTANTIATE_TEST_SUITE_P(
    Stati, SalvataggioTest,
    ::testing::Values(
        CasoSalvataggio{"Normal", StatoFinestra::Normale, true, {"6000", "4000", "-60", "30", "0"}},
        CasoSalvataggio{"FixedBorder", StatoFinestra::Normale, false, {"7", "7", "-60", "30", "0"}},
        CasoSalvataggio{"Maximised", StatoFinestra::Massimizzata, true, {"7", "7", "7", "7", "2"}},
        CasoSalvataggio{"Minimised", StatoFinestra::Minimizzata, true, {"7", "7", "7", "7", "2"}}),
    [](const auto& info) { return std::string(info.param.nome); });

TEST(SalvataggioOrdineTest, NewKeysInOrderWithTheStateLast) {
    const TestFolder cartella;
    const QString ini = cartella.path("Gestar.ini");
    GeometriaFinestra(ini, kSezione, kSchermo)
        .salva(StatoFinestra::Normale, true, QRectF(15, 30, 6000, 4000));
    const QByteArray testo = TestFolder::read(ini);
    qsizetype precedente = -1;
    for (const char* chiave :
         {"[ListaApp]", "DIMX=6000", "DIMY=4000", "POSX=15", "POSY=30", "WSTATE=0"}) {
        const qsizetype posizione = testo.indexOf(chiave);
        EXPECT_GT(posizione, precedente) << chiave << " in\n" << testo.toStdString();
        precedente = posizione;
    }
}

TEST(SalvataggioRipristinoTest, ALeftPlaceBeyondTheEdgeReopensCentredOnThatAxis) {
    const TestFolder cartella;
    const GeometriaFinestra geometria(cartella.path("Gestar.ini"), kSezione, kSchermo);
    geometria.salva(StatoFinestra::Normale, true, QRectF(-60, 300, 6000, 4000));
    EXPECT_EQ(geometria.daRipristinare(kProgetto, true), QRect(6600, 300, 6000, 4000));
}

}  // namespace
