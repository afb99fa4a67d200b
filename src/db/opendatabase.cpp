// Opening a database: the engine is chosen by what the file holds.
#include <libpq-fe.h>
#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cstring>
#include <memory>

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

using ConnectionOptions = std::unique_ptr<PQconninfoOption, decltype(&PQconninfoFree)>;

// The URI as libpq itself reads it; nothing when libpq cannot read it. libpq's message
// quotes the URI, password and all, so it is dropped unread.
ConnectionOptions parseUri(const QByteArray& uri) {
    char* message = nullptr;
    ConnectionOptions options(PQconninfoParse(uri.constData(), &message), &PQconninfoFree);
    PQfreemem(message);
    return options;
}

bool holdsPassword(const PQconninfoOption* options) {
    for (const PQconninfoOption* option = options; option->keyword != nullptr; ++option) {
        if (std::strcmp(option->keyword, "password") == 0) {
            return option->val != nullptr && *option->val != '\0';
        }
    }
    return false;
}

// The server, port, database and options (the schema's search path among them) that a URI
// reaches; the user and password do not change which data that is.
QByteArray serverIdentity(const PQconninfoOption* options) {
    QByteArray identity = "server";
    for (const PQconninfoOption* option = options; option->keyword != nullptr; ++option) {
        for (const char* keyword : {"host", "hostaddr", "port", "dbname", "options"}) {
            if (std::strcmp(option->keyword, keyword) != 0) continue;
            identity +=
                '\0' + QByteArray(keyword) + '=' + QByteArray(option->val ? option->val : "");
        }
    }
    return identity;
}

// A part of a connection URI, named, and set alone in a URI of its own for libpq to try.
struct UriPart {
    QString name;
    QByteArray alone;
};

QByteArray aloneInUri(const char* before, QByteArrayView part, const char* after = "") {
    return QByteArrayLiteral("postgresql://") + before + part.toByteArray() + after;
}

// A query parameter by its place, and by its name when that is a plain word (a parameter
// without "=" may be a password itself).
QString parameterName(qsizetype place, QByteArrayView parameter) {
    static const QRegularExpression word(QStringLiteral("^[A-Za-z_]{1,40}$"));
    const qsizetype equals = parameter.indexOf('=');
    const QString name = QString::fromLatin1(parameter.first(std::max<qsizetype>(equals, 0)));
    QString field = QStringLiteral("query parameter ") + QString::number(place);
    if (equals > 0 && word.match(name).hasMatch()) field += QStringLiteral(" (") + name + ')';
    return field;
}

// The user name and password, up to the first "@" before any "/"; `rest` moves past them.
void addCredentials(QByteArrayView& rest, QList<UriPart>& parts) {
    const qsizetype at = rest.indexOf('@');
    const qsizetype slash = rest.indexOf('/');
    if (at < 0 || (slash >= 0 && slash < at)) return;
    const QByteArrayView credentials = rest.first(at);
    const qsizetype colon = credentials.indexOf(':');
    parts.append({QStringLiteral("user name"),
                  aloneInUri("", colon < 0 ? credentials : credentials.first(colon), "@")});
    if (colon >= 0) {
        parts.append(
            {QStringLiteral("password"), aloneInUri(":", credentials.sliced(colon + 1), "@")});
    }
    rest = rest.sliced(at + 1);
}

// Hosts and ports up to "/" or "?", then the database name up to "?"; `rest` moves past them.
void addLocation(QByteArrayView& rest, QList<UriPart>& parts) {
    qsizetype end = 0;
    while (end < rest.size() && rest[end] != '/' && rest[end] != '?') ++end;
    parts.append({QStringLiteral("host and port"), aloneInUri("", rest.first(end))});
    rest = rest.sliced(end);
    if (!rest.startsWith('/')) return;
    qsizetype query = rest.indexOf('?');
    if (query < 0) query = rest.size();
    parts.append({QStringLiteral("database name"), aloneInUri("/", rest.sliced(1, query - 1))});
    rest = rest.sliced(query);
}

// The query's parameters, between "&".
void addParameters(QByteArrayView rest, QList<UriPart>& parts) {
    if (!rest.startsWith('?')) return;
    const QList<QByteArray> parameters = rest.sliced(1).toByteArray().split('&');
    for (qsizetype place = 0; place < parameters.size(); ++place) {
        parts.append(
            {parameterName(place + 1, parameters[place]), aloneInUri("?", parameters[place])});
    }
}

// Which part of a URI libpq cannot read, found part by part as libpq divides a URI; named,
// never quoted, for it may hold the password.
QString malformedPart(const QByteArray& uri) {
    QByteArrayView rest = QByteArrayView(uri).sliced(uri.indexOf("://") + 3);
    QList<UriPart> parts;
    addCredentials(rest, parts);
    addLocation(rest, parts);
    addParameters(rest, parts);
    for (const UriPart& part : parts) {
        if (!parseUri(part.alone)) return part.name;
    }
    return QStringLiteral("connection URI");
}

// libpq's reading of the descriptor's URI, or a refusal naming the file and the part that
// cannot be read; and, as libpq treats its own password file, a password others can read is
// no secret.
void checkDescriptor(const QString& path, const QByteArray& uri) {
    const ConnectionOptions options = parseUri(uri);
    const QString operation = QStringLiteral("open ") + path;
    if (!options) {
        throw DbError(operation,
                      QStringLiteral("the server descriptor is malformed at its ") +
                          malformedPart(uri) +
                          QStringLiteral(" (its first line must be a connection URI)"),
                      Fault::NotADatabase, path);
    }
    const QFile::Permissions others = QFile::ReadGroup | QFile::ReadOther;
    if (!holdsPassword(options.get()) || !(QFileInfo(path).permissions() & others)) return;
    throw DbError(operation,
                  QStringLiteral("the descriptor holds a password and can be read by others than "
                                 "its owner: make it readable by its owner only (chmod 600), or "
                                 "keep the password in the server's password file (~/.pgpass)"),
                  Fault::Other, path);
}

}  // namespace

std::unique_ptr<Database> open(const QString& path) {
    const QByteArray start = fileStart(path, kLongestDescriptor);
    // A missing file, a folder or an empty file: the SQLite engine says what is wrong.
    if (start.isEmpty() || start.startsWith(kSqliteHeader))
        return std::make_unique<EngineDatabase>(std::make_shared<SqliteConnection>(path));
    const QByteArray uri = serverUri(start);
    if (uri.isEmpty())
        throw DbError(QStringLiteral("open ") + path, QStringLiteral("not a database"),
                      Fault::NotADatabase, path);
    checkDescriptor(path, uri);
    return std::make_unique<EngineDatabase>(std::make_shared<PgConnection>(path, uri));
}

QByteArray identity(const QString& path) {
    const QByteArray uri = serverUri(fileStart(path, kLongestDescriptor));
    if (!uri.isEmpty()) {
        if (const ConnectionOptions options = parseUri(uri)) return serverIdentity(options.get());
    }
    struct stat file {};
    if (::stat(QFile::encodeName(path).constData(), &file) == 0) {
        return "file:" + QByteArray::number(static_cast<qulonglong>(file.st_dev)) + ':' +
               QByteArray::number(static_cast<qulonglong>(file.st_ino));
    }
    return "path:" + QFileInfo(path).absoluteFilePath().toUtf8();
}

bool isServerDescriptor(const QString& path) {
    return !serverUri(fileStart(path, kLongestDescriptor)).isEmpty();
}

std::unique_ptr<Database> Database::open(const QString& path) {
    return db::open(path);
}

}  // namespace db
