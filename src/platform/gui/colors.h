// Text and background colours that read on each other, whatever the desktop's palette.
#pragma once

#include <QColor>

class QWidget;

namespace colors {

// The contrast of two colours from their relative luminances: from 1 (the same) to 21.
double contrastRatio(const QColor& first, const QColor& second);
// Black or white, whichever stands out more against `color`.
QColor blackOrWhite(const QColor& color);

// Fixes the widget's background and, with it, its text in black or white: a fixed background
// under a text colour taken from the palette goes unread with a palette of the other kind.
void setBackground(QWidget& widget, const QColor& background);
// Fixes the widget's text colour and, with it, its background: `background` where the text
// reads on it, else black or white.
void setText(QWidget& widget, const QColor& text, const QColor& background);

}  // namespace colors
