// One reminder loaded for the reminder window: its two table cursors and what it shows.
#pragma once

#include <memory>

#include "db/database.h"
#include "reminder/chiavepromemoria.h"
#include "reminder/vistapromemoria.h"

class SchedaPromemoria {
public:
    // Opens the appointment book and the reminder table on the key and reads the reminder,
    // with its client and action looked up. Database errors propagate.
    SchedaPromemoria(db::Database& visite, db::Database& work, const ChiavePromemoria& chiave);
    // Closes both cursors.
    ~SchedaPromemoria();
    SchedaPromemoria(const SchedaPromemoria&) = delete;
    SchedaPromemoria& operator=(const SchedaPromemoria&) = delete;

    const VistaPromemoria& vista() const { return vista_; }
    // Positioned on the appointment the reminder was made from and on its reminder row
    // (noMatch() when there is none, or no single appointment).
    db::TableCursor& appuntamento() { return *appuntamento_; }
    db::TableCursor& promemoria() { return *promemoria_; }

private:
    void cercaAppuntamento(const ChiavePromemoria& chiave);
    void leggiAppuntamento(const ChiavePromemoria& chiave);
    void leggiDocumento();
    void leggiAnagrafiche(db::Database& work, const ChiavePromemoria& chiave);

    std::unique_ptr<db::TableCursor> appuntamento_;
    std::unique_ptr<db::TableCursor> promemoria_;
    VistaPromemoria vista_;
};
