// The rebuild of the reminder table from the due appointments of the appointment book.
#pragma once

#include <QStringList>
#include <chrono>

class Clock;
class EventYielder;
namespace db {
class Database;
class TableCursor;
class Snapshot;
}  // namespace db
struct AppuntamentoDovuto;
class ConversionError;

// What one successful rebuild leaves for the main window.
struct EsitoSelezione {
    QStringList righe;   // display lines (List1)
    QStringList chiavi;  // key lines (List2)
    int conteggio = 0;   // selected appointments
    // The alarm moments written (PmAllarm), one per line.
    QList<double> allarmi;

    // "PROMEMORIA: n APPUNTAMENTI"
    QString didascalia() const;
    // "&ELENCA" is usable only when something was found.
    bool elencoAbilitato() const { return conteggio >= 1; }
};

class SelezioneAppuntamenti {
public:
    // `attesaBlocchi`: how long each step waits for a lock another writer holds.
    SelezioneAppuntamenti(db::Database& visite, db::Database& work, const Clock& clock,
                          EventYielder& yielder, std::chrono::milliseconds attesaBlocchi);

    // Empties Promemoria and writes it again from the appointments due from today on, in one
    // transaction of the work database. On any failure the transaction is rolled back and the
    // error (db::DbError or ConversionError) goes to the caller; the table keeps its old rows.
    EsitoSelezione esegui();

private:
    EsitoSelezione scriviPromemoria();
    // Throws ConversionError when a field cannot be read.
    static AppuntamentoDovuto leggiAppuntamento(const db::Snapshot& selezione);
    // Names a row that cannot be read, once per run, on the diagnostic output.
    static void segnalaIlleggibile(const db::Snapshot& selezione, const ConversionError& errore);
    static double anticipoInGiorni(const db::Snapshot& selezione);
    // Writes the reminder row; `forseScritta` when this run may have written its key already.
    static void scriviRiga(db::TableCursor& promemoria, const db::Snapshot& selezione,
                           const AppuntamentoDovuto& appuntamento, double allarme,
                           bool forseScritta);

    db::Database& visite_;
    db::Database& work_;
    const Clock& clock_;
    EventYielder& yielder_;
    std::chrono::milliseconds attesaBlocchi_;
};
