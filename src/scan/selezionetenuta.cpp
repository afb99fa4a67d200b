// The selected appointments held between rebuilds, and their changes.
#include "scan/selezionetenuta.h"

#include <algorithm>
#include <cmath>

#include "scan/selezionaappuntamenti.h"

namespace {
constexpr double kSecondiAlGiorno = 86400;

bool perRiga(const SelezioneTenuta::Riga& riga, qint64 rowid) {
    return riga.first < rowid;
}
}  // namespace

SecondoCliente secondoDi(const AppuntamentoDovuto& dovuto) {
    return {dovuto.cliente, std::llround(dovuto.momento * kSecondiAlGiorno)};
}

std::vector<SecondoCliente> SelezioneTenuta::sostituisci(std::span<const qint64> via,
                                                         std::vector<Riga> lette) {
    if (!indicizzata_) indicizza();
    std::vector<SecondoCliente> secondi;
    std::vector<Riga> unite;
    unite.reserve(righe_.size() + lette.size());
    auto nuova = lette.begin();
    const auto entra = [&] {
        const SecondoCliente secondo = secondoDi(nuova->second.dovuto);
        secondi.push_back(secondo);
        perSecondo_.insert(secondo, nuova->first);
        unite.push_back(std::move(*nuova++));
    };
    auto uscita = via.begin();
    // Three lists in rowid order, merged in one pass.
    for (Riga& tenuta : righe_) {
        while (nuova != lette.end() && nuova->first < tenuta.first) entra();
        uscita = std::lower_bound(uscita, via.end(), tenuta.first);
        if (uscita != via.end() && *uscita == tenuta.first) {
            const SecondoCliente secondo = secondoDi(tenuta.second.dovuto);
            secondi.push_back(secondo);
            perSecondo_.remove(secondo, tenuta.first);
            continue;
        }
        unite.push_back(std::move(tenuta));
    }
    while (nuova != lette.end()) entra();
    righe_ = std::move(unite);
    std::sort(secondi.begin(), secondi.end());
    secondi.erase(std::unique(secondi.begin(), secondi.end()), secondi.end());
    return secondi;
}

std::vector<const AppuntamentoLetto*> SelezioneTenuta::di(
    std::span<const SecondoCliente> secondi) const {
    std::vector<qint64> rowid;
    for (const SecondoCliente& secondo : secondi) {
        const auto [inizio, fine] = perSecondo_.equal_range(secondo);
        for (auto riga = inizio; riga != fine; ++riga) rowid.push_back(riga.value());
    }
    std::sort(rowid.begin(), rowid.end());
    std::vector<const AppuntamentoLetto*> letti;
    letti.reserve(rowid.size());
    for (const qint64 riga : rowid)
        letti.push_back(&std::lower_bound(righe_.begin(), righe_.end(), riga, perRiga)->second);
    return letti;
}

EsitoSelezione SelezioneTenuta::esito() const {
    EsitoSelezione esito;
    esito.appuntamenti.reserve(static_cast<qsizetype>(righe_.size()));
    esito.allarmi.reserve(static_cast<qsizetype>(righe_.size()));
    for (const auto& [rowid, letto] : righe_) {
        esito.appuntamenti.append(letto.dovuto);
        esito.allarmi.append(letto.allarme);
    }
    return esito;
}

void SelezioneTenuta::indicizza() {
    perSecondo_.reserve(static_cast<qsizetype>(righe_.size()));
    for (const auto& [rowid, letto] : righe_) perSecondo_.insert(secondoDi(letto.dovuto), rowid);
    indicizzata_ = true;
}
