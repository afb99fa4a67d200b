// The SQLite engine: its own connection to a database file.
#include "db/sqliteconnection.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <numeric>
#include <vector>

#include "db/database.h"
#include "db/dberror.h"
#include "db/rowbatch.h"
#include "db/sqlitewritewatch.h"
#include "db/storedvalue.h"

namespace db {

namespace {

// Values bound to one statement of many rows at most.
constexpr qsizetype kMostValues = 600;

QVariantList storable(const QVariantList& values) {
    QVariantList result;
    result.reserve(values.size());
    for (const QVariant& value : values) result.append(toStorable(value));
    return result;
}

template <typename T>
int threeWay(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

// Two texts as one of SQLite's own collations orders them.
int compareTexts(QByteArrayView a, QByteArrayView b, const QString& collation) {
    const bool noCase = collation.compare(QLatin1String("NOCASE"), Qt::CaseInsensitive) == 0;
    if (collation.compare(QLatin1String("RTRIM"), Qt::CaseInsensitive) == 0) {
        while (a.endsWith(' ')) a.chop(1);
        while (b.endsWith(' ')) b.chop(1);
    } else if (!noCase && !collation.isEmpty() &&
               collation.compare(QLatin1String("BINARY"), Qt::CaseInsensitive) != 0) {
        throw DbError(QStringLiteral("order by collation ") + collation,
                      QStringLiteral("not one of SQLite's own"));
    }
    const auto common = static_cast<int>(std::min(a.size(), b.size()));
    int comparison = 0;
    if (common > 0)
        comparison = noCase ? sqlite3_strnicmp(a.data(), b.data(), common)
                            : std::memcmp(a.data(), b.data(), static_cast<std::size_t>(common));
    return comparison != 0 ? comparison : threeWay(a.size(), b.size());
}

// SQLite's order of stored values: Null, then numbers, then texts, then blobs.
int storageClass(RowBatch::Kind kind) {
    switch (kind) {
        case RowBatch::Kind::Null:
            return 0;
        case RowBatch::Kind::Integer:
        case RowBatch::Kind::Real:
            return 1;
        case RowBatch::Kind::Text:
            return 2;
        case RowBatch::Kind::Blob:
            break;
    }
    return 3;
}

double numberAt(const RowBatch& rows, qsizetype row, int column) {
    return rows.kind(row, column) == RowBatch::Kind::Integer
               ? static_cast<double>(rows.integer(row, column))
               : rows.real(row, column);
}

// Two rows' values of one column as SQLite's ORDER BY compares them under `collation`.
int compareStored(const RowBatch& rows, qsizetype a, qsizetype b, int column,
                  const QString& collation) {
    const RowBatch::Kind kindA = rows.kind(a, column);
    const RowBatch::Kind kindB = rows.kind(b, column);
    const int storage = storageClass(kindA);
    if (storage != storageClass(kindB)) return threeWay(storage, storageClass(kindB));
    switch (storage) {
        case 0:
            return 0;
        case 1:
            if (kindA == RowBatch::Kind::Integer && kindB == RowBatch::Kind::Integer)
                return threeWay(rows.integer(a, column), rows.integer(b, column));
            return threeWay(numberAt(rows, a, column), numberAt(rows, b, column));
        case 2:
            return compareTexts(rows.bytes(a, column), rows.bytes(b, column), collation);
        default:
            return compareTexts(rows.bytes(a, column), rows.bytes(b, column), QString());
    }
}

// Every row of the statement run with `values`, numbered from 0.
ResultRows rowsOf(SqliteStatement& statement, const QVariantList& values) {
    ResultRows result{statement.columnNames(), RowBatch()};
    const int columns = static_cast<int>(result.names.size());
    result.rows = RowBatch(columns);
    qint64 number = 0;
    statement.run(values, [&](const SqliteStatement& row) {
        result.rows.appendRow(number++);
        for (int i = 0; i < columns; ++i) row.appendTo(result.rows, i);
    });
    return result;
}

}  // namespace

SqliteConnection::SqliteConnection(const QString& path) : path_(path) {
    open();
}

void SqliteConnection::open() {
    const QString operation = QStringLiteral("open ") + path_;
    const QFileInfo file(path_);
    if (!file.exists())
        throw DbError(operation, QStringLiteral("the file does not exist"), Fault::Missing, path_);
    if (!file.isFile())
        throw DbError(operation, QStringLiteral("not a file"), Fault::NotADatabase, path_);
    // Read-write, never create: a file that went missing is an error, not a new database.
    const int status = sqlite3_open_v2(QFile::encodeName(path_).constData(), &handle_,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (status != SQLITE_OK) {
        if (!handle_)
            throw DbError(operation, QStringLiteral("out of memory"), Fault::Other, path_);
        const DbError error = sqliteError(handle_, operation);
        sqlite3_close(handle_);
        handle_ = nullptr;
        throw error;
    }
    sqlite3_extended_result_codes(handle_, 1);
    setBusyTimeout(busyTimeout_);
    try {
        // SQLite reads the header only on first use: a file that is no database fails here.
        query(QStringLiteral("SELECT count(*) FROM sqlite_master"));
        refuseReadOnly(operation, file);
    } catch (const DbError& error) {
        close();
        throw DbError(operation, error.engineMessage(), error.fault(), path_);
    }
    opened_ = identityAtPath();
}

std::optional<SqliteConnection::Identity> SqliteConnection::identityAtPath() const {
    struct stat file {};
    if (::stat(QFile::encodeName(path_).constData(), &file) != 0) return std::nullopt;
    return Identity{file.st_dev, file.st_ino};
}

// Between operations no statement of a caller's is open: the prepared ones go with the old
// handle, and a watch of the file sees the new one's data version as a change.
void SqliteConnection::reopenIfReplaced() {
    const std::optional<Identity> atPath = identityAtPath();
    if (!atPath)
        throw DbError(QStringLiteral("open ") + path_, QStringLiteral("the file does not exist"),
                      Fault::Missing, path_);
    if (handle_ && atPath == opened_) return;
    close();
    open();
}

// SQLite quietly opens a file it may not write read-only, and a write needs its journal
// beside it: either would fail only at the first write, long after the start.
void SqliteConnection::refuseReadOnly(const QString& operation, const QFileInfo& file) const {
    if (sqlite3_db_readonly(handle_, "main") == 1)
        throw DbError(operation, QStringLiteral("the file is read-only"), Fault::ReadOnly, path_);
    if (!QFileInfo(file.absolutePath()).isWritable())
        throw DbError(operation, QStringLiteral("its folder is read-only"), Fault::ReadOnly, path_);
}

SqliteConnection::~SqliteConnection() {
    close();
}

void SqliteConnection::close() {
    // Every statement must be finalized before the handle closes.
    prepared_.clear();
    Connection::refreshCatalogue();
    sqlite3_close(handle_);
    handle_ = nullptr;
}

// Every write to the file is one to the table: the file is all a watch can follow.
std::unique_ptr<WriteWatch> SqliteConnection::watchWrites(const QString& /*table*/) {
    return std::make_unique<SqliteWriteWatch>(shared_from_this());
}

ResultRows SqliteConnection::query(const QString& sql) {
    SqliteStatement statement(requireHandle(sql), sql, false);
    return rowsOf(statement, {});
}

ResultRows SqliteConnection::query(const BoundSql& query) {
    return rowsOf(prepared(query.sql), storable(query.values));
}

void SqliteConnection::execute(const QString& sql) {
    SqliteStatement(requireHandle(sql), sql, false).change({});
}

void SqliteConnection::readRows(const BoundSql& query, RowBatch& into) {
    const int columns = into.columns();
    prepared(query.sql).run(storable(query.values), [&](const SqliteStatement& result) {
        into.appendRow(result.integer(0));
        for (int i = 1; i <= columns; ++i) result.appendTo(into, i);
    });
}

int SqliteConnection::change(const BoundSql& statement) {
    return prepared(statement.sql).change(storable(statement.values));
}

void SqliteConnection::readInBatches(const QString& sql, int batchRows,
                                     const Database::OnBatch& onBatch) {
    SqliteStatement statement(requireHandle(sql), sql, false);
    const QStringList names = statement.columnNames();
    const int columns = static_cast<int>(names.size());
    const auto emptyBatch = [&] {
        RowBatch batch(columns);
        batch.reserve(batchRows);
        return batch;
    };
    RowBatch batch = emptyBatch();
    statement.run({}, [&](const SqliteStatement& row) {
        batch.appendRow(batch.size());
        for (int i = 0; i < columns; ++i) row.appendTo(batch, i);
        if (batch.size() < batchRows) return;
        onBatch(names, batch);
        batch = emptyBatch();
    });
    if (!batch.isEmpty()) onBatch(names, batch);
}

// SQLite returns the rows of a RETURNING clause in no promised order, and none can be asked
// for: they are sorted here as the index sorts them.
ResultRows SqliteConnection::changeInOrder(const BoundSql& statement, const IndexInfo& index) {
    const QString& sql = statement.sql;
    ResultRows changed = query(statement);
    QList<std::pair<int, QString>> keys;  // the key's columns in the result, and collations
    for (const KeyPart& part : index.parts) {
        const int column = indexOfName(changed.names, part.column);
        if (column < 0)
            throw DbError(sql, QStringLiteral("the key field %1 is not returned").arg(part.column));
        keys.append({column, part.collation});
    }
    std::vector<qsizetype> order(static_cast<std::size_t>(changed.rows.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        for (const auto& [column, collation] : keys) {
            const int comparison = compareStored(changed.rows, a, b, column, collation);
            if (comparison != 0) return comparison < 0;
        }
        return false;
    });
    RowBatch sorted(changed.rows.columns());
    sorted.reserve(changed.rows.size());
    for (const qsizetype row : order) sorted.appendRowOf(changed.rows, row);
    changed.rows = std::move(sorted);
    return changed;
}

// Rows of many at a time: each run of a statement has a cost of its own.
void SqliteConnection::insertRows(const TableInfo& table, const QList<int>& columns,
                                  const RowBatch& rows) {
    QString marks = QStringLiteral("(?");
    for (qsizetype i = 1; i < columns.size(); ++i) marks += QStringLiteral(", ?");
    marks += QLatin1Char(')');
    const QString insert = QStringLiteral("INSERT INTO %1 (%2) VALUES ")
                               .arg(table.quotedName, table.quotedList(columns));
    changeInRuns(rows, kMostValues / columns.size(), [&](qsizetype count) {
        return insert + QStringList(count, marks).join(QStringLiteral(", "));
    });
}

void SqliteConnection::deleteRows(const TableInfo& table, std::span<const qint64> rowids) {
    RowBatch rows(1);
    rows.reserve(static_cast<qsizetype>(rowids.size()));
    for (const qint64 rowid : rowids) {
        rows.appendRow(rowid);
        rows.appendInteger(rowid);
    }
    const QString remove = QStringLiteral("DELETE FROM %1 WHERE rowid IN (").arg(table.quotedName);
    changeInRuns(rows, kMostValues, [&](qsizetype count) {
        return remove + QStringList(count, QStringLiteral("?")).join(QStringLiteral(", ")) +
               QLatin1Char(')');
    });
}

void SqliteConnection::changeInRuns(const RowBatch& rows, qsizetype perRun,
                                    const std::function<QString(qsizetype rows)>& statementFor) {
    perRun = std::max<qsizetype>(1, perRun);
    const qsizetype whole = rows.size() - rows.size() % perRun;
    if (whole > 0) prepared(statementFor(perRun)).changeEach(rows, 0, whole, perRun);
    prepared(statementFor(1)).changeEach(rows, whole, rows.size(), 1);
}

QString SqliteConnection::collationOf(const TableInfo& table, int column) {
    const QString operation = QStringLiteral("collation of ") + table.columns.at(column);
    const char* collation = nullptr;
    if (sqlite3_table_column_metadata(requireHandle(operation), "main",
                                      table.name.toUtf8().constData(),
                                      table.columns.at(column).toUtf8().constData(), nullptr,
                                      &collation, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw sqliteError(handle_, operation);
    const QString name = QString::fromUtf8(collation);
    if (name.compare(QLatin1String("BINARY"), Qt::CaseInsensitive) == 0) return {};
    return QStringLiteral(" COLLATE ") + quoted(name);
}

TableInfo SqliteConnection::readTable(const QString& name) {
    TableInfo table{name, {}, {}, quoted(name), {}};
    prepared(QStringLiteral("SELECT name, type FROM pragma_table_info(?) ORDER BY cid"))
        .run({name}, [&table](const SqliteStatement& row) {
            table.columns.append(row.value(0).toString());
            table.declaredTypes.append(row.value(1).toString());
            table.quotedColumns.append(quoted(table.columns.last()));
        });
    if (table.columns.isEmpty())
        throw DbError(QStringLiteral("open table ") + name, QStringLiteral("no such table"),
                      Fault::MissingTable, path_);
    return table;
}

std::optional<bool> SqliteConnection::indexIsUnique(const TableInfo& table, const QString& index) {
    std::optional<bool> unique;
    prepared(QStringLiteral("SELECT name, \"unique\" FROM pragma_index_list(?)"))
        .run({table.name}, [&](const SqliteStatement& row) {
            if (row.value(0).toString().compare(index, Qt::CaseInsensitive) == 0)
                unique = row.value(1).toInt() != 0;
        });
    return unique;
}

IndexInfo SqliteConnection::readIndex(const TableInfo& table, const QString& name) {
    const QString operation = QStringLiteral("select index ") + name;
    const std::optional<bool> unique = indexIsUnique(table, name);
    if (!unique)
        throw DbError(operation, QStringLiteral("table %1 has no such index").arg(table.name));
    IndexInfo index{name, {}, *unique};
    bool expression = false;
    prepared(QStringLiteral("SELECT cid, coll FROM pragma_index_xinfo(?) WHERE key = 1 "
                            "ORDER BY seqno"))
        .run({name}, [&](const SqliteStatement& row) {
            const int position = row.value(0).toInt();
            expression = expression || position < 0;
            if (position < 0) return;
            index.parts.append({table.columns.at(position), row.value(1).toString(),
                                isDateTimeType(table.declaredTypes.at(position)), position});
        });
    if (expression)
        throw DbError(operation, QStringLiteral("an index on expressions cannot be walked"));
    return index;
}

void SqliteConnection::setBusyTimeout(std::chrono::milliseconds timeout) {
    busyTimeout_ = timeout;
    if (handle_) sqlite3_busy_timeout(handle_, static_cast<int>(timeout.count()));
}

void SqliteConnection::beginWrite() {
    // A deferred transaction would read first and then find the file locked at its first
    // write: take the write lock before anything else.
    execute(QStringLiteral("BEGIN IMMEDIATE"));
}

void SqliteConnection::commit() {
    execute(QStringLiteral("COMMIT"));
}

void SqliteConnection::rollback() {
    execute(QStringLiteral("ROLLBACK"));
}

void SqliteConnection::refreshCatalogue() {
    prepared_.clear();
    Connection::refreshCatalogue();
}

sqlite3* SqliteConnection::requireHandle(const QString& operation) const {
    if (!handle_) throw DbError(operation, QStringLiteral("the database is closed"));
    return handle_;
}

SqliteStatement& SqliteConnection::prepared(const QString& sql) {
    auto found = prepared_.find(sql);
    if (found != prepared_.end()) return **found;
    return **prepared_.insert(sql,
                              std::make_shared<SqliteStatement>(requireHandle(sql), sql, true));
}

}  // namespace db
