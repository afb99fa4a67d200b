// Conversions between twips and pixels at the screen's logical resolution.
#include "platform/screen.h"

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
    const QRect area = geometry();
    return {static_cast<int>(std::lround(twipsFromPixels(area.width()))),
            static_cast<int>(std::lround(twipsFromPixels(area.height())))};
}
