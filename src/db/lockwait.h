// How long a database waits for another writer's lock, for the length of a scope.
#pragma once

#include <chrono>

namespace db {

class Database;

// For work that is simply tried again at the next tick (the poll, the rebuild): a lock held
// by the host product longer than this skips the step instead of freezing the window.
inline constexpr std::chrono::milliseconds kBriefLockWait{300};

// Sets the wait at construction and puts the previous one back at destruction. Never throws:
// the engine applies the wait with its next statement.
class LockWait {
public:
    LockWait(Database& database, std::chrono::milliseconds wait);
    ~LockWait();
    LockWait(const LockWait&) = delete;
    LockWait& operator=(const LockWait&) = delete;

private:
    Database& database_;
    std::chrono::milliseconds previous_;
};

}  // namespace db
