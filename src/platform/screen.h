// The screen's size and the twips-to-pixels scale (1440 twips per logical inch).
#pragma once

#include <QRect>
#include <QRectF>
#include <QSize>

class Screen {
public:
    virtual ~Screen() = default;
    // The whole primary screen, in pixels (panels and docks included).
    virtual QRect geometry() const = 0;
    // Logical dots per inch of the primary screen.
    virtual double logicalDpi() const = 0;

    int pixelsFromTwips(double twips) const;
    double twipsFromPixels(int pixels) const;
    // A rectangle given in twips, in pixels.
    QRect rectFromTwips(const QRect& twips) const;
    // A rectangle given in pixels, in twips.
    QRectF rectToTwips(const QRect& pixels) const;
    // Primary screen's size in twips.
    QSize sizeTwips() const;
};
