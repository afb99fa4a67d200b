// One run of SCADEX: its configuration file, the operator's folders, its two databases and the
// AGENDA settings in force.
#pragma once

#include <QString>
#include <memory>

#include "app/impostazioni.h"
#include "db/database.h"

// Built once by main() and handed down: each window takes only the parts it uses. The
// configuration path, the folders and the databases are set once by the main window's load;
// the settings change only as a whole, when the parameters panel is confirmed.
class Sessione {
public:
    explicit Sessione(QString fileIni);

    // The full path of Gestar.ini.
    const QString& fileIni() const { return fileIni_; }

    // Reads the operator's folders; false when no operator is configured.
    bool caricaPercorsi(const IniLetto& ini);
    // Opens VisiteDV.mdb and WorkDV.mdb of the operator (throws db::DbError).
    void apriDatabase();
    // Drops both database connections; a failure on one does not stop the other.
    void rilasciaDatabase() noexcept;
    // Each database, once apriDatabase has opened it; nothing before.
    db::Database* visite() const { return visite_.get(); }
    db::Database* work() const { return work_.get(); }

    // Reads the AGENDA settings the run starts with.
    const Impostazioni& caricaAgenda(const IniLetto& ini);
    const Impostazioni& impostazioni() const { return impostazioni_; }
    // The settings the parameters panel's confirmation returned, in force from now on.
    void sostituisciImpostazioni(Impostazioni confermate);

private:
    const QString fileIni_;
    Percorsi percorsi_;
    std::unique_ptr<db::Database> visite_;
    std::unique_ptr<db::Database> work_;
    Impostazioni impostazioni_;
};
