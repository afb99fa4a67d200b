// Creating a database file from DDL text, for tests, benchmarks and the demo workspace.
#pragma once

#include <QString>

namespace db {

// Creates a new SQLite file and runs the statements of `ddl` in it. Throws DbError when the
// file already exists or a statement fails; a failed creation leaves no file behind.
void createDatabaseFile(const QString& path, const QString& ddl);

}  // namespace db
