// The run's state and its loading from Gestar.ini.
#include "app/sessione.h"

#include "db/schema.h"

bool Sessione::caricaPercorsi(const IniLetto& ini) {
    std::optional<Percorsi> letti = impostazioni::leggiPercorsi(ini);
    if (!letti) return false;
    percorsi = std::move(*letti);
    return true;
}

Impostazioni Sessione::caricaAgenda(const IniLetto& ini) {
    Impostazioni lette = impostazioni::leggiAgenda(ini);
    SuonoAttivo = lette.suonoAttivo;
    FileSuono = lette.suono.percorso();
    SecondiAnalisi = lette.secondi;
    return lette;
}

void Sessione::apriDatabase() {
    DbVisite = db::open(percorsi.fileVisite());
    DbVisite->requireRights(db::schema::kDirittiVisite);
    DbWork = db::open(percorsi.fileWork());
    DbWork->requireRights(db::schema::kDirittiWork);
}

void Sessione::rilasciaDatabase() noexcept {
    // Closing a connection never throws; an unset one is simply skipped.
    DbVisite.reset();
    DbWork.reset();
}

qint16 Sessione::registraComando(std::optional<qint16> comando) {
    if (comando) UltimoComando = *comando;
    return UltimoComando;
}
