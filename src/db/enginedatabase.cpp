// A database on one engine's connection.
#include "db/enginedatabase.h"

#include <QRegularExpression>

#include "db/connection.h"
#include "db/indexedtablecursor.h"
#include "db/memorysnapshot.h"

namespace db {

namespace {

// The host writes "DELETE * FROM table" (or "DELETE table.* FROM table"); the engines want
// "DELETE FROM table".
QString withStandardDelete(const QString& sql) {
    static const QRegularExpression deleteAll(
        QStringLiteral(R"(^(\s*DELETE)\s+(?:\S+\.)?\*\s+(FROM)\b)"),
        QRegularExpression::CaseInsensitiveOption);
    QString statement = sql;
    return statement.replace(deleteAll, QStringLiteral("\\1 \\2"));
}

// Only a query may open as a snapshot: anything else would change data on the way.
bool isQuery(const QString& sql) {
    static const QRegularExpression select(QStringLiteral(R"(^[\s(]*SELECT\b)"),
                                           QRegularExpression::CaseInsensitiveOption);
    return select.match(sql).hasMatch();
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
    connection_->execute(withStandardDelete(sql));
    connection_->noteChange();
}

void EngineDatabase::refreshCatalogue() {
    connection_->refreshCatalogue();
}

// Both kinds of snapshot hold every row in memory, so forward-only changes nothing here.
std::unique_ptr<Snapshot> EngineDatabase::openQuery(const QString& sql, bool /*forwardOnly*/) {
    if (!isQuery(sql)) throw DbError(sql, QStringLiteral("not a query that returns rows"));
    ResultRows result = connection_->query(sql);
    return std::make_unique<MemorySnapshot>(std::move(result.names), std::move(result.rows));
}

std::unique_ptr<TableCursor> EngineDatabase::openTable(const QString& table) {
    return std::make_unique<IndexedTableCursor>(connection_, connection_->table(table));
}

void EngineDatabase::setBusyTimeout(std::chrono::milliseconds timeout) {
    connection_->setBusyTimeout(timeout);
    busyTimeout_ = timeout;
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
