// Reads an action's colour value as an RGB colour or a system colour of the palette.
#include "reminder/coloreazione.h"

#include <QGuiApplication>
#include <QPalette>
#include <cmath>
#include <limits>

#include "util/texts.h"
#include "util/valori.h"

namespace {

constexpr quint32 kColoreDiSistema = 0x80000000u;

struct ColoreDiSistema {
    quint32 indice;
    QPalette::ColorRole ruolo;
};

// The host's system colour indexes that have a counterpart in the palette.
constexpr ColoreDiSistema kColoriDiSistema[] = {
    {2, QPalette::Highlight},
    {5, QPalette::Base},
    {7, QPalette::WindowText},
    {8, QPalette::WindowText},
    {9, QPalette::HighlightedText},
    {13, QPalette::Highlight},
    {14, QPalette::HighlightedText},
    {15, QPalette::Button},
    {16, QPalette::Dark},
    {17, QPalette::PlaceholderText},
    {18, QPalette::ButtonText},
    {20, QPalette::Light},
    {23, QPalette::ToolTipText},
    {24, QPalette::ToolTipBase},
};

// The value as the 32 bits of a whole number; either sign convention of the top bit is taken.
std::optional<quint32> trentaDueBit(const QVariant& valore) {
    const std::optional<double> numero = texts::parseNumber(ValoreTesto(valore));
    if (!numero || *numero != std::trunc(*numero)) return std::nullopt;
    if (*numero < std::numeric_limits<qint32>::min() ||
        *numero > std::numeric_limits<quint32>::max()) {
        return std::nullopt;
    }
    return static_cast<quint32>(static_cast<qint64>(*numero));
}

std::optional<QColor> coloreDiSistema(quint32 indice) {
    for (const ColoreDiSistema& colore : kColoriDiSistema) {
        if (colore.indice == indice) return QGuiApplication::palette().color(colore.ruolo);
    }
    return std::nullopt;
}

}  // namespace

std::optional<QColor> ColoreAzione(const QVariant& tbaColore) {
    const std::optional<quint32> bit = trentaDueBit(tbaColore);
    if (!bit) return std::nullopt;
    if (*bit & kColoreDiSistema) return coloreDiSistema(*bit & ~kColoreDiSistema);
    if (*bit > 0xFFFFFFu) return std::nullopt;
    return QColor(int(*bit & 0xFF), int((*bit >> 8) & 0xFF), int((*bit >> 16) & 0xFF));
}
