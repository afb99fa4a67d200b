// A database on one engine's connection: the seam's one implementation above the engines.
#pragma once

#include <memory>

#include "db/database.h"

namespace db {

class Connection;

class EngineDatabase : public Database {
public:
    explicit EngineDatabase(std::shared_ptr<Connection> connection);
    ~EngineDatabase() override;

    const QString& path() const override;
    void execute(const QString& sql) override;
    void refreshCatalogue() override;
    std::unique_ptr<Snapshot> openQuery(const QString& sql, bool forwardOnly = false) override;
    std::unique_ptr<Snapshot> openQuery(const BoundSql& query) override;
    void readInBatches(const QString& sql, int batchRows, const OnBatch& onBatch) override;
    std::unique_ptr<Snapshot> openChange(const BoundSql& statement, const QString& table,
                                         const QString& index) override;
    void insertRows(const QString& table, const QStringList& columns,
                    const RowBatch& rows) override;
    void deleteRows(const QString& table, std::span<const qint64> rowids) override;
    QList<bool> textsEqual(const QString& table, const QString& index, const QString& column,
                           const TextPairs& pairs) override;
    std::unique_ptr<TableCursor> openTable(const QString& table) override;
    std::chrono::milliseconds busyTimeout() const override { return busyTimeout_; }
    void setBusyTimeout(std::chrono::milliseconds timeout) override;
    std::unique_ptr<WriteWatch> watchWrites(const QString& table) override;
    void reopenIfReplaced() override;
    void requireRights(const QList<TableRight>& rights) override;
    QList<IndexedColumn> unindexed(const QList<IndexedColumn>& columns) override;

private:
    void beginWrite() override;
    void commit() override;
    void rollback() override;

    // Shared with the cursors, which fail cleanly once the database has been closed.
    std::shared_ptr<Connection> connection_;
    std::chrono::milliseconds busyTimeout_ = kDefaultBusyTimeout;
};

}  // namespace db
