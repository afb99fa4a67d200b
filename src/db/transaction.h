// A write transaction on a database, rolled back unless committed.
#pragma once

namespace db {

class Database;

// Begins at construction and takes the write lock at once (another writer's lock makes
// the constructor fail after the busy timeout, before anything is read or written). The
// destructor rolls back whatever was not committed, on every path out of the scope.
class Transaction {
public:
    // Throws DbError when the transaction cannot begin.
    explicit Transaction(Database& database);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Makes the changes lasting. Throws DbError; the changes are then rolled back.
    void commit();

private:
    Database& database_;
    bool open_ = true;
};

}  // namespace db
