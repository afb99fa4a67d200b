// Text and background colours that read on each other, whatever the desktop's palette.
#pragma once

#include <QColor>

class QWidget;

namespace colori {

// The contrast of two colours from their relative luminances: from 1 (the same) to 21.
double rapportoContrasto(const QColor& primo, const QColor& secondo);
// Black or white, whichever stands out more against `colore`.
QColor biancoONero(const QColor& colore);

// Fixes the widget's background and, with it, its text in black or white: a fixed background
// under a text colour taken from the palette goes unread with a palette of the other kind.
void coloraSfondo(QWidget& widget, const QColor& sfondo);
// Fixes the widget's text colour and, with it, its background: `sfondo` where the text reads
// on it, else black or white.
void coloraTesto(QWidget& widget, const QColor& testo, const QColor& sfondo);

}  // namespace colori
