// Pairing display lines with their keys and finding the key of a selected line.
#include "ui/list/elencoscadenze.h"

ElencoScadenze::ElencoScadenze(const QStringList& righe, const QList<ChiavePromemoria>& chiavi)
    : righe_(righe), chiavi_(chiavi) {}

std::optional<ChiavePromemoria> ElencoScadenze::chiave(qsizetype indice) const {
    if (indice < 0 || indice >= qMin(righe_.size(), chiavi_.size())) return std::nullopt;
    return chiavi_.at(indice);
}
