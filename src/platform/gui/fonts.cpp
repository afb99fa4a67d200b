// Fonts of the windows.
#include "platform/gui/fonts.h"

#include <QFontMetrics>
#include <QWidget>

namespace fonts {

namespace {

QFont font(const QString& family, QFont::StyleHint hint, double punti, bool grassetto) {
    QFont result(family);
    result.setStyleHint(hint);
    result.setPointSizeF(punti);
    result.setBold(grassetto);
    return result;
}

}  // namespace

QFont sansSerif(double punti, bool grassetto) {
    return font(QStringLiteral("Sans Serif"), QFont::SansSerif, punti, grassetto);
}

QFont monospace(double punti, bool grassetto) {
    return font(QStringLiteral("Monospace"), QFont::TypeWriter, punti, grassetto);
}

void riduciFinoA(QWidget& widget, const QString& testo, int larghezza) {
    QFont font = widget.font();
    while (QFontMetrics(font).horizontalAdvance(testo) + 2 > larghezza && font.pointSizeF() > 6) {
        font.setPointSizeF(font.pointSizeF() - 0.25);
    }
    widget.setFont(font);
}

}  // namespace fonts
