// Fonts of the windows.
#include "platform/gui/fonts.h"

#include <QFontMetrics>
#include <QWidget>

namespace fonts {

namespace {

QFont font(const QString& family, QFont::StyleHint hint, double points, bool bold) {
    QFont result(family);
    result.setStyleHint(hint);
    result.setPointSizeF(points);
    result.setBold(bold);
    return result;
}

}  // namespace

QFont sansSerif(double points, bool bold) {
    return font(QStringLiteral("Sans Serif"), QFont::SansSerif, points, bold);
}

QFont monospace(double points, bool bold) {
    return font(QStringLiteral("Monospace"), QFont::TypeWriter, points, bold);
}

void shrinkToFit(QWidget& widget, const QString& text, int width) {
    QFont font = widget.font();
    while (QFontMetrics(font).horizontalAdvance(text) + 2 > width && font.pointSizeF() > 6) {
        font.setPointSizeF(font.pointSizeF() - 0.25);
    }
    widget.setFont(font);
}

}  // namespace fonts
