// Readable pairs of text and background colours.
#include "platform/gui/colors.h"

#include <QPalette>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace colors {

namespace {

// The least contrast at which ordinary text reads comfortably.
constexpr double kLeastContrast = 4.5;

double linear(double component) {
    return component <= 0.04045 ? component / 12.92 : std::pow((component + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& color) {
    return 0.2126 * linear(color.redF()) + 0.7152 * linear(color.greenF()) +
           0.0722 * linear(color.blueF());
}

void paint(QWidget& widget, const QColor& text, const QColor& background) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Window, background);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

}  // namespace

double contrastRatio(const QColor& first, const QColor& second) {
    const double one = luminance(first) + 0.05;
    const double other = luminance(second) + 0.05;
    return std::max(one, other) / std::min(one, other);
}

QColor blackOrWhite(const QColor& color) {
    const QColor white(Qt::white);
    const QColor black(Qt::black);
    return contrastRatio(color, white) >= contrastRatio(color, black) ? white : black;
}

void setBackground(QWidget& widget, const QColor& background) {
    paint(widget, blackOrWhite(background), background);
}

void setText(QWidget& widget, const QColor& text, const QColor& background) {
    const bool readable = contrastRatio(text, background) >= kLeastContrast;
    paint(widget, text, readable ? background : blackOrWhite(text));
}

}  // namespace colors
