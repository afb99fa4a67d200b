// One engine's connection, as the engine-neutral database, snapshots and cursors use it.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <chrono>
#include <memory>
#include <span>

#include "db/boundsql.h"
#include "db/catalogue.h"
#include "db/database.h"
#include "db/rowbatch.h"
#include "db/writewatch.h"

namespace db {

// A whole result: its column names and its rows, numbered from 0 in place of rowids.
struct ResultRows {
    QStringList names;
    RowBatch rows;
};

// Statements reach the engine in the host's dialect with "?" placeholders; each engine
// translates what it spells otherwise. Every failure throws DbError.
class Connection : public std::enable_shared_from_this<Connection> {
public:
    virtual ~Connection() = default;

    virtual const QString& path() const = 0;
    virtual bool isOpen() const = 0;
    // Releases the engine's resources; later calls fail with DbError.
    virtual void close() = 0;

    // Runs a statement once and returns all its rows.
    virtual ResultRows query(const QString& sql) = 0;
    // Runs one of the program's fixed statements, prepared once and kept, and returns all its
    // rows.
    virtual ResultRows query(const BoundSql& query) = 0;
    // Runs a statement that returns no rows.
    virtual void execute(const QString& sql) = 0;
    // Runs a query whose first column is the rowid and the others the table's columns, and
    // appends its rows to `into`.
    virtual void readRows(const BoundSql& query, RowBatch& into) = 0;
    // Runs a statement that changes rows; returns how many it changed.
    virtual int change(const BoundSql& statement) = 0;
    // Database::readInBatches.
    virtual void readInBatches(const QString& sql, int batchRows,
                               const Database::OnBatch& onBatch) = 0;
    // Runs a statement that changes rows and returns columns of them, the key columns of
    // `index` among them; the rows come in the index's order.
    virtual ResultRows changeInOrder(const BoundSql& statement, const IndexInfo& index) = 0;
    // Adds rows in one bulk write; `columns` are the positions among the table's columns of
    // the batch's columns.
    virtual void insertRows(const TableInfo& table, const QList<int>& columns,
                            const RowBatch& rows) = 0;
    // Removes the rows that have these rowids.
    virtual void deleteRows(const TableInfo& table, std::span<const qint64> rowids) = 0;
    // What to append to a text expression to compare it as the table's column compares its
    // texts (" COLLATE ..."); empty for the engine's own comparison.
    virtual QString collationOf(const TableInfo& table, int column) = 0;

    // What the engine's catalogue says of a table and of one of its indexes.
    virtual TableInfo readTable(const QString& name) = 0;
    virtual IndexInfo readIndex(const TableInfo& table, const QString& name) = 0;

    virtual void setBusyTimeout(std::chrono::milliseconds timeout) = 0;
    // Database::requireRights; nothing to do for a file.
    virtual void requireRights(const QList<Database::TableRight>& /*rights*/) {}
    // Database::unindexed; nothing for a file.
    virtual QList<Database::IndexedColumn> unindexed(
        const QList<Database::IndexedColumn>& /*columns*/) {
        return {};
    }
    // Database::reopenIfReplaced; nothing to do for a server.
    virtual void reopenIfReplaced() {}
    // Database::watchWrites.
    virtual std::unique_ptr<WriteWatch> watchWrites(const QString& table) = 0;
    // Begins a transaction that will write, taking the write lock at once where the engine
    // has one.
    virtual void beginWrite() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;

    // Tables and indexes read once and kept until the catalogue is refreshed.
    TableInfo table(const QString& name) { return catalogue_.table(*this, name); }
    IndexInfo index(const TableInfo& table, const QString& name) {
        return catalogue_.index(*this, table, name);
    }
    // Forgets what was read of the catalogue (the schema may have changed).
    virtual void refreshCatalogue() { catalogue_.clear(); }

    // Counts the changes made through this connection: cursors compare it to know when the
    // rows they fetched ahead may be stale.
    quint64 changeCount() const { return changes_; }
    void noteChange() { ++changes_; }

private:
    Catalogue catalogue_;
    quint64 changes_ = 0;
};

}  // namespace db
