// The rebuild of the reminder table from the due appointments of the appointment book.
#pragma once

#include <QList>
#include <QStringList>
#include <chrono>
#include <vector>

#include "reminder/chiavepromemoria.h"
#include "scan/righepromemoria.h"

class Clock;
class EventYielder;
class SelezioneTenuta;
namespace db {
class Database;
}  // namespace db

// What one successful rebuild leaves for the main window.
struct EsitoSelezione {
    QList<AppuntamentoDovuto> appuntamenti;  // one per line of the list, in the order read
    // The alarm moments written (PmAllarm), one per line.
    QList<double> allarmi;

    // The list's display lines and the reminder of each, made when asked for: most rebuilds
    // end with nobody looking at the list.
    QStringList righe() const;
    QList<ChiavePromemoria> chiavi() const;

    // "PROMEMORIA: n APPUNTAMENTI"
    QString didascalia() const;
    // "&ELENCA" is usable only when something was found.
    bool elencoAbilitato() const { return conteggio() >= 1; }
    // Selected appointments.
    int conteggio() const { return static_cast<int>(appuntamenti.size()); }
};

// What a rebuild does with the handed-over mark of a reminder whose row it leaves as it was.
enum class Segni {
    Azzera,    // every reminder is handed over again when due: the start-up, every fifteenth
               // poll, the operator's answer
    Conserva,  // a reminder handed over stays so: a rebuild for a change in the book, which
               // hands over only what is new or changed
};

class SelezionaAppuntamenti {
public:
    // `attesaBlocchi`: how long each step waits for a lock another writer holds.
    SelezionaAppuntamenti(db::Database& visite, db::Database& work, const Clock& clock,
                          EventYielder& yielder, std::chrono::milliseconds attesaBlocchi);

    // Rebuilds Promemoria from the appointments due from today on, in one transaction of the
    // work database: the appointments are read once, a batch at a time; the table's rows are
    // compared with those due, and only what differs is written: the rows that are not due go
    // by rowid, the rows missing come by bulk writes. An appointment that cannot be read is
    // named on the diagnostic output and left out. On any other failure the transaction is
    // rolled back and the db::DbError goes to the caller; the table keeps its old rows.
    // `segni` says whether a row handed over counts as what differs. The appointments are read
    // in rowid order; `tenuta`, when given, takes each.
    EsitoSelezione esegui(Segni segni = Segni::Azzera, SelezioneTenuta* tenuta = nullptr);

    // The rebuild after the rows `righe` (rowids) of the book have changed, and nothing else:
    // `tenuta` holds what the last rebuild selected. Only those rows are read, and only the
    // reminders of the seconds they were and are in are compared and written, keeping the
    // marks: the table and the result are those esegui(Segni::Conserva) would leave. A failure
    // leaves `tenuta` unfit: the next rebuild must read the whole book.
    EsitoSelezione aggiorna(SelezioneTenuta& tenuta, std::vector<qint64> righe);

private:
    qint64 oggi() const;

    db::Database& visite_;
    db::Database& work_;
    const Clock& clock_;
    EventYielder& yielder_;
    std::chrono::milliseconds attesaBlocchi_;
};
