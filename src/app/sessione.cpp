// The run's state and its loading from Gestar.ini.
#include "app/sessione.h"

#include <QStringList>

#include "db/schema.h"
#include "util/diagnostic.h"

namespace {

// A server schema without the poll's indexes still works, slowly: whoever set it up is told
// once what to run.
void avvisaSeSenzaIndici(db::Database& work) {
    QStringList colonne;
    for (const db::Database::IndexedColumn& colonna : work.unindexed(db::schema::kIndiciControllo))
        colonne.append(colonna.table + QLatin1Char('.') + colonna.column);
    if (colonne.isEmpty()) return;
    logDiagnostic(
        QStringLiteral("%1: nessun indice su %2: ogni controllo legge tutti i promemoria; "
                       "gli indici si creano con: %3")
            .arg(work.path(), colonne.join(QStringLiteral(", ")),
                 db::schema::kCreaIndiciControllo.join(QStringLiteral("; "))));
}

}  // namespace

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
    avvisaSeSenzaIndici(*work_);
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
