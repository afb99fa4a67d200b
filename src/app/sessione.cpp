// The run's state and its loading from Gestar.ini.
#include "app/sessione.h"

#include <QStringList>

#include "db/schema.h"
#include "util/diagnostic.h"

namespace {

// A server schema without the indexes the program's statements look rows up by still works,
// slowly: whoever set it up is told once what it costs and what to run.
void avvisaSeSenzaIndici(db::Database& database, const QList<db::Database::IndexedColumn>& indici,
                         const QString& costo, const QStringList& crea) {
    QStringList colonne;
    for (const db::Database::IndexedColumn& colonna : database.unindexed(indici))
        colonne.append(colonna.table + QLatin1Char('.') + colonna.column);
    if (colonne.isEmpty()) return;
    logDiagnostic(QStringLiteral("%1: nessun indice su %2: %3; gli indici si creano con: %4")
                      .arg(database.path(), colonne.join(QStringLiteral(", ")), costo,
                           crea.join(QStringLiteral("; "))));
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
    avvisaSeSenzaIndici(*visite_, db::schema::kIndiciSelezione,
                        QStringLiteral("ogni ricostruzione legge tutto il libro"),
                        db::schema::kCreaIndiciSelezione);
    avvisaSeSenzaIndici(*work_, db::schema::kIndiciControllo,
                        QStringLiteral("ogni controllo legge tutti i promemoria"),
                        db::schema::kCreaIndiciControllo);
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
