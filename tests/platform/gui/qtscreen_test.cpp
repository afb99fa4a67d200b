// The screen as the windows measure it: the whole primary screen, panels included.
#include "platform/gui/qtscreen.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace {

TEST(QtScreenTest, IsTheWholePrimaryScreen) {
    const QScreen* primario = QGuiApplication::primaryScreen();
    ASSERT_NE(primario, nullptr);
    const QtScreen schermo;
    EXPECT_EQ(schermo.geometry(), primario->geometry());
    const double twipsPerPixel = 1440.0 / primario->logicalDotsPerInch();
    EXPECT_EQ(schermo.sizeTwips(),
              QSize(static_cast<int>(std::lround(primario->geometry().width() * twipsPerPixel)),
                    static_cast<int>(std::lround(primario->geometry().height() * twipsPerPixel))));
}

}  // namespace
