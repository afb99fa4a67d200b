// The work database's instance lock: flock beside a file, an advisory lock on a server.
#include "db/instancelock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

#include "db/database.h"
#include "db/dberror.h"

namespace db {

namespace {

const QString kLockSuffix = QStringLiteral(".scadex.lock");

// The server's advisory locks are one space for every program of a database: the first key
// says the lock is SCADEX's ("SCDX"), the second which work schema it guards, the one that
// holds the reminder table as the descriptor's search path finds it.
const QString kTakeOnServer = QStringLiteral(
    "SELECT pg_try_advisory_lock(1396917336, n.oid::int4)::int AS preso FROM pg_namespace n "
    "WHERE n.oid = coalesce((SELECT relnamespace FROM pg_class WHERE oid = "
    "to_regclass('promemoria')), (SELECT oid FROM pg_namespace WHERE nspname = "
    "current_schema()))");

// The server drops the session of a workstation that vanished (switched off, off the network)
// within a minute or so, its lock with it, instead of after the system's two hours.
const QString kKeepAlive = QStringLiteral(
    "SELECT set_config('tcp_keepalives_idle', '30', false), set_config("
    "'tcp_keepalives_interval', '10', false), set_config('tcp_keepalives_count', '3', false)");

// Beside the database file itself: two paths to it (a link, a folder reached two ways) lead
// to one lock file.
QString lockFileOf(const QString& path) {
    const QFileInfo work(path);
    const QString real = work.canonicalFilePath();
    return (real.isEmpty() ? work.absoluteFilePath() : real) + kLockSuffix;
}

[[noreturn]] void failOn(const QString& operation, const QString& lockFile) {
    throw DbError(operation + QLatin1Char(' ') + lockFile,
                  QString::fromLocal8Bit(std::strerror(errno)), Fault::Other, lockFile);
}

}  // namespace

InstanceLock::InstanceLock(QString path) : path_(std::move(path)) {}

InstanceLock::~InstanceLock() {
    if (file_ >= 0) ::close(file_);
}

bool InstanceLock::tryTake() {
    if (file_ >= 0 || server_) return true;
    return isServerDescriptor(path_) ? takeOnServer() : takeFile();
}

QString InstanceLock::place() const {
    return isServerDescriptor(path_) ? path_ : lockFileOf(path_);
}

// Opened for writing where it can be, as a network file system needs for an exclusive lock;
// one another operator made and left read-only to others still serves, read-only.
bool InstanceLock::takeFile() {
    // No lock file is left in a folder without the database: opening it will say what is wrong.
    if (!QFileInfo(path_).isFile()) {
        throw DbError(QStringLiteral("lock ") + path_, QStringLiteral("no such file"),
                      Fault::Missing, path_);
    }
    const QString lockFile = lockFileOf(path_);
    const QByteArray name = QFile::encodeName(lockFile);
    constexpr int kFlags = O_CREAT | O_CLOEXEC | O_NOFOLLOW;
    constexpr mode_t kMode = S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH;
    int file = ::open(name.constData(), O_RDWR | kFlags, kMode);
    if (file < 0 && errno == EACCES) file = ::open(name.constData(), O_RDONLY | kFlags, kMode);
    if (file < 0) failOn(QStringLiteral("open"), lockFile);
    int result = 0;
    do {
        result = ::flock(file, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result == 0) {
        file_ = file;
        return true;
    }
    const int cause = errno;
    ::close(file);
    errno = cause;
    if (cause == EWOULDBLOCK) return false;
    failOn(QStringLiteral("flock"), lockFile);
}

// The connection stays open for the lock's life: the server releases a session's advisory
// locks when the session ends, a process that dies included.
bool InstanceLock::takeOnServer() {
    std::unique_ptr<Database> server = open(path_);
    server->openQuery(kKeepAlive);
    const std::unique_ptr<Snapshot> taken = server->openQuery(kTakeOnServer);
    if (taken->eof()) {
        throw DbError(QStringLiteral("lock ") + path_,
                      QStringLiteral("no schema on the descriptor's search path"),
                      Fault::MissingTable, path_);
    }
    if (taken->field(QStringLiteral("preso")).toInt() != 1) return false;
    server_ = std::move(server);
    return true;
}

}  // namespace db
