// One run of SCADEX: its configuration file, the settings read from it and its two databases.
#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "app/impostazioni.h"
#include "db/database.h"

// Built once by main() and handed down: each window takes only the parts it uses.
struct Sessione {
    explicit Sessione(QString fileIni = {}) : FileIni(std::move(fileIni)) {}

    // Operatore, PathFile and PathWork; false when no operator is configured.
    bool caricaPercorsi(const IniLetto& ini);
    // The AGENDA settings: SuonoAttivo, FileSuono and SecondiAnalisi, and what was read.
    Impostazioni caricaAgenda(const IniLetto& ini);
    // Opens VisiteDV.mdb and WorkDV.mdb of the operator (throws db::DbError).
    void apriDatabase();
    // Drops both database connections; a failure on one does not stop the other.
    void rilasciaDatabase() noexcept;
    // Keeps the command a reminder window was answered with; one closed with F2 alone leaves
    // the last one. Returns UltimoComando.
    qint16 registraComando(std::optional<qint16> comando);

    QString FileIni;  // full path of Gestar.ini, set once for the run
    Percorsi percorsi;
    std::unique_ptr<db::Database> DbVisite;
    std::unique_ptr<db::Database> DbWork;
    bool SuonoAttivo = false;
    QString FileSuono;
    qint32 SecondiAnalisi = 60;
    qint16 UltimoComando = 0;  // last button pressed in a reminder window
};
