// Fonts standing in for the designed ones (MS Sans Serif, Courier New) on this platform.
#pragma once

#include <QFont>

class QWidget;
class QString;

namespace fonts {

// The nearest sans-serif family at the given point size.
QFont sansSerif(double punti, bool grassetto = false);
// The nearest fixed-pitch family at the given point size.
QFont monospace(double punti, bool grassetto = false);

// Shrinks the widget's font, a quarter point at a time down to 6 pt, until `testo` fits in
// `larghezza` pixels: the substitute families run wider than the designed ones.
void riduciFinoA(QWidget& widget, const QString& testo, int larghezza);

}  // namespace fonts
