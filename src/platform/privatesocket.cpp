// Private local sockets on POSIX: folder checks, the peer's credentials, stale sockets, lines.
#include "platform/privatesocket.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <utility>

namespace privatesocket {

namespace {

// A folder, not a link to one, owned by this user and closed to everyone else.
bool isPrivateFolder(const QByteArray& path) {
    struct stat info {};
    return ::lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::geteuid() && (info.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

sockaddr_un addressOf(const QString& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (name.size() >= qsizetype(sizeof address.sun_path))
        throw Error(QStringLiteral("socket path too long: ") + path);
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    return address;
}

// Not inherited by the programs this one starts: they would keep the socket alive after it.
Descriptor newSocket() {
    Descriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!socket.valid()) throw Error::fromErrno(QStringLiteral("socket"));
    return socket;
}

// Removes the socket file at `path` when it is this user's own and nothing listens on it any
// longer: a copy that ended without closing it. Anything else there stays.
void removeIfStale(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (::lstat(name.constData(), &info) != 0) return;
    if (!S_ISSOCK(info.st_mode) || info.st_uid != ::geteuid())
        throw Error(path + QStringLiteral(" is not this user's own socket"));
    if (connectTo(path).state != State::Refused)
        throw Error(path + QStringLiteral(" still accepts connections"));
    if (::unlink(name.constData()) != 0) throw Error::fromErrno(QStringLiteral("unlink ") + path);
}

// Waits until `socket` is ready for `events`; false when `deadline` passes first.
bool waitFor(const Descriptor& socket, short events, const QDeadlineTimer& deadline) {
    pollfd entry{socket.get(), events, 0};
    for (;;) {
        const int ready = ::poll(&entry, 1, int(deadline.remainingTime()));
        if (ready > 0) return true;
        if (ready == 0 || errno != EINTR) return false;
    }
}

}  // namespace

Error Error::fromErrno(const QString& what) {
    return Error(what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno)));
}

Descriptor::~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
}

Descriptor::Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

QString folder() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (runtime.startsWith('/') && isPrivateFolder(runtime)) return QFile::decodeName(runtime);
    const QString own =
        QDir::tempPath() + QStringLiteral("/scadex-") + QString::number(::geteuid());
    const QByteArray name = QFile::encodeName(own);
    // One made earlier, or by someone else, is there already: the check decides.
    if (::mkdir(name.constData(), S_IRWXU) != 0 && errno != EEXIST)
        throw Error::fromErrno(QStringLiteral("mkdir ") + own);
    if (!isPrivateFolder(name))
        throw Error(own + QStringLiteral(" is not this user's own, closed folder"));
    return own;
}

Connection connectTo(const QString& path) {
    const sockaddr_un address = addressOf(path);
    Descriptor socket = newSocket();
    if (::connect(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
        return {State::Connected, std::move(socket)};
    switch (errno) {
        case ENOENT:
            return {State::Absent, Descriptor()};
        case ECONNREFUSED:
            return {State::Refused, Descriptor()};
        case EAGAIN:
            return {State::Busy, Descriptor()};
        default:
            throw Error::fromErrno(QStringLiteral("connect ") + path);
    }
}

bool peerIsOwnUser(const Descriptor& socket) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(socket.get(), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           size == sizeof peer && peer.uid == ::geteuid();
}

Descriptor listenAt(const QString& path) {
    const sockaddr_un address = addressOf(path);
    removeIfStale(path);
    Descriptor socket = newSocket();
    if (::bind(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        throw Error::fromErrno(QStringLiteral("bind ") + path);
    if (::listen(socket.get(), SOMAXCONN) != 0) throw Error::fromErrno(QStringLiteral("listen"));
    return socket;
}

Descriptor Lock::open(const QString& path) {
    Descriptor file(::open(QFile::encodeName(path).constData(),
                           O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, S_IRUSR | S_IWUSR));
    if (!file.valid()) throw Error::fromErrno(QStringLiteral("open ") + path);
    return file;
}

Lock::Lock(const QString& path) : file_(open(path)) {
    while (::flock(file_.get(), LOCK_EX) != 0) {
        if (errno != EINTR) throw Error::fromErrno(QStringLiteral("flock ") + path);
    }
}

std::optional<Lock> Lock::tryTake(const QString& path) {
    Descriptor file = open(path);
    while (::flock(file.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK) return std::nullopt;
        if (errno != EINTR) throw Error::fromErrno(QStringLiteral("flock ") + path);
    }
    return Lock(std::move(file));
}

std::optional<bool> readAvailable(const Descriptor& socket, qsizetype limit, QByteArray& line) {
    char buffer[4096];
    for (;;) {
        const ssize_t read = ::recv(socket.get(), buffer, sizeof buffer, 0);
        if (read == 0) return std::nullopt;
        if (read < 0) {
            if (errno == EINTR) continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) return false;
            return std::nullopt;
        }
        line.append(buffer, read);
        const qsizetype end = line.indexOf('\n');
        if (end >= 0) {
            line.truncate(end);
            return true;
        }
        if (line.size() > limit) return std::nullopt;
    }
}

bool writeAll(const Descriptor& socket, const QByteArray& bytes, const QDeadlineTimer& deadline) {
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        if (!waitFor(socket, POLLOUT, deadline)) return false;
        const ssize_t written = ::send(socket.get(), bytes.constData() + sent,
                                       size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (written > 0) sent += written;
        if (written < 0 && errno != EAGAIN && errno != EINTR) return false;
    }
    return true;
}

// A byte at a time: the lines exchanged here are short.
std::optional<QByteArray> readLine(const Descriptor& socket, qsizetype limit,
                                   const QDeadlineTimer& deadline) {
    QByteArray line;
    while (line.size() <= limit) {
        if (!waitFor(socket, POLLIN, deadline)) return std::nullopt;
        char byte = 0;
        const ssize_t read = ::recv(socket.get(), &byte, 1, 0);
        if (read == 0) return std::nullopt;
        if (read < 0) {
            if (errno == EAGAIN || errno == EINTR) continue;
            return std::nullopt;
        }
        if (byte == '\n') return line;
        line.append(byte);
    }
    return std::nullopt;
}

}  // namespace privatesocket
