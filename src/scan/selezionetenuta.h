// The appointments the last rebuild selected, held by rowid: a rebuild for a few changed rows
// reads only those rows.
#pragma once

#include <QMultiHash>
#include <QString>
#include <span>
#include <utility>
#include <vector>

#include "scan/righepromemoria.h"

struct EsitoSelezione;

// One selected appointment as the rebuild reads it.
struct AppuntamentoLetto {
    AppuntamentoDovuto dovuto;
    double allarme = 0;  // the alarm moment: the moment less the lead
    QString documento;   // ValoreTesto of the document: " " for none
};

// A client and a moment to the second: the reminders of one such second are made together, from
// every appointment that falls in it.
using SecondoCliente = std::pair<qint64, qint64>;
SecondoCliente secondoDi(const AppuntamentoDovuto& dovuto);

class SelezioneTenuta {
public:
    using Riga = std::pair<qint64, AppuntamentoLetto>;  // a rowid and its appointment

    // Takes an appointment read after those held, by a read in rowid order.
    void aggiungi(qint64 riga, const AppuntamentoLetto& letto) { righe_.push_back({riga, letto}); }

    // The rows `via` (rowids ascending, unique) leave; `lette` (ascending, among `via`: those
    // still selected) come in. Returns the seconds of the rows that left and came, ascending
    // and unique: only their reminders can have changed.
    std::vector<SecondoCliente> sostituisci(std::span<const qint64> via, std::vector<Riga> lette);

    // The appointments held in `secondi`, in rowid order: the order a read gives them.
    std::vector<const AppuntamentoLetto*> di(std::span<const SecondoCliente> secondi) const;

    // What the rebuild that read them all would leave for the main window.
    EsitoSelezione esito() const;

private:
    void indicizza();

    std::vector<Riga> righe_;  // by rowid
    // The rowids of each second; made at the first change: most books are read and never
    // changed before the next read.
    QMultiHash<SecondoCliente, qint64> perSecondo_;
    bool indicizzata_ = false;
};
