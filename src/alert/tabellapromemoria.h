// The reminder table of a Gestar.ini, read row by row on its key for the alert program.
#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "reminder/chiavepromemoria.h"

namespace db {
class Database;
class TableCursor;
}  // namespace db

class TabellaPromemoria {
public:
    // Opens the WorkDV.mdb that `fileIni` names, to read only. Throws DataError when there is
    // no operator's folder or the database cannot be opened.
    explicit TabellaPromemoria(const QString& fileIni);
    ~TabellaPromemoria();
    TabellaPromemoria(const TabellaPromemoria&) = delete;
    TabellaPromemoria& operator=(const TabellaPromemoria&) = delete;

    // The alarm moment (PmAllarm, day serial) of the reminder row of `chiave`; nothing when the
    // row is gone. One seek on the index "primaria"; throws DataError when it cannot be read.
    std::optional<double> allarme(const ChiavePromemoria& chiave);

private:
    std::unique_ptr<db::Database> work_;
    std::unique_ptr<db::TableCursor> promemoria_;
};
