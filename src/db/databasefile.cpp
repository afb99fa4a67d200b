// Creating a database file from DDL text.
#include "db/databasefile.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include "db/dberror.h"

namespace db {

namespace {

QString engineText(const QSqlError& error) {
    return error.databaseText().isEmpty() ? error.text() : error.databaseText();
}

// The statements of a DDL script: "--" comments dropped, split at ";".
QStringList ddlStatements(const QString& ddl) {
    QStringList code;
    for (const QString& line : ddl.split(QLatin1Char('\n'))) {
        const qsizetype comment = line.indexOf(QStringLiteral("--"));
        code.append(comment < 0 ? line : line.left(comment));
    }
    QStringList statements;
    for (const QString& statement : code.join(QLatin1Char('\n')).split(QLatin1Char(';'))) {
        if (!statement.trimmed().isEmpty()) statements.append(statement.trimmed());
    }
    return statements;
}

void runScript(const QString& connectionName, const QString& path, const QString& ddl) {
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    database.setDatabaseName(path);
    if (!database.open())
        throw DbError(QStringLiteral("create ") + path, engineText(database.lastError()));
    for (const QString& statement : ddlStatements(ddl)) {
        QSqlQuery query(database);
        if (!query.exec(statement)) throw DbError(statement, engineText(query.lastError()));
    }
}

}  // namespace

void createDatabaseFile(const QString& path, const QString& ddl) {
    if (QFileInfo::exists(path))
        throw DbError(QStringLiteral("create ") + path, QStringLiteral("the file already exists"));
    const QString connectionName = QStringLiteral("scadex-create-") + path;
    try {
        runScript(connectionName, path, ddl);
    } catch (const DbError&) {
        QSqlDatabase::removeDatabase(connectionName);
        QFile::remove(path);
        throw;
    }
    QSqlDatabase::removeDatabase(connectionName);
}

}  // namespace db
