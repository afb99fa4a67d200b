// Fonts standing in for the designed ones (MS Sans Serif, Courier New) on this platform.
#pragma once

#include <QFont>

namespace fonts {

// The nearest sans-serif family at the given point size.
QFont sansSerif(double punti, bool grassetto = false);
// The nearest fixed-pitch family at the given point size.
QFont monospace(double punti, bool grassetto = false);

}  // namespace fonts
