// The side connection through QSqlDatabase, without a busy timeout: it must never wait.
#include "sideconnection.h"

#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace {

QSqlQuery executed(const QString& connection, const QString& sql, const QVariantList& values) {
    QSqlQuery query(QSqlDatabase::database(connection));
    query.prepare(sql);
    for (const QVariant& value : values) query.addBindValue(value);
    if (!query.exec())
        ADD_FAILURE() << sql.toStdString() << ": " << query.lastError().text().toStdString();
    return query;
}

}  // namespace

SideConnection::SideConnection(const QString& path) : name_(QUuid::createUuid().toString()) {
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
    database.setDatabaseName(path);
    if (!database.open()) ADD_FAILURE() << "cannot open " << path.toStdString();
}

SideConnection::~SideConnection() {
    QSqlDatabase::database(name_).close();
    QSqlDatabase::removeDatabase(name_);
}

void SideConnection::runScript(const QString& script) {
    QString statements;
    for (const QString& line : script.split(QLatin1Char('\n'))) {
        if (!line.trimmed().startsWith(QStringLiteral("--")))
            statements += line + QLatin1Char('\n');
    }
    for (const QString& statement : statements.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (!statement.trimmed().isEmpty()) run(statement);
    }
}

void SideConnection::run(const QString& sql, const QVariantList& values) {
    executed(name_, sql, values);
}

QVariant SideConnection::value(const QString& sql, const QVariantList& values) {
    QSqlQuery query = executed(name_, sql, values);
    return query.next() ? query.value(0) : QVariant();
}
