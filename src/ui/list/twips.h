// Rectangles converted between twips and the screen's pixels.
#pragma once

#include <QRect>
#include <QRectF>

class Screen;

QRect rettangoloInPixel(const QRect& twips, const Screen& schermo);
QRectF rettangoloInTwips(const QRect& pixel, const Screen& schermo);
