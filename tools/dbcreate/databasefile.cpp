// Creating a database file from DDL text.
#include "dbcreate/databasefile.h"

#include <sqlite3.h>

#include <QFile>
#include <QFileInfo>

#include "db/dberror.h"

namespace db {

namespace {

// Runs the whole script on a new file; returns the engine's message, empty on success.
QString runScript(const QString& path, const QString& ddl) {
    sqlite3* handle = nullptr;
    QString message;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &handle,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) == SQLITE_OK) {
        char* error = nullptr;
        if (sqlite3_exec(handle, ddl.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK)
            message = QString::fromUtf8(error ? error : sqlite3_errmsg(handle));
        sqlite3_free(error);
    } else {
        message = handle ? QString::fromUtf8(sqlite3_errmsg(handle)) : QStringLiteral("no memory");
    }
    sqlite3_close(handle);
    return message;
}

}  // namespace

void createDatabaseFile(const QString& path, const QString& ddl) {
    const QString operation = QStringLiteral("create ") + path;
    if (QFileInfo::exists(path))
        throw DbError(operation, QStringLiteral("the file already exists"));
    const QString message = runScript(path, ddl);
    if (message.isEmpty()) return;
    QFile::remove(path);
    throw DbError(operation, message);
}

}  // namespace db
