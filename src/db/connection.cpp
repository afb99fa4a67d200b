// One Qt SQL connection to a database file.
#include "db/connection.h"

#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <QUrl>

#include "util/dateserial.h"

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

bool isWholeNumber(const QMetaType& type) {
    switch (type.id()) {
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::LongLong:
            return true;
        default:
            return false;
    }
}

}  // namespace

QVariant toStorable(const QVariant& value) {
    if (value.isNull()) return {};
    const QMetaType type = value.metaType();
    if (isWholeNumber(type)) return value.toLongLong();
    switch (type.id()) {
        case QMetaType::Float:
            return value.toDouble();
        case QMetaType::QDate:
            return dateserial::fromDateTime(QDateTime(value.toDate(), QTime(0, 0)));
        case QMetaType::QDateTime:
            return dateserial::fromDateTime(value.toDateTime());
        default:
            return value;
    }
}

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
}

void Connection::close() {
    prepared_.clear();
    catalogue_.clear();
    database_.close();
}

ResultRows Connection::query(const QString& sql) {
    QSqlQuery query = freshQuery(sql);
    Finisher finisher(query);
    if (!query.exec(sql)) fail(sql, query.lastError());
    ResultRows result;
    const QSqlRecord record = query.record();
    for (int i = 0; i < record.count(); ++i) result.names.append(record.fieldName(i));
    readRows(query, sql, [&result, columns = record.count()](const QSqlQuery& row) {
        QVariantList values;
        values.reserve(columns);
        for (int i = 0; i < columns; ++i) values.append(fromStored(row.value(i)));
        result.rows.append(std::move(values));
    });
    return result;
}

int Connection::execute(const QString& sql) {
    QSqlQuery query = freshQuery(sql);
    Finisher finisher(query);
    if (!query.exec(sql)) fail(sql, query.lastError());
    return query.numRowsAffected();
}

int Connection::change(const QString& sql, const QVariantList& values) {
    QSqlQuery& query = prepared(sql);
    Finisher finisher(query);
    execPrepared(query, values, sql);
    return query.numRowsAffected();
}

void Connection::refreshCatalogue() {
    prepared_.clear();
    catalogue_.clear();
}

QSqlQuery& Connection::prepared(const QString& sql) {
    auto found = prepared_.find(sql);
    if (found != prepared_.end()) return *found;
    QSqlQuery query = freshQuery(sql);
    if (!query.prepare(sql)) fail(sql, query.lastError());
    return *prepared_.insert(sql, query);
}

QSqlQuery Connection::freshQuery(const QString& operation) {
    if (!database_.isOpen()) throw DbError(operation, QStringLiteral("the database is closed"));
    QSqlQuery query(database_);
    query.setForwardOnly(true);
    return query;
}

void Connection::execPrepared(QSqlQuery& query, const QVariantList& values, const QString& sql) {
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(static_cast<int>(i), toStorable(values[i]));
    if (!query.exec()) fail(sql, query.lastError());
}

void Connection::fail(const QString& operation, const QSqlError& error) {
    const QString engine = error.databaseText();
    throw DbError(operation, engine.isEmpty() ? error.text() : engine);
}

}  // namespace db
