// The engine-neutral database seam: a database, read-only snapshots and indexed table cursors.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <chrono>
#include <functional>
#include <memory>
#include <span>
#include <utility>

#include "db/boundsql.h"
#include "db/dberror.h"

namespace db {

class RowBatch;
class Snapshot;
class TableCursor;
class WriteWatch;

enum class SeekComparison { Equal, GreaterOrEqual };

// How long an operation waits for a lock held by another writer (the host product writes
// the same tables) before it fails, unless a LockWait says otherwise.
inline constexpr std::chrono::milliseconds kDefaultBusyTimeout{5000};

// One open database, whatever its engine. Every failure throws DbError.
class Database {
public:
    virtual ~Database() = default;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Same as db::open, for callers that name the class.
    static std::unique_ptr<Database> open(const QString& path);

    // Learning at once of the writes other connections make to `table`; nothing when the
    // engine cannot tell (a server schema without the trigger that announces them).
    virtual std::unique_ptr<WriteWatch> watchWrites(const QString& table) = 0;

    // A right a statement of the program needs on a table: "SELECT", "INSERT", "UPDATE" or
    // "DELETE".
    struct TableRight {
        QString table;
        QString right;
    };
    // Throws DbError (Fault::Denied) naming the first of `rights` the user lacks on a server;
    // a missing table is left to the statements that need it. A file's rights are the file's,
    // checked when it opens.
    virtual void requireRights(const QList<TableRight>& rights) = 0;

    // A column that a statement of the program needs to lead an index of its table.
    struct IndexedColumn {
        QString table;
        QString column;
    };
    // Those of `columns` that lead no index of their table on a server, whose schema is the
    // project's own; nothing for a file, whose indexes are the host's. A missing table is left
    // to the statements that need it.
    virtual QList<IndexedColumn> unindexed(const QList<IndexedColumn>& columns) = 0;

    // Makes sure that the database open is the one at its path: a file replaced under the
    // program (a restore, a compaction's copy renamed over it) is opened anew; one that is
    // gone throws DbError. Called between operations, never inside a transaction.
    virtual void reopenIfReplaced() = 0;

    // The path the database was opened from (a file, or a server descriptor file).
    virtual const QString& path() const = 0;

    // Runs one statement; it has taken effect when the call returns.
    virtual void execute(const QString& sql) = 0;
    // Re-reads the table catalogue (indexes and their key columns).
    virtual void refreshCatalogue() = 0;

    // A static, read-only result held in memory.
    virtual std::unique_ptr<Snapshot> openQuery(const QString& sql, bool forwardOnly = false) = 0;
    // The same for one of the program's fixed statements, its values bound to its "?"
    // placeholders: the engine keeps it prepared for the connection's life, so a statement
    // that runs at every poll is parsed and planned once.
    virtual std::unique_ptr<Snapshot> openQuery(const BoundSql& query) = 0;
    // Runs a query and hands its rows over a batch of at most `batchRows` at a time, as they
    // are read: a large result is never held whole. A row's id is its place in its batch.
    using OnBatch = std::function<void(const QStringList& names, const RowBatch& rows)>;
    virtual void readInBatches(const QString& sql, int batchRows, const OnBatch& onBatch) = 0;
    // Runs one of the program's fixed statements that changes rows of `table` and returns
    // columns of the rows changed ("UPDATE ... RETURNING"), among them the key columns of the
    // table's index `index`: the rows come in that index's order. Kept prepared, as openQuery's.
    virtual std::unique_ptr<Snapshot> openChange(const BoundSql& statement, const QString& table,
                                                 const QString& index) = 0;
    // Adds rows to a table in one bulk write; `columns` name the batch's columns in order.
    virtual void insertRows(const QString& table, const QStringList& columns,
                            const RowBatch& rows) = 0;
    // Removes the rows of a table that have these rowids; the engine batches the statements.
    virtual void deleteRows(const QString& table, std::span<const qint64> rowids) = 0;
    // Whether the two texts of each pair are equal as the index `index` of `table` compares
    // its key part `column` (its collation: the host's compare without regard to case).
    // Throws DbError when the table has no such index or key part, pairs or none.
    using TextPairs = QList<std::pair<QString, QString>>;
    virtual QList<bool> textsEqual(const QString& table, const QString& index,
                                   const QString& column, const TextPairs& pairs) = 0;
    // An updatable cursor over a whole table.
    virtual std::unique_ptr<TableCursor> openTable(const QString& table) = 0;

    // How long the next operations wait for another writer's lock before they fail;
    // LockWait sets it for a scope.
    virtual std::chrono::milliseconds busyTimeout() const = 0;
    virtual void setBusyTimeout(std::chrono::milliseconds timeout) = 0;

protected:
    Database() = default;

private:
    // Only a Transaction begins, commits and rolls back.
    friend class Transaction;
    // Begins a transaction that will write: the write lock is taken at once.
    virtual void beginWrite() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
};

// Opens an existing database, shared and read-write; never creates one. The engine is
// chosen by the file: SQLite's header, or a text file whose first line is a PostgreSQL
// connection URI. Throws DbError for anything else.
std::unique_ptr<Database> open(const QString& path);

// What tells the database at `path` from every other, whichever path leads to it: the device
// and inode of a file, or the server, database and options of a server descriptor. A path
// that cannot be read is its own identity (opening it will then say what is wrong).
QByteArray identity(const QString& path);

// Whether the file at `path` is a server descriptor (its first line a connection URI) rather
// than a database file.
bool isServerDescriptor(const QString& path);

// A read-only result: all rows are read when it opens; no statement stays open.
class Snapshot {
public:
    virtual ~Snapshot() = default;
    virtual int recordCount() const = 0;
    virtual bool eof() const = 0;
    virtual void moveNext() = 0;
    // The field of the current row; a null QVariant for Null. Throws on an unknown field
    // or when there is no current row.
    virtual QVariant field(const QString& name) const = 0;
    virtual void close() = 0;
};

// An updatable cursor over one table, walked and sought along one of its indexes.
// It remembers the key of the row it stands on and holds no statement open between calls.
class TableCursor {
public:
    virtual ~TableCursor() = default;
    // Selects an index by name, as the database's catalogue names it.
    virtual void selectIndex(const QString& name) = 0;
    // Positions on the first row whose key compares as asked with the leading key values
    // (one to as many as the index has). Sets noMatch() when there is none.
    virtual void seek(SeekComparison comparison, const QVariantList& keys) = 0;
    virtual bool noMatch() const = 0;
    virtual bool eof() const = 0;
    virtual void moveNext() = 0;
    virtual QVariant field(const QString& name) const = 0;

    // Starts a new row; fields are set with setField and written by update().
    virtual void addNew() = 0;
    // Starts editing the current row.
    virtual void edit() = 0;
    virtual void setField(const QString& name, const QVariant& value) = 0;
    // Writes the new or edited row.
    virtual void update() = 0;
    // Removes the current row.
    virtual void deleteCurrent() = 0;
    virtual void close() = 0;
};

}  // namespace db
