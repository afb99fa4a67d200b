// Counting the failed ticks.
#include "scan/statoscansione.h"

StatoScansione::Cambio StatoScansione::registra(const std::optional<QString>& guasto) {
    if (!guasto) {
        falliti_ = 0;
        if (!segnalato_) return Cambio::Nessuno;
        segnalato_ = false;
        return Cambio::Ripresa;
    }
    ++falliti_;
    if (segnalato_ || falliti_ < kTickFalliti) return Cambio::Nessuno;
    segnalato_ = true;
    causa_ = *guasto;
    return Cambio::Guasto;
}
