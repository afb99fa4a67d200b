// Rectangle conversions between twips and pixels, corner and size alike.
#include "ui/list/twips.h"

#include "platform/screen.h"

QRect rettangoloInPixel(const QRect& twips, const Screen& schermo) {
    return schermo.rectFromTwips(twips.x(), twips.y(), twips.width(), twips.height());
}

QRectF rettangoloInTwips(const QRect& pixel, const Screen& schermo) {
    return {schermo.twipsFromPixels(pixel.x()), schermo.twipsFromPixels(pixel.y()),
            schermo.twipsFromPixels(pixel.width()), schermo.twipsFromPixels(pixel.height())};
}
