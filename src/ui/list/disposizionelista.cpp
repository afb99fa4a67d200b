// The list window's resize rule.
#include "ui/list/disposizionelista.h"

#include <algorithm>

namespace {
constexpr int kAltoLista = 225;
constexpr int kMargineDestro = 20;
constexpr int kSpazioSottoLista = 630;
constexpr int kSpazioSottoPulsante = 370;
constexpr int kAltezzaPulsante = 375;
}  // namespace

DisposizioneLista DisposizioneLista::perArea(QSize areaTwips) {
    const int larghezza = std::max(0, areaTwips.width() - kMargineDestro);
    const int altezzaLista = std::max(0, areaTwips.height() - kSpazioSottoLista);
    return {QRect(0, kAltoLista, larghezza, altezzaLista),
            QRect(0, areaTwips.height() - kSpazioSottoPulsante, larghezza, kAltezzaPulsante)};
}
