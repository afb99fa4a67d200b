// The PostgreSQL engine: a connection to a server database through libpq.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <chrono>
#include <memory>
#include <optional>

#include "db/connection.h"
#include "db/dberror.h"

struct pg_conn;
struct pg_result;

namespace db {

class PgConnection : public Connection {
public:
    // Connects to the server named by a connection URI; `path` is the descriptor file it came
    // from. Throws DbError. No call waits for the server longer than the lock wait plus a
    // short margin (or the descriptor's own connect_timeout, to connect): a server that
    // stops answering costs the window well under a second at each poll.
    PgConnection(const QString& path, const QByteArray& uri);
    ~PgConnection() override;
    PgConnection(const PgConnection&) = delete;
    PgConnection& operator=(const PgConnection&) = delete;

    const QString& path() const override { return path_; }
    bool isOpen() const override { return !closed_; }
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

    void setBusyTimeout(std::chrono::milliseconds timeout) override { wantedWait_ = timeout; }
    std::unique_ptr<WriteWatch> watchWrites(const QString& table) override;
    void requireRights(const QList<Database::TableRight>& rights) override;
    QList<Database::IndexedColumn> unindexed(
        const QList<Database::IndexedColumn>& columns) override;

    // The connection URI it was opened with.
    const QByteArray& uri() const { return uri_; }
    // The connection's socket, -1 while there is none: an event loop waits on it for
    // notifications.
    int socket() const;
    // The server process serving this connection; 0 while there is none.
    int backendPid() const;
    // A notification that has arrived: the server process whose transaction sent it, and its
    // payload.
    struct Notification {
        int senderPid;
        QByteArray payload;
    };
    // The notifications that have arrived, read without waiting; nothing, and the connection
    // given up, when it turns out to be lost.
    std::optional<QList<Notification>> takeNotifications();
    void beginWrite() override;
    void commit() override;
    void rollback() override;

private:
    struct ResultDeleter {
        void operator()(pg_result* result) const;
    };
    using Result = std::unique_ptr<pg_result, ResultDeleter>;

    // Runs one statement with its values and returns its result; throws DbError on failure.
    Result run(const QString& sql, const QVariantList& values = {});
    // The same through the statement's prepared form, made at its first run on this
    // connection.
    Result runPrepared(const QString& sql, const QVariantList& values);
    Result exec(const QByteArray& sql, const QVariantList& values);
    // The name of the prepared form of `spelled`, preparing it when it has none yet.
    QByteArray preparedName(const QByteArray& spelled, const QString& sql);
    // The result of a statement, or DbError with the server's reason when it failed.
    Result succeeded(Result result, const QString& sql);
    // Waits until the server's answer to the statement sent is complete; returns it.
    Result awaitAnswer(const QByteArray& sql);
    // Runs a "COPY ... FROM STDIN" with the rows of `data`, in COPY's text format.
    void copyIn(const QString& sql, const QByteArray& data);
    // Waits, until `deadline`, for the server's next result (none when it has answered all).
    Result awaitResult(std::chrono::steady_clock::time_point deadline, const QString& operation);
    // Hands COPY data to libpq (`data` null: the end of the data), waiting while its buffer
    // is full.
    void putCopyData(const char* data, int length, const QString& operation);
    // Waits for the connection's socket to be ready (`forWriting` or for reading) until
    // `deadline`; on the deadline the connection is given up and DbError thrown.
    void awaitSocket(bool forWriting, std::chrono::steady_clock::time_point deadline,
                     const QString& operation);
    void connect(const QString& operation);
    // Gives up a connection that failed or stopped answering: the server rolls back whatever
    // it had under way when it notices.
    void dropConnection();
    [[noreturn]] void fail(const QString& operation, const QString& message, Fault fault);
    std::chrono::steady_clock::time_point deadline() const;
    // Reconnects a connection that was lost, unless a transaction was under way: that one is
    // lost and only its rollback may go on.
    void requireConnection(const QString& operation);
    void applyLockWait();

    QString path_;
    QByteArray uri_;
    QString server_;  // the descriptor and the server, as failures name them
    pg_conn* connection_ = nullptr;
    bool closed_ = false;
    std::chrono::steady_clock::time_point nextAttempt_;
    std::chrono::milliseconds connectWait_{0};  // the descriptor's connect_timeout, if any
    bool inTransaction_ = false;
    std::chrono::milliseconds wantedWait_;
    std::chrono::milliseconds appliedWait_{-1};
    // The statements prepared on this connection, by their server spelling; a new connection
    // has none.
    QHash<QByteArray, QByteArray> preparedNames_;
};

}  // namespace db
