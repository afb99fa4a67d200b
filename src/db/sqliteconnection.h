// The SQLite engine: its own connection to a database file, prepared statements and catalogue.
#pragma once

#include <QHash>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "db/connection.h"
#include "db/sqlitestatement.h"

struct sqlite3;

class QFileInfo;

namespace db {

class SqliteConnection : public Connection {
public:
    // Opens an existing SQLite file read-write; never creates one. Throws DbError.
    explicit SqliteConnection(const QString& path);
    ~SqliteConnection() override;
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    const QString& path() const override { return path_; }
    bool isOpen() const override { return handle_ != nullptr; }
    void close() override;

    ResultRows query(const QString& sql) override;
    ResultRows query(const BoundSql& query) override;
    void execute(const QString& sql) override;
    void readRows(const BoundSql& query, RowBatch& into) override;
    int change(const BoundSql& statement) override;
    void readInBatches(const QString& sql, int batchRows,
                       const Database::OnBatch& onBatch) override;
    ResultRows changeInOrder(const BoundSql& statement, const IndexInfo& index) override;
    void insertRows(const TableInfo& table, const QList<int>& columns,
                    const RowBatch& rows) override;
    void deleteRows(const TableInfo& table, std::span<const qint64> rowids) override;
    QString collationOf(const TableInfo& table, int column) override;

    TableInfo readTable(const QString& name) override;
    IndexInfo readIndex(const TableInfo& table, const QString& name) override;

    void setBusyTimeout(std::chrono::milliseconds timeout) override;
    std::unique_ptr<WriteWatch> watchWrites(const QString& table) override;
    void reopenIfReplaced() override;
    void beginWrite() override;
    void commit() override;
    void rollback() override;
    void refreshCatalogue() override;

private:
    // The device and inode of a file.
    using Identity = std::pair<quint64, quint64>;

    void open();
    // The identity of the file at the path now; nothing when there is none.
    std::optional<Identity> identityAtPath() const;
    void refuseReadOnly(const QString& operation, const QFileInfo& file) const;
    sqlite3* requireHandle(const QString& operation) const;
    // A prepared statement kept for the life of the catalogue.
    SqliteStatement& prepared(const QString& sql);
    // Runs the statement `statementFor(n)` makes for n rows over the rows, `perRun` at a time
    // and the rest one by one: a statement's every run has a cost of its own.
    void changeInRuns(const RowBatch& rows, qsizetype perRun,
                      const std::function<QString(qsizetype rows)>& statementFor);
    // Whether the table's index of that name is unique; nothing when there is no such index.
    std::optional<bool> indexIsUnique(const TableInfo& table, const QString& index);

    QString path_;
    sqlite3* handle_ = nullptr;
    std::optional<Identity> opened_;  // of the file the handle has open
    std::chrono::milliseconds busyTimeout_ = kDefaultBusyTimeout;
    QHash<QString, std::shared_ptr<SqliteStatement>> prepared_;
};

}  // namespace db
