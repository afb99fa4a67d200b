// The run's state and its loading from Gestar.ini.
#include "app/sessione.h"

#include <QStringList>

#include "db/schema.h"
#include "util/diagnostica.h"

namespace {

// A server schema without the poll's indexes still works, slowly: whoever set it up is told
// once what to run.
void avvisaSeSenzaIndici(db::Database& work) {
    QStringList colonne;
    for (const db::Database::IndexedColumn& colonna : work.unindexed(db::schema::kIndiciControllo))
        colonne.append(colonna.table + QLatin1Char('.') + colonna.column);
    if (colonne.isEmpty()) return;
    Diagnostica(QStringLiteral("%1: nessun indice su %2: ogni controllo legge tutti i promemoria; "
                               "gli indici si creano con: %3")
                    .arg(work.path(), colonne.join(QStringLiteral(", ")),
                         db::schema::kCreaIndiciControllo.join(QStringLiteral("; "))));
}

}  // namespace

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
    avvisaSeSenzaIndici(*DbWork);
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
