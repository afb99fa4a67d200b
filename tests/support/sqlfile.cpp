// Direct SQL on test database files.
#include "support/sqlfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>
#include <stdexcept>

namespace {

QSqlQuery run(const QString& connection, const QString& sql, const QVariantList& values) {
    QSqlQuery query(QSqlDatabase::database(connection));
    if (!query.prepare(sql)) {
        throw std::runtime_error((sql + ": " + query.lastError().text()).toStdString());
    }
    for (const QVariant& value : values) query.addBindValue(value);
    if (!query.exec()) {
        throw std::runtime_error((sql + ": " + query.lastError().text()).toStdString());
    }
    return query;
}

}  // namespace

void SqlFile::create(const QString& path, const QString& schemaName) {
    QFile schema(QStringLiteral(SCADEX_SCHEMA_DIR "/") + schemaName);
    if (!schema.open(QIODevice::ReadOnly)) throw std::runtime_error("schema file missing");
    const QString ddl = QString::fromUtf8(schema.readAll());
    QDir().mkpath(QFileInfo(path).absolutePath());
    SqlFile file(path);
    for (const QString& statement : ddl.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        QString sql;
        for (const QString& line : statement.split(QLatin1Char('\n'))) {
            if (!line.trimmed().startsWith(QLatin1String("--"))) sql += line + QLatin1Char('\n');
        }
        if (!sql.trimmed().isEmpty()) file.exec(sql);
    }
}

SqlFile::SqlFile(const QString& path)
    : connectionName_(QStringLiteral("sqlfile-") + QUuid::createUuid().toString()) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open()) throw std::runtime_error(db.lastError().text().toStdString());
}

SqlFile::~SqlFile() {
    QSqlDatabase::database(connectionName_).close();
    QSqlDatabase::removeDatabase(connectionName_);
}

void SqlFile::exec(const QString& sql, const QVariantList& values) {
    run(connectionName_, sql, values);
}

QList<QVariantList> SqlFile::rows(const QString& sql, const QVariantList& values) {
    QSqlQuery query = run(connectionName_, sql, values);
    QList<QVariantList> result;
    while (query.next()) {
        QVariantList row;
        for (int i = 0; i < query.record().count(); ++i) row.append(query.value(i));
        result.append(row);
    }
    return result;
}
