// Conversions between an alarm lead in minutes and the amount with its unit.
#include "reminder/preavviso.h"

namespace {
constexpr double kMinutiOra = 60;
constexpr double kOreGiorno = 24;
constexpr double kMinutiGiorno = kMinutiOra * kOreGiorno;
}  // namespace

Preavviso Preavviso::daMinuti(double minuti) {
    if (minuti < kMinutiOra) return {minuti, UnitaAllarme::Minuti};
    const double ore = minuti / kMinutiOra;
    if (ore < kOreGiorno) return {ore, UnitaAllarme::Ore};
    return {ore / kOreGiorno, UnitaAllarme::Giorni};
}

double Preavviso::minuti() const {
    switch (unita) {
        case UnitaAllarme::Ore:
            return quantita * kMinutiOra;
        case UnitaAllarme::Giorni:
            return quantita * kMinutiGiorno;
        case UnitaAllarme::Minuti:
            break;
    }
    return quantita;
}

double Preavviso::momentoAllarme(double dataAppuntamento, double minutiPreavviso) {
    return dataAppuntamento - minutiPreavviso / kMinutiGiorno;
}
