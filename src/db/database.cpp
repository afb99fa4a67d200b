// A database file opened through the adapter.
#include "db/database.h"

#include <QRegularExpression>

#include "db/connection.h"
#include "db/sqlitesnapshot.h"
#include "db/sqlitetablecursor.h"

namespace db {

namespace {

// The host writes "DELETE * FROM table" (or "DELETE table.* FROM table"); SQLite wants
// "DELETE FROM table".
QString toSqliteDialect(const QString& sql) {
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

std::unique_ptr<Database> Database::open(const QString& path,
                                         std::chrono::milliseconds busyTimeout) {
    return std::unique_ptr<Database>(new Database(std::make_shared<Connection>(path, busyTimeout)));
}

Database::Database(std::shared_ptr<Connection> connection) : connection_(std::move(connection)) {}

Database::~Database() {
    connection_->close();
}

const QString& Database::path() const {
    return connection_->path();
}

void Database::execute(const QString& sql) {
    connection_->execute(toSqliteDialect(sql));
    connection_->noteChange();
}

void Database::refreshCatalogue() {
    connection_->refreshCatalogue();
}

// Both kinds of snapshot hold every row in memory, so forward-only changes nothing here.
std::unique_ptr<Snapshot> Database::openQuery(const QString& sql, bool /*forwardOnly*/) {
    if (!isQuery(sql)) throw DbError(sql, QStringLiteral("not a query that returns rows"));
    ResultRows result = connection_->query(sql);
    return std::make_unique<SqliteSnapshot>(std::move(result.names), std::move(result.rows));
}

std::unique_ptr<TableCursor> Database::openTable(const QString& table) {
    return std::make_unique<SqliteTableCursor>(connection_,
                                               connection_->catalogue().table(*connection_, table));
}

void Database::beginTransaction() {
    connection_->execute(QStringLiteral("BEGIN"));
}

void Database::commit() {
    connection_->execute(QStringLiteral("COMMIT"));
}

void Database::rollback() {
    connection_->execute(QStringLiteral("ROLLBACK"));
    connection_->noteChange();
}

}  // namespace db
