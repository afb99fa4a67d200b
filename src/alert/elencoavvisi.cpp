// The list of reminders of the alert window.
#include "alert/elencoavvisi.h"

#include <algorithm>

std::optional<qsizetype> ElencoAvvisi::aggiungi(const AvvisoDescritto& avviso) {
    const auto elencato = std::find_if(avvisi_.begin(), avvisi_.end(), [&](const auto& a) {
        return a.avviso.stessoAppuntamento(avviso.avviso);
    });
    if (elencato != avvisi_.end()) {
        *elencato = avviso;
        return elencato - avvisi_.begin();
    }
    avvisi_.prepend(avviso);
    return std::nullopt;
}

QList<Avviso> ElencoAvvisi::togliTutti() {
    QList<Avviso> tolti;
    for (auto avviso = avvisi_.crbegin(); avviso != avvisi_.crend(); ++avviso) {
        tolti.append(avviso->avviso);
    }
    avvisi_.clear();
    return tolti;
}
