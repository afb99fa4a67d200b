// A write transaction on a database, rolled back unless committed.
#include "db/transaction.h"

#include "db/database.h"

namespace db {

Transaction::Transaction(Database& database) : database_(database) {
    database_.beginWrite();
}

Transaction::~Transaction() {
    if (!open_) return;
    try {
        database_.rollback();
    } catch (const DbError&) {
        // The engine ends a transaction it cannot roll back itself (a lost connection, a
        // failed commit); nothing is left open either way.
    }
}

void Transaction::commit() {
    database_.commit();
    open_ = false;
}

}  // namespace db
