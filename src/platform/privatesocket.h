// Local sockets that only this user reaches: their folder, the user at the other end, and
// sockets left behind by a copy that ended without closing them.
#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>
#include <optional>
#include <stdexcept>
#include <utility>

namespace privatesocket {

// Why a socket cannot be used safely.
class Error : public std::runtime_error {
public:
    explicit Error(const QString& what) : std::runtime_error(what.toStdString()) {}
    // `what` followed by the system's reason for the last failed call.
    static Error fromErrno(const QString& what);
};

// An open file descriptor, closed by its one owner.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor();
    Descriptor(Descriptor&& other) noexcept;
    Descriptor& operator=(Descriptor&& other) noexcept;
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

private:
    int fd_;
};

// The folder for this user's sockets: $XDG_RUNTIME_DIR when it is this user's own folder and
// closed to everyone else; otherwise "scadex-<uid>" in the temporary folder, made so and
// checked the same way. Throws Error when neither can be trusted.
QString folder();

// What answers at a socket's path.
enum class State {
    Absent,     // nothing there
    Refused,    // a socket file nobody listens on
    Busy,       // a listener whose queue is full
    Connected,  // a listener: the descriptor is connected to it
};

struct Connection {
    State state;
    Descriptor socket;  // non-blocking; valid when Connected
};

// Connects to the socket at `path` without waiting for the listener to accept.
Connection connectTo(const QString& path);

// True when the process at the other end of the connected `socket` runs as this user.
bool peerIsOwnUser(const Descriptor& socket);

// Listens at `path`. A socket already there is first removed when it is this user's own and
// refuses connections; anything else there is left alone and Error thrown.
Descriptor listenAt(const QString& path);

// Holds an exclusive lock on the file at `path` (made when missing) while it lives. The lock
// is not inherited by the programs this process starts.
class Lock {
public:
    // Waits for the lock. Throws Error when the file cannot be opened or locked.
    explicit Lock(const QString& path);
    // The lock when nobody holds it; nothing when another process does. Throws Error as above.
    static std::optional<Lock> tryTake(const QString& path);

private:
    explicit Lock(Descriptor file) : file_(std::move(file)) {}
    static Descriptor open(const QString& path);

    Descriptor file_;
};

// Reads what has arrived on the non-blocking `socket`, without waiting, into `line` until its
// first '\n'. True once the line is whole (without its '\n'); false while it is not yet;
// nothing when the other end has gone, failed, or sent more than `limit` bytes.
std::optional<bool> readAvailable(const Descriptor& socket, qsizetype limit, QByteArray& line);

// Writes all of `bytes` before `deadline`; false on a failure or when time is up.
bool writeAll(const Descriptor& socket, const QByteArray& bytes, const QDeadlineTimer& deadline);
// Reads up to and without the first '\n' before `deadline`; nothing when the line does not
// come whole in time or is longer than `limit` bytes.
std::optional<QByteArray> readLine(const Descriptor& socket, qsizetype limit,
                                   const QDeadlineTimer& deadline);

}  // namespace privatesocket
