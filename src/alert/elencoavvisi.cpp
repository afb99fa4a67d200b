// The list of reminders of the alert window.
#include "alert/elencoavvisi.h"

#include <algorithm>
#include <numeric>

ElencoAvvisi::Posto ElencoAvvisi::aggiungi(const AvvisoDescritto& avviso) {
    if (const std::optional<qsizetype> elencato = indice(avviso.avviso)) {
        voci_[*elencato].descritto = avviso;
        return {*elencato, false};
    }
    const Voce voce{avviso, std::nullopt};
    const auto dopo = std::upper_bound(
        voci_.cbegin(), voci_.cend(), voce.momento(),
        [](double momento, const Voce& altra) { return momento < altra.momento(); });
    const qsizetype posto = dopo - voci_.cbegin();
    voci_.insert(posto, voce);
    return {posto, true};
}

std::optional<qsizetype> ElencoAvvisi::indice(const Avviso& avviso) const {
    const auto elencato = std::find_if(voci_.cbegin(), voci_.cend(), [&](const Voce& voce) {
        return voce.descritto.avviso.stessoAppuntamento(avviso);
    });
    if (elencato == voci_.cend()) return std::nullopt;
    return elencato - voci_.cbegin();
}

Avviso ElencoAvvisi::togli(qsizetype indice) {
    return voci_.takeAt(indice).descritto.avviso;
}

QList<Avviso> ElencoAvvisi::togliTutti() {
    QList<Avviso> tolti;
    for (const Voce& voce : voci_) tolti.append(voce.descritto.avviso);
    voci_.clear();
    return tolti;
}

std::optional<QList<qsizetype>> ElencoAvvisi::riordina() {
    QList<qsizetype> prima(voci_.size());
    std::iota(prima.begin(), prima.end(), 0);
    std::stable_sort(prima.begin(), prima.end(), [this](qsizetype a, qsizetype b) {
        return voci_[a].momento() < voci_[b].momento();
    });
    if (std::is_sorted(prima.cbegin(), prima.cend())) return std::nullopt;
    QList<Voce> ordinate;
    ordinate.reserve(voci_.size());
    for (const qsizetype posto : prima) ordinate.append(voci_[posto]);
    voci_ = std::move(ordinate);
    return prima;
}
