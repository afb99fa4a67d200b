// The PostgreSQL engine: a connection to a server database through libpq.
#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <memory>

#include "db/connection.h"

struct pg_conn;
struct pg_result;

namespace db {

class PgConnection : public Connection {
public:
    // Connects to the server named by a connection URI; `path` is the descriptor file it came
    // from. Throws DbError.
    PgConnection(const QString& path, const QByteArray& uri);
    ~PgConnection() override;
    PgConnection(const PgConnection&) = delete;
    PgConnection& operator=(const PgConnection&) = delete;

    const QString& path() const override { return path_; }
    bool isOpen() const override { return connection_ != nullptr; }
    void close() override;

    ResultRows query(const QString& sql) override;
    void execute(const QString& sql) override;
    void readRows(const BoundSql& query, RowBatch& into) override;
    int change(const BoundSql& statement) override;
    void insert(const BoundSql& statement) override;

    TableInfo readTable(const QString& name) override;
    IndexInfo readIndex(const TableInfo& table, const QString& name) override;

    void setBusyTimeout(std::chrono::milliseconds timeout) override { wantedWait_ = timeout; }
    void beginWrite() override;
    void commit() override;
    void rollback() override;

private:
    struct ResultDeleter {
        void operator()(pg_result* result) const;
    };
    using Result = std::unique_ptr<pg_result, ResultDeleter>;

    // Runs one statement with its values, after the rows held back, and returns its result;
    // throws DbError on failure.
    Result run(const QString& sql, const QVariantList& values = {});
    // Runs one statement as it is.
    Result send(const QString& sql, const QVariantList& values);
    Result exec(const QByteArray& sql, const QVariantList& values);
    // Reconnects a connection the server has dropped, unless a transaction was under way:
    // that one is lost and only its rollback may go on.
    void requireConnection(const QString& operation);
    void applyLockWait();
    // Writes the rows held back, as one INSERT of many rows.
    void writeHeldRows();

    QString path_;
    QByteArray uri_;
    pg_conn* connection_ = nullptr;
    bool inTransaction_ = false;
    // Rows added inside the transaction and not written yet: each a round trip to the server
    // otherwise. All share one INSERT text.
    QString heldInsert_;
    QVariantList heldValues_;
    int heldRows_ = 0;
    std::chrono::milliseconds wantedWait_;
    std::chrono::milliseconds appliedWait_{-1};
};

}  // namespace db
