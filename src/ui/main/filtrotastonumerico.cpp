// Numeric key filter.
#include "ui/main/filtrotastonumerico.h"

#include "util/texts.h"

namespace {

constexpr int kPunto = 46;
constexpr int kVirgola = 44;
constexpr int kMeno = 45;
constexpr int kCtrlC = 3;
constexpr int kBackspace = 8;
constexpr int kCtrlR = 18;
constexpr int kCtrlV = 22;

int separatoreDecimale() {
    return texts::numberText(0.5) == QLatin1String("0.5") ? kPunto : kVirgola;
}

}  // namespace

int FiltraTastoNumerico(int carattere) {
    const int separatore = separatoreDecimale();
    if (carattere == kPunto || carattere == kVirgola) carattere = separatore;
    switch (carattere) {
        case kMeno:
        case kCtrlC:
        case kBackspace:
        case kCtrlR:
        case kCtrlV:
            return carattere;
        default:
            break;
    }
    if (carattere == separatore) return carattere;
    return carattere >= '0' && carattere <= '9' ? carattere : 0;
}
