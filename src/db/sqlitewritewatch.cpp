// SQLite's data_version: it moves when another connection commits to the file.
#include "db/sqlitewritewatch.h"

#include <QFileInfo>
#include <utility>

#include "db/connection.h"

namespace db {

SqliteWriteWatch::SqliteWriteWatch(std::shared_ptr<Connection> connection)
    : connection_(std::move(connection)), version_(dataVersion()) {}

// A rollback journal comes and goes with each transaction: its folder tells of it.
QStringList SqliteWriteWatch::files() const {
    const QString& path = connection_->path();
    return {path, path + QStringLiteral("-wal"), path + QStringLiteral("-journal"),
            QFileInfo(path).absolutePath()};
}

bool SqliteWriteWatch::written() {
    const qint64 version = dataVersion();
    return std::exchange(version_, version) != version;
}

qint64 SqliteWriteWatch::dataVersion() {
    return connection_->query(QStringLiteral("PRAGMA data_version")).rows.value(0, 0).toLongLong();
}

}  // namespace db
