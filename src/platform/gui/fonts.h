// The windows' fonts: a sans-serif for captions and controls, a fixed-pitch one for columns.
#pragma once

#include <QFont>

class QWidget;
class QString;

namespace fonts {

// The nearest sans-serif family at the given point size.
QFont sansSerif(double points, bool bold = false);
// The nearest fixed-pitch family at the given point size.
QFont monospace(double points, bool bold = false);

// Shrinks the widget's font, a quarter point at a time down to 6 pt, until `text` fits in
// `width` pixels: the installed families may run wider than the layout allows for.
void shrinkToFit(QWidget& widget, const QString& text, int width);

}  // namespace fonts
