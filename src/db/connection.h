// One Qt SQL connection to a database file: prepared statements, catalogue and change count.
#pragma once

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <chrono>
#include <memory>
#include <utility>

#include "db/catalogue.h"
#include "db/dberror.h"
#include "db/sqlitestatement.h"
#include "db/storedvalue.h"

namespace db {

// A whole result: its column names and its rows.
struct ResultRows {
    QStringList names;
    QList<QVariantList> rows;
};

class Connection {
public:
    // Opens an existing SQLite file read-write; never creates one. Throws DbError.
    Connection(const QString& path, std::chrono::milliseconds busyTimeout);
    ~Connection() = default;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    const QString& path() const { return path_; }
    bool isOpen() const { return database_.isOpen(); }
    // Releases every statement and the file; later calls fail with DbError.
    void close();

    // Runs a statement once, without keeping it prepared, and returns all its rows.
    ResultRows query(const QString& sql);
    // Runs a statement once, without keeping it prepared.
    void execute(const QString& sql);

    // Runs a kept prepared statement with its values and hands each result row to onRow.
    template <typename OnRow>
    void select(const QString& sql, const QVariantList& values, OnRow&& onRow) {
        prepared(sql).run(storable(values), onRow);
    }
    // Runs a kept prepared statement that changes rows; returns how many it changed.
    int change(const QString& sql, const QVariantList& values) {
        return prepared(sql).change(storable(values));
    }

    Catalogue& catalogue() { return catalogue_; }
    // Forgets the catalogue and the prepared statements (the schema may have changed).
    void refreshCatalogue();

    // Counts the changes made through this connection: cursors compare it to know when the
    // rows they fetched ahead may be stale.
    quint64 changeCount() const { return changes_; }
    void noteChange() { ++changes_; }

private:
    // Removes the Qt connection when the Connection goes, after every member using it.
    class Registration {
    public:
        explicit Registration(QString name) : name_(std::move(name)) {}
        ~Registration() { QSqlDatabase::removeDatabase(name_); }
        Registration(const Registration&) = delete;
        Registration& operator=(const Registration&) = delete;
        const QString& name() const { return name_; }

    private:
        QString name_;
    };

    void open(std::chrono::milliseconds busyTimeout);
    static QVariantList storable(const QVariantList& values);
    SqliteStatement& prepared(const QString& sql);
    QSqlQuery freshQuery(const QString& operation);
    [[noreturn]] static void fail(const QString& operation, const QSqlError& error);

    QString path_;
    Registration registration_;
    QSqlDatabase database_;
    // The adapter's own statements run on the driver's sqlite3 handle: reading rows through
    // QSqlQuery costs several times the engine's own time per row, and walks are long.
    sqlite3* handle_ = nullptr;
    QHash<QString, std::shared_ptr<SqliteStatement>> prepared_;
    Catalogue catalogue_;
    quint64 changes_ = 0;
};

}  // namespace db
