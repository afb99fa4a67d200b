// Readable pairs of text and background colours.
#include "platform/gui/colori.h"

#include <QPalette>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace colori {

namespace {

// The least contrast at which ordinary text reads comfortably.
constexpr double kContrastoMinimo = 4.5;

double lineare(double componente) {
    return componente <= 0.04045 ? componente / 12.92 : std::pow((componente + 0.055) / 1.055, 2.4);
}

double luminanza(const QColor& colore) {
    return 0.2126 * lineare(colore.redF()) + 0.7152 * lineare(colore.greenF()) +
           0.0722 * lineare(colore.blueF());
}

void colora(QWidget& widget, const QColor& testo, const QColor& sfondo) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, testo);
    palette.setColor(QPalette::Window, sfondo);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

}  // namespace

double rapportoContrasto(const QColor& primo, const QColor& secondo) {
    const double uno = luminanza(primo) + 0.05;
    const double altro = luminanza(secondo) + 0.05;
    return std::max(uno, altro) / std::min(uno, altro);
}

QColor biancoONero(const QColor& colore) {
    const QColor bianco(Qt::white);
    const QColor nero(Qt::black);
    return rapportoContrasto(colore, bianco) >= rapportoContrasto(colore, nero) ? bianco : nero;
}

void coloraSfondo(QWidget& widget, const QColor& sfondo) {
    colora(widget, biancoONero(sfondo), sfondo);
}

void coloraTesto(QWidget& widget, const QColor& testo, const QColor& sfondo) {
    const bool leggibile = rapportoContrasto(testo, sfondo) >= kContrastoMinimo;
    colora(widget, testo, leggibile ? sfondo : biancoONero(testo));
}

}  // namespace colori
