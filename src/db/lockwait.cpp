// How long a database waits for another writer's lock, for the length of a scope.
#include "db/lockwait.h"

#include "db/database.h"

namespace db {

LockWait::LockWait(Database& database, std::chrono::milliseconds wait)
    : database_(database), previous_(database.busyTimeout()) {
    database_.setBusyTimeout(wait);
}

LockWait::~LockWait() {
    database_.setBusyTimeout(previous_);
}

}  // namespace db
