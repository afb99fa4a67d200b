// Opening a database: the engine is chosen by what the file holds.
#include <QFile>

#include "db/database.h"
#include "db/enginedatabase.h"
#include "db/sqliteconnection.h"

namespace db {

namespace {

const QByteArray kSqliteHeader = QByteArrayLiteral("SQLite format 3\0");

QByteArray fileStart(const QString& path, qint64 bytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.read(bytes);
}

}  // namespace

std::unique_ptr<Database> open(const QString& path) {
    const QByteArray start = fileStart(path, kSqliteHeader.size());
    if (start.isEmpty() || start == kSqliteHeader)
        return std::make_unique<EngineDatabase>(std::make_shared<SqliteConnection>(path));
    throw DbError(QStringLiteral("open ") + path, QStringLiteral("not a database"));
}

std::unique_ptr<Database> Database::open(const QString& path) {
    return db::open(path);
}

}  // namespace db
