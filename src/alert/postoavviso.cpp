// Choosing the alert window's corner.
#include "alert/postoavviso.h"

#include <algorithm>
#include <array>

PostoAvviso ScegliPostoAvviso(const QRect& area, const QSize& finestra,
                              const QList<QRect>& occupate) {
    const int destra = area.x() + area.width() - finestra.width();
    const int basso = area.y() + area.height() - finestra.height();
    const std::array angoli{QPoint(destra, basso), QPoint(area.x(), basso),
                            QPoint(destra, area.y()), area.topLeft()};
    for (const QPoint& angolo : angoli) {
        const QRect posto(angolo, finestra);
        if (std::none_of(occupate.cbegin(), occupate.cend(),
                         [&](const QRect& occupata) { return occupata.intersects(posto); }))
            return {angolo, true};
    }
    return {angoli.front(), false};
}
