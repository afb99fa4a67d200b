// Fonts of the windows.
#include "platform/fonts.h"

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

}  // namespace fonts
