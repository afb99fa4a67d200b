// Opening a database: the engine is chosen by what the file holds.
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <QUrlQuery>

#include "db/database.h"
#include "db/enginedatabase.h"
#include "db/pgconnection.h"
#include "db/sqliteconnection.h"

namespace db {

namespace {

const QByteArray kSqliteHeader = QByteArrayLiteral("SQLite format 3\0");
// A server descriptor is a small text file; anything longer is no descriptor.
constexpr qint64 kLongestDescriptor = 4096;

QByteArray fileStart(const QString& path, qint64 bytes) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) return {};
    return file.read(bytes);
}

// The connection URI on the first line of a descriptor; empty when there is none.
QByteArray serverUri(const QByteArray& start) {
    const QByteArray line = start.left(start.indexOf('\n')).trimmed();
    if (line.startsWith("postgresql://") || line.startsWith("postgres://")) return line;
    return {};
}

bool holdsPassword(const QByteArray& uri) {
    const QUrl url(QString::fromUtf8(uri));
    return !url.password().isEmpty() || QUrlQuery(url).hasQueryItem(QStringLiteral("password"));
}

// As libpq treats its own password file: a password others can read is no secret.
void refuseReadablePassword(const QString& path, const QByteArray& uri) {
    const QFile::Permissions others = QFile::ReadGroup | QFile::ReadOther;
    if (!holdsPassword(uri) || !(QFileInfo(path).permissions() & others)) return;
    throw DbError(QStringLiteral("open ") + path,
                  QStringLiteral("the descriptor holds a password and can be read by others than "
                                 "its owner: make it readable by its owner only (chmod 600), or "
                                 "keep the password in the server's password file (~/.pgpass)"));
}

}  // namespace

std::unique_ptr<Database> open(const QString& path) {
    const QByteArray start = fileStart(path, kLongestDescriptor);
    // A missing file, a folder or an empty file: the SQLite engine says what is wrong.
    if (start.isEmpty() || start.startsWith(kSqliteHeader))
        return std::make_unique<EngineDatabase>(std::make_shared<SqliteConnection>(path));
    const QByteArray uri = serverUri(start);
    if (uri.isEmpty())
        throw DbError(QStringLiteral("open ") + path, QStringLiteral("not a database"));
    refuseReadablePassword(path, uri);
    return std::make_unique<EngineDatabase>(std::make_shared<PgConnection>(path, uri));
}

std::unique_ptr<Database> Database::open(const QString& path) {
    return db::open(path);
}

}  // namespace db
