// Creating a database on a PostgreSQL server from DDL text.
#include "dbcreate/serverschema.h"

#include <libpq-fe.h>

#include <QUrl>
#include <QUrlQuery>
#include <memory>

#include "db/catalogue.h"
#include "db/dberror.h"

namespace db {

namespace {

QByteArray withSearchPath(const QByteArray& uri, const QString& schema) {
    QUrl url(QString::fromUtf8(uri));
    QUrlQuery query(url);
    query.removeAllQueryItems(QStringLiteral("options"));
    query.addQueryItem(
        QStringLiteral("options"),
        QStringLiteral("-csearch_path%3D") + QString::fromUtf8(QUrl::toPercentEncoding(schema)));
    url.setQuery(query);
    return url.toEncoded();
}

}  // namespace

QByteArray createServerSchema(const QByteArray& uri, const QString& schema, const QString& ddl,
                              bool replace) {
    const QString operation = QStringLiteral("create schema ") + schema;
    const QByteArray target = withSearchPath(uri, schema);
    const std::unique_ptr<PGconn, decltype(&PQfinish)> connection(PQconnectdb(target.constData()),
                                                                  &PQfinish);
    if (PQstatus(connection.get()) != CONNECTION_OK)
        throw DbError(operation, QString::fromUtf8(PQerrorMessage(connection.get())).trimmed());
    // The server's notices ("drop cascades to ...") are no failure and nobody's business.
    PQsetNoticeProcessor(
        connection.get(), [](void*, const char*) {}, nullptr);
    const QString drop = replace ? QStringLiteral("DROP SCHEMA IF EXISTS ") + quoted(schema) +
                                       QStringLiteral(" CASCADE;\n")
                                 : QString();
    const QString script = QStringLiteral("BEGIN;\n") + drop + QStringLiteral("CREATE SCHEMA ") +
                           quoted(schema) + QStringLiteral(";\n") + ddl +
                           QStringLiteral(";\nCOMMIT;");
    const std::unique_ptr<PGresult, decltype(&PQclear)> result(
        PQexec(connection.get(), script.toUtf8().constData()), &PQclear);
    if (PQresultStatus(result.get()) != PGRES_COMMAND_OK)
        throw DbError(operation, QString::fromUtf8(PQresultErrorMessage(result.get())).trimmed());
    return target;
}

}  // namespace db
