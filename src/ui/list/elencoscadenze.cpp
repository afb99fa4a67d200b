// Pairing display lines with key lines and finding the key of a selected line.
#include "ui/list/elencoscadenze.h"

namespace {

// The key lines cut or padded to the number of display lines.
QStringList chiaviAllineate(const QStringList& chiavi, qsizetype righe) {
    if (chiavi.size() == righe) return chiavi;  // the usual case: shares the data, no copy
    QStringList allineate = chiavi.first(qMin(chiavi.size(), righe));
    while (allineate.size() < righe) allineate.append(QString());
    return allineate;
}

}  // namespace

ElencoScadenze::ElencoScadenze(const QStringList& righe, const QStringList& chiavi)
    : righe_(righe), chiavi_(chiaviAllineate(chiavi, righe.size())) {}

std::optional<ChiaveAppuntamento> ElencoScadenze::chiave(qsizetype indice) const {
    if (indice < 0 || indice >= chiavi_.size()) return std::nullopt;
    return ChiaveAppuntamento::daRiga(chiavi_.at(indice));
}
