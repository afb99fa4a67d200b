// Checks on a database file through SQLite's plain VFS, beside the program's connections.
#pragma once

#include <QString>
#include <QStringList>

struct sqlite3;

// A connection of its own, as another process (the host product) would hold one: it bypasses
// the fault-injecting VFS and waits for no lock.
class RawDatabase {
public:
    explicit RawDatabase(const QString& path);
    ~RawDatabase();
    RawDatabase(const RawDatabase&) = delete;
    RawDatabase& operator=(const RawDatabase&) = delete;

    // "ok", or what PRAGMA integrity_check found.
    QString integrity();
    // Every row of a query, each as its values joined by "|" (NULL as "NULL").
    QStringList rows(const QString& sql);
    // Whether this connection can write and commit at once: no other connection holds a
    // transaction open. The probe row is inserted into `table` and removed again.
    bool canWriteAtOnce(const QString& table);

private:
    bool run(const QString& sql);

    sqlite3* handle_ = nullptr;
};
