// RipristinaFinestra and SalvaFinestra on real (offscreen) windows: frame, state and border.
#include "ui/list/geometria.h"

#include <gtest/gtest.h>

#include <QWidget>

#include "app/ini.h"
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

    QString ini(const QByteArray& sezione) {
        return cartella.write("Gestar.ini", "[Prova]\n" + sezione);
    }
    QString chiave(const QString& file, const char* nome) { return LeggiIni(file, "Prova", nome); }

    TestFolder cartella;
    FakeScreen schermo;  // 1280 x 1024 at 96 dpi: 15 twips a pixel
    QWidget finestra;
};

// The frame, title bar included, ends up where and as large as saved, also once shown.
TEST_F(GeometriaTest, RestoresTheOuterRectangle) {
    RipristinaFinestra(finestra, ini("DIMX=9000\nDIMY=6000\nPOSX=1500\nPOSY=750\n"), schermo);
    finestra.show();
    EXPECT_EQ(finestra.frameGeometry(), QRect(100, 50, 600, 400));
    EXPECT_EQ(finestra.windowState(), Qt::WindowNoState);
}

TEST_F(GeometriaTest, RestoresAWindowAlreadyShownByItsFrame) {
    finestra.show();
    RipristinaFinestra(finestra, ini("DIMX=9000\nDIMY=6000\nPOSX=-1\nPOSY=0\n"), schermo);
    EXPECT_EQ(finestra.frameGeometry(), QRect(340, 0, 600, 400));
}

TEST_F(GeometriaTest, MaximisedKeepsTheDesignedNormalRectangle) {
    RipristinaFinestra(finestra, ini("WSTATE=2\nDIMX=9000\nDIMY=6000\n"), schermo);
    EXPECT_TRUE(finestra.windowState().testFlag(Qt::WindowMaximized));
    EXPECT_EQ(finestra.size(), QSize(400, 300));
}

TEST_F(GeometriaTest, FixedSizeWindowNeitherReadsNorWritesTheSize) {
    finestra.setFixedSize(400, 300);
    const QString file = ini("DIMX=9000\nDIMY=6000\nPOSX=1500\nPOSY=750\n");
    RipristinaFinestra(finestra, file, schermo);
    finestra.show();
    EXPECT_EQ(finestra.size(), QSize(400, 300));
    EXPECT_EQ(finestra.frameGeometry().topLeft(), QPoint(100, 50));

    finestra.move(200, 100);
    SalvaFinestra(finestra, file, schermo);
    EXPECT_EQ(chiave(file, "DIMX"), "9000");
    EXPECT_EQ(chiave(file, "POSX"), "3000");
}

TEST_F(GeometriaTest, SavesTheFrameInTwips) {
    finestra.show();
    finestra.move(-4, 20);
    const QString file = cartella.path("Gestar.ini");
    SalvaFinestra(finestra, file, schermo);
    const QRect cornice = finestra.frameGeometry();
    EXPECT_EQ(chiave(file, "DIMX"), QString::number(cornice.width() * 15));
    EXPECT_EQ(chiave(file, "DIMY"), QString::number(cornice.height() * 15));
    EXPECT_EQ(chiave(file, "POSX"), "-60");
    EXPECT_EQ(chiave(file, "POSY"), "300");
    EXPECT_EQ(chiave(file, "WSTATE"), "0");
}

class StatoSalvatoTest : public GeometriaTest,
                         public ::testing::WithParamInterface<Qt::WindowState> {};

// Maximised and minimised windows alike reopen maximised; the saved place stays.
TEST_P(StatoSalvatoTest, WritesOnlyTheStateTwo) {
    const QString file = ini("DIMX=9000\nDIMY=6000\nPOSX=1500\nPOSY=750\nWSTATE=0\n");
    finestra.show();
    finestra.setWindowState(GetParam());
    SalvaFinestra(finestra, file, schermo);
    EXPECT_EQ(chiave(file, "WSTATE"), "2");
    EXPECT_EQ(chiave(file, "DIMX"), "9000");
    EXPECT_EQ(chiave(file, "POSY"), "750");
}

INSTANTIATE_TEST_SUITE_P(Stati, StatoSalvatoTest,
                         ::testing::Values(Qt::WindowMaximized, Qt::WindowMinimized));

TEST_F(GeometriaTest, DpiScalesTwips) {
    schermo.dpi = 144;  // 10 twips a pixel
    RipristinaFinestra(finestra, ini("DIMX=6000\nDIMY=4000\nPOSX=100\nPOSY=200\n"), schermo);
    finestra.show();
    EXPECT_EQ(finestra.frameGeometry(), QRect(10, 20, 600, 400));
}

}  // namespace
