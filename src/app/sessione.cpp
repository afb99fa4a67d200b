// The run's state and its loading from Gestar.ini.
#include "app/sessione.h"

#include "db/schema.h"

Sessione::Sessione(QString fileIni) : fileIni_(std::move(fileIni)) {}

bool Sessione::caricaPercorsi(const IniLetto& ini) {
    std::optional<Percorsi> letti = impostazioni::leggiPercorsi(ini);
    if (!letti) return false;
    percorsi_ = std::move(*letti);
    return true;
}

void Sessione::apriDatabase() {
    visite_ = db::open(percorsi_.fileVisite());
    visite_->requireRights(db::schema::kDirittiVisite);
    work_ = db::open(percorsi_.fileWork());
    work_->requireRights(db::schema::kDirittiWork);
}

void Sessione::rilasciaDatabase() noexcept {
    // Closing a connection never throws; an unset one is simply skipped.
    visite_.reset();
    work_.reset();
}

const Impostazioni& Sessione::caricaAgenda(const IniLetto& ini) {
    impostazioni_ = impostazioni::leggiAgenda(ini);
    return impostazioni_;
}

void Sessione::sostituisciImpostazioni(Impostazioni confermate) {
    impostazioni_ = std::move(confermate);
}
