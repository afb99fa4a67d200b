// A database on one engine's connection.
#include "db/enginedatabase.h"

#include <QRegularExpression>
#include <algorithm>

#include "db/connection.h"
#include "db/indexedtablecursor.h"
#include "db/memorysnapshot.h"

namespace db {

namespace {

// Only a query may open as a snapshot: anything else would change data on the way.
bool isQuery(const QString& sql) {
    static const QRegularExpression select(QStringLiteral(R"(^[\s(]*SELECT\b)"),
                                           QRegularExpression::CaseInsensitiveOption);
    return select.match(sql).hasMatch();
}

void requireQuery(const QString& sql) {
    if (!isQuery(sql)) throw DbError(sql, QStringLiteral("not a query that returns rows"));
}

// Pairs of texts compared by one statement: three values each, well below either engine's
// limit of placeholders.
constexpr qsizetype kPairsPerQuery = 300;

// "SELECT column1, column2 = column3 FROM (VALUES (?, ?, ?), ...) AS pairs": a pair's
// position and whether its texts are equal under `collation`.
BoundSql pairComparison(const Database::TextPairs& pairs, qsizetype first, qsizetype count,
                        const QString& collation) {
    BoundSql query{QStringLiteral("SELECT column1, column2") + collation +
                       QStringLiteral(" = column3 FROM (VALUES "),
                   {}};
    for (qsizetype i = first; i < first + count; ++i) {
        query.sql += i == first ? QStringLiteral("(?, ?, ?)") : QStringLiteral(", (?, ?, ?)");
        query.values << i << pairs[i].first << pairs[i].second;
    }
    query.sql += QStringLiteral(") AS pairs");
    return query;
}

}  // namespace

EngineDatabase::EngineDatabase(std::shared_ptr<Connection> connection)
    : connection_(std::move(connection)) {}

EngineDatabase::~EngineDatabase() {
    connection_->close();
}

const QString& EngineDatabase::path() const {
    return connection_->path();
}

void EngineDatabase::execute(const QString& sql) {
    connection_->execute(sql);
    connection_->noteChange();
}

void EngineDatabase::refreshCatalogue() {
    connection_->refreshCatalogue();
}

// Both kinds of snapshot hold every row in memory, so forward-only changes nothing here.
std::unique_ptr<Snapshot> EngineDatabase::openQuery(const QString& sql, bool /*forwardOnly*/) {
    requireQuery(sql);
    ResultRows result = connection_->query(sql);
    return std::make_unique<MemorySnapshot>(std::move(result.names), std::move(result.rows));
}

std::unique_ptr<Snapshot> EngineDatabase::openQuery(const BoundSql& query) {
    requireQuery(query.sql);
    ResultRows result = connection_->query(query);
    return std::make_unique<MemorySnapshot>(std::move(result.names), std::move(result.rows));
}

void EngineDatabase::readInBatches(const QString& sql, int batchRows, const OnBatch& onBatch) {
    requireQuery(sql);
    if (batchRows < 1) throw DbError(sql, QStringLiteral("a batch needs room for a row"));
    connection_->readInBatches(sql, batchRows, onBatch);
}

std::unique_ptr<Snapshot> EngineDatabase::openChange(const BoundSql& statement,
                                                     const QString& table, const QString& index) {
    const TableInfo info = connection_->table(table);
    ResultRows result = connection_->changeInOrder(statement, connection_->index(info, index));
    connection_->noteChange();
    return std::make_unique<MemorySnapshot>(std::move(result.names), std::move(result.rows));
}

void EngineDatabase::insertRows(const QString& table, const QStringList& columns,
                                const RowBatch& rows) {
    const TableInfo info = connection_->table(table);
    const QString operation = QStringLiteral("insert into ") + info.name;
    if (columns.size() != rows.columns())
        throw DbError(operation, QStringLiteral("%1 fields named for rows of %2 values")
                                     .arg(columns.size())
                                     .arg(rows.columns()));
    QList<int> positions;
    for (const QString& column : columns) {
        const int position = info.columnIndex(column);
        if (position < 0) throw DbError(operation, QStringLiteral("no such field ") + column);
        positions.append(position);
    }
    if (rows.isEmpty()) return;
    connection_->insertRows(info, positions, rows);
    connection_->noteChange();
}

void EngineDatabase::deleteRows(const QString& table, std::span<const qint64> rowids) {
    const TableInfo info = connection_->table(table);
    if (rowids.empty()) return;
    connection_->deleteRows(info, rowids);
    connection_->noteChange();
}

QList<bool> EngineDatabase::textsEqual(const QString& table, const QString& index,
                                       const QString& column, const TextPairs& pairs) {
    const TableInfo info = connection_->table(table);
    const IndexInfo key = connection_->index(info, index);
    const auto part = std::find_if(key.parts.cbegin(), key.parts.cend(), [&](const KeyPart& p) {
        return p.column.compare(column, Qt::CaseInsensitive) == 0;
    });
    if (part == key.parts.cend())
        throw DbError(QStringLiteral("compare ") + column,
                      QStringLiteral("not a key part of index ") + index);
    QList<bool> equal(pairs.size(), false);
    if (pairs.isEmpty()) return equal;
    // An index that names no collation compares as its column does.
    const QString collation = part->collation.isEmpty()
                                  ? connection_->collationOf(info, part->position)
                                  : QStringLiteral(" COLLATE ") + quoted(part->collation);
    for (qsizetype first = 0; first < pairs.size(); first += kPairsPerQuery) {
        RowBatch answers(1);
        connection_->readRows(
            pairComparison(pairs, first, std::min(kPairsPerQuery, pairs.size() - first), collation),
            answers);
        for (qsizetype row = 0; row < answers.size(); ++row)
            equal[answers.rowid(row)] = answers.value(row, 0).toBool();
    }
    return equal;
}

std::unique_ptr<TableCursor> EngineDatabase::openTable(const QString& table) {
    return std::make_unique<IndexedTableCursor>(connection_, connection_->table(table));
}

void EngineDatabase::setBusyTimeout(std::chrono::milliseconds timeout) {
    connection_->setBusyTimeout(timeout);
    busyTimeout_ = timeout;
}

void EngineDatabase::requireRights(const QList<TableRight>& rights) {
    connection_->requireRights(rights);
}

QList<Database::IndexedColumn> EngineDatabase::unindexed(const QList<IndexedColumn>& columns) {
    return connection_->unindexed(columns);
}

void EngineDatabase::reopenIfReplaced() {
    connection_->reopenIfReplaced();
}

std::unique_ptr<WriteWatch> EngineDatabase::watchWrites(const QString& table) {
    return connection_->watchWrites(table);
}

void EngineDatabase::beginWrite() {
    connection_->beginWrite();
}

void EngineDatabase::commit() {
    connection_->commit();
}

void EngineDatabase::rollback() {
    connection_->rollback();
    connection_->noteChange();
}

}  // namespace db
