// Creating a database on a PostgreSQL server from DDL text, for tests, benchmarks and the demo.
#pragma once

#include <QByteArray>
#include <QString>

namespace db {

// Creates schema `schema` in the server database named by the connection URI and runs the
// statements of `ddl` in it, all in one transaction; with `replace`, an existing schema of
// that name is dropped first. Returns the URI that names the new schema (its search_path),
// the one line of a descriptor file. Throws DbError.
QByteArray createServerSchema(const QByteArray& uri, const QString& schema, const QString& ddl,
                              bool replace);

}  // namespace db
