// Screen measures from QGuiApplication's primary screen.
#include "platform/screen.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace {
constexpr double kTwipsPerInch = 1440.0;
}

int Screen::pixelsFromTwips(double twips) const {
    return static_cast<int>(std::lround(twips * logicalDpi() / kTwipsPerInch));
}

double Screen::twipsFromPixels(int pixels) const {
    return pixels * kTwipsPerInch / logicalDpi();
}

QRect Screen::rectFromTwips(const QRect& twips) const {
    return {pixelsFromTwips(twips.x()), pixelsFromTwips(twips.y()), pixelsFromTwips(twips.width()),
            pixelsFromTwips(twips.height())};
}

QRectF Screen::rectToTwips(const QRect& pixels) const {
    return {twipsFromPixels(pixels.x()), twipsFromPixels(pixels.y()),
            twipsFromPixels(pixels.width()), twipsFromPixels(pixels.height())};
}

QSize Screen::sizeTwips() const {
    const QRect area = availableGeometry();
    return {static_cast<int>(std::lround(twipsFromPixels(area.width()))),
            static_cast<int>(std::lround(twipsFromPixels(area.height())))};
}

QRect QtScreen::availableGeometry() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

double QtScreen::logicalDpi() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return dpi > 0 ? dpi : 96.0;
}
