// One Qt SQL connection to a database file.
#include "db/connection.h"

#include <QFileInfo>
#include <QSqlDriver>
#include <QUrl>

namespace db {

namespace {

QString uniqueName(const void* owner) {
    return QStringLiteral("scadex-db-%1").arg(reinterpret_cast<quintptr>(owner), 0, 16);
}

// A URI in read-write mode: SQLite then refuses to create the file when it is missing.
QString readWriteUri(const QString& path) {
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded) +
           QStringLiteral("?mode=rw");
}

sqlite3* sqliteHandle(const QSqlDatabase& database) {
    const QVariant handle = database.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

}  // namespace

Connection::Connection(const QString& path, std::chrono::milliseconds busyTimeout)
    : path_(path),
      registration_(uniqueName(this)),
      database_(QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), registration_.name())) {
    open(busyTimeout);
}

void Connection::open(std::chrono::milliseconds busyTimeout) {
    const QString operation = QStringLiteral("open ") + path_;
    const QFileInfo file(path_);
    if (!file.exists()) throw DbError(operation, QStringLiteral("the file does not exist"));
    if (!file.isFile()) throw DbError(operation, QStringLiteral("not a file"));
    if (!database_.isValid()) fail(operation, database_.lastError());
    database_.setDatabaseName(readWriteUri(path_));
    database_.setConnectOptions(
        QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeout.count()));
    if (!database_.open()) fail(operation, database_.lastError());
    // SQLite reads the header only on first use: a file that is no database fails here.
    QSqlQuery probe = freshQuery(operation);
    if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")))
        fail(operation, probe.lastError());
    probe.finish();
    handle_ = sqliteHandle(database_);
    if (!handle_) throw DbError(operation, QStringLiteral("the driver gives no SQLite handle"));
}

void Connection::close() {
    // Every statement of ours must be finalized before the driver closes the handle.
    prepared_.clear();
    catalogue_.clear();
    handle_ = nullptr;
    database_.close();
}

ResultRows Connection::query(const QString& sql) {
    // Straight on the engine's handle: Qt's per-value conversions would cost more than the
    // query itself on a large selection.
    SqliteStatement statement(handle_, sql);
    ResultRows result;
    result.names = statement.columnNames();
    const int columns = static_cast<int>(result.names.size());
    statement.run({}, [&](const SqliteStatement& row) {
        QVariantList values;
        values.reserve(columns);
        for (int i = 0; i < columns; ++i) values.append(row.value(i));
        result.rows.append(std::move(values));
    });
    return result;
}

void Connection::execute(const QString& sql) {
    QSqlQuery query = freshQuery(sql);
    if (!query.exec(sql)) fail(sql, query.lastError());
}

void Connection::refreshCatalogue() {
    prepared_.clear();
    catalogue_.clear();
}

QVariantList Connection::storable(const QVariantList& values) {
    QVariantList result;
    result.reserve(values.size());
    for (const QVariant& value : values) result.append(toStorable(value));
    return result;
}

SqliteStatement& Connection::prepared(const QString& sql) {
    auto found = prepared_.find(sql);
    if (found != prepared_.end()) return **found;
    if (!handle_) throw DbError(sql, QStringLiteral("the database is closed"));
    return **prepared_.insert(sql, std::make_shared<SqliteStatement>(handle_, sql));
}

QSqlQuery Connection::freshQuery(const QString& operation) {
    if (!database_.isOpen()) throw DbError(operation, QStringLiteral("the database is closed"));
    QSqlQuery query(database_);
    query.setForwardOnly(true);
    return query;
}

void Connection::fail(const QString& operation, const QSqlError& error) {
    const QString engine = error.databaseText();
    throw DbError(operation, engine.isEmpty() ? error.text() : engine);
}

}  // namespace db
