// The lock that the one running copy holds on an operator's work database.
#pragma once

#include <QString>
#include <memory>

namespace db {

class Database;

// Held by the copy that reminds from a work database, whichever workstation it runs on: an
// advisory lock on a lock file beside a database file, or a session advisory lock keyed on
// the work schema for a server descriptor. Released when this object goes, or with the
// process; programs this one starts never inherit it.
class InstanceLock {
public:
    // For the work database at `path`, a file or a server descriptor; nothing is taken yet.
    explicit InstanceLock(QString path);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Takes the lock without waiting: true when this object holds it from now on, false when
    // another process holds it. Throws DbError when no lock can be had there (a folder the
    // operator cannot write, a server that refuses or does not answer).
    bool tryTake();

    // Where the lock is, as the operator would look for it: the lock file, or the descriptor.
    QString place() const;

private:
    bool takeFile();
    bool takeOnServer();

    QString path_;
    int file_ = -1;                     // the lock file, open while its lock is held
    std::unique_ptr<Database> server_;  // the connection whose session holds the server's lock
};

}  // namespace db
