// RipristinaFinestra and SalvaFinestra on real (offscreen) windows: frame, state and border.
#include "ui/list/geometria.h"

#include <gtest/gtest.h>

#include <QWidget>

#include "app/ini.h"
#include "support/casenames.h"
#include "support/fakes.h"
#include "support/tempdir.h"
#include "ui/list/stampa.h"

namespace {

class GeometriaTest : public ::testing::Test {
protected:
    GeometriaTest() {
        finestra.setObjectName("Prova");
        finestra.resize(400, 300);
    }
    QString chiave(const char* nome) { return LeggiIni(ini, "Prova", nome); }

    TestFolder cartella;
    const QString ini =
        cartella.write("Gestar.ini", "[Prova]\nDIMX=9000\nDIMY=6000\nPOSX=1500\nPOSY=750\n");
    FakeScreen schermo;  // 96 dpi: 15 twips a pixel
    QWidget finestra;
};

// The frame, title bar included, covers the saved rectangle once the window is shown.
TEST_F(GeometriaTest, RestoresTheOuterRectangle) {
    RipristinaFinestra(finestra, ini, schermo);
    finestra.show();
    EXPECT_EQ(finestra.frameGeometry(), QRect(100, 50, 600, 400));
}

TEST_F(GeometriaTest, FixedSizeWindowKeepsItsSizeAndSavesOnlyThePlace) {
    finestra.setFixedSize(400, 300);
    RipristinaFinestra(finestra, ini, schermo);
    finestra.show();
    EXPECT_EQ(finestra.geometry().size(), QSize(400, 300));
    finestra.move(-4, 20);
    SalvaFinestra(finestra, ini, schermo);
    EXPECT_EQ(QStringList({chiave("DIMX"), chiave("POSX"), chiave("POSY")}),
              QStringList({"9000", "-60", "300"}));
}

TEST_F(GeometriaTest, SavesTheFrameInTwips) {
    finestra.show();
    SalvaFinestra(finestra, ini, schermo);
    EXPECT_EQ(chiave("DIMX").toInt(), finestra.frameGeometry().width() * 15);
    EXPECT_EQ(chiave("DIMY").toInt(), finestra.frameGeometry().height() * 15);
    EXPECT_EQ(chiave("WSTATE"), "0");
}

class StatoTest : public GeometriaTest, public ::testing::WithParamInterface<Qt::WindowState> {};

// Maximised and minimised windows alike write WSTATE=2 only, and reopen maximised.
TEST_P(StatoTest, ReopensMaximised) {
    finestra.show();
    finestra.setWindowState(GetParam());
    SalvaFinestra(finestra, ini, schermo);
    EXPECT_EQ(QStringList({chiave("WSTATE"), chiave("DIMX")}), QStringList({"2", "9000"}));
    QWidget riaperta;
    riaperta.setObjectName("Prova");
    RipristinaFinestra(riaperta, ini, schermo);
    EXPECT_EQ(riaperta.windowState(), Qt::WindowMaximized);
}

INSTANTIATE_TEST_SUITE_P(Stati, StatoTest,
                         ::testing::Values(Qt::WindowMaximized, Qt::WindowMinimized),
                         (CaseNames{"Maximised", "Minimised"}));

}  // namespace
