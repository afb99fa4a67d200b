// A real database with a hook run before each of its operations and its cursors' operations.
#pragma once

#include <functional>
#include <memory>

#include <optional>

#include "db/database.h"
#include "db/transaction.h"
#include "db/writewatch.h"

// Lets a test act (take a lock, break the connection) at an exact point of the code under
// test; every operation still runs on the real database.
class HookedDatabase : public db::Database {
public:
    using Hook = std::function<void(const char* operation)>;

    HookedDatabase(std::unique_ptr<db::Database> inner, Hook hook);

    const QString& path() const override { return inner_->path(); }
    void execute(const QString& sql) override;
    void refreshCatalogue() override;
    std::unique_ptr<db::Snapshot> openQuery(const QString& sql, bool forwardOnly = false) override;
    std::unique_ptr<db::Snapshot> openQuery(const db::BoundSql& query) override;
    void readInBatches(const QString& sql, int batchRows, const OnBatch& onBatch) override;
    std::unique_ptr<db::Snapshot> openChange(const db::BoundSql& statement, const QString& table,
                                             const QString& index) override;
    void insertRows(const QString& table, const QStringList& columns,
                    const db::RowBatch& rows) override;
    void deleteRows(const QString& table, std::span<const qint64> rowids) override;
    QList<bool> textsEqual(const QString& table, const QString& index, const QString& column,
                           const TextPairs& pairs) override;
    std::unique_ptr<db::TableCursor> openTable(const QString& table) override;
    std::chrono::milliseconds busyTimeout() const override { return inner_->busyTimeout(); }
    void setBusyTimeout(std::chrono::milliseconds timeout) override;
    void reopenIfReplaced() override { inner_->reopenIfReplaced(); }
    void requireRights(const QList<TableRight>& rights) override { inner_->requireRights(rights); }
    QList<IndexedColumn> unindexed(const QList<IndexedColumn>& columns) override {
        return inner_->unindexed(columns);
    }
    std::unique_ptr<db::WriteWatch> watchWrites(const QString& table) override {
        return inner_->watchWrites(table);
    }
    // The rows readInBatches has handed over so far.
    qint64 rowsRead() const { return rowsRead_; }

private:
    void beginWrite() override;
    void commit() override;
    void rollback() override;

    std::unique_ptr<db::Database> inner_;
    std::optional<db::Transaction> transaction_;
    std::shared_ptr<Hook> hook_;
    qint64 rowsRead_ = 0;
};
