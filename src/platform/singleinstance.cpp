// The hand-over between copies over a private local socket, confirmed by a listening thread.
#include "platform/singleinstance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <cerrno>
#include <optional>

#include "util/diagnostic.h"

namespace {

// A start waits this long for the running copy's confirmation: the copy confirms on its own
// thread, whatever its main thread is busy with, so one that has not answered by then is
// stopped or dying.
constexpr int kWaitMs = 5000;
// The running copy gives each start this long to send its line: idle connections cannot hold
// the others up.
constexpr int kClientMs = 2000;
constexpr qsizetype kLineLimit = 64 * 1024;
const QByteArray kConfirmation = QByteArrayLiteral("OK");

}  // namespace

// A start connected to the listener, and what it has sent so far.
struct SingleInstance::Client {
    privatesocket::Descriptor socket;
    QDeadlineTimer deadline;
    QByteArray line;
};

SingleInstance::SingleInstance(const QString& program, const QByteArray& key, TakeLock takeLock,
                               QObject* parent)
    : QObject(parent), name_(nameFor(program, key)), takeLock_(std::move(takeLock)) {}

SingleInstance::~SingleInstance() {
    stopListening();
}

void SingleInstance::stopListening() {
    if (thread_.joinable()) {
        wakeWrite_ = privatesocket::Descriptor();  // the listening thread sees the pipe close
        thread_.join();
        listener_ = privatesocket::Descriptor();
        ::unlink(QFile::encodeName(path_).constData());
    }
    running_.reset();
}

QString SingleInstance::nameFor(const QString& program, const QByteArray& key) {
    const QByteArray digest = QCryptographicHash::hash(QDir::homePath().toUtf8() + '\0' + key,
                                                       QCryptographicHash::Sha256);
    return program + QLatin1Char('-') + QString::fromLatin1(digest.toHex().left(16));
}

SingleInstance::Outcome SingleInstance::deliverOrListen(const QByteArray& message) {
    const std::optional<QString> path = socketPath(name_);
    // Starts at the same moment take turns: one takes the running lock and listens, the
    // others then find the lock held and the socket there.
    std::optional<privatesocket::Lock> turn;
    try {
        if (path) turn.emplace(*path + QStringLiteral(".lock"));
    } catch (const privatesocket::Error& error) {
        logDiagnostic(QStringLiteral("avvio senza turno tra le copie"), error);
    }
    const std::optional<bool> running = takeRunning(path);
    if (running == false) return path ? handOver(*path, message) : Outcome::Elsewhere;
    if (running && path && tryListening(*path)) return Outcome::Listening;
    return Outcome::Alone;
}

// The socket's path in this user's private folder; nothing, after saying why, without one.
std::optional<QString> SingleInstance::socketPath(const QString& name) {
    try {
        return privatesocket::folder() + QLatin1Char('/') + name;
    } catch (const privatesocket::Error& error) {
        logDiagnostic(QStringLiteral("avvio senza cartella privata"), error);
    }
    return std::nullopt;
}

// Whether this start is the running copy: it holds the lock given, or else the lock beside
// the socket at `path`. Nothing when neither can be had.
std::optional<bool> SingleInstance::takeRunning(const std::optional<QString>& path) {
    if (takeLock_) {
        try {
            return takeLock_();
        } catch (const std::runtime_error& error) {
            // Told by the caller once the start has gone through: a start that fails says
            // one thing only.
            lockFailure_ = QString::fromLocal8Bit(error.what());
        }
    }
    if (!path) return std::nullopt;
    try {
        running_ = privatesocket::Lock::tryTake(*path + QStringLiteral(".running"));
        return running_.has_value();
    } catch (const privatesocket::Error& error) {
        logDiagnostic(QStringLiteral("avvio senza istanza unica"), error);
    }
    return std::nullopt;
}

// The lock is another copy's: it takes the message, or this start must end all the same.
SingleInstance::Outcome SingleInstance::handOver(const QString& path, const QByteArray& message) {
    try {
        const privatesocket::Connection copy = privatesocket::connectTo(path);
        switch (copy.state) {
            case privatesocket::State::Absent:
            case privatesocket::State::Refused:
                logDiagnostic(
                    QStringLiteral("una copia è già in esecuzione ma non qui (%1)").arg(path));
                return Outcome::Elsewhere;
            case privatesocket::State::Busy:
                break;
            case privatesocket::State::Connected:
                if (!privatesocket::peerIsOwnUser(copy.socket))
                    throw privatesocket::Error(path + QStringLiteral(" is another user's"));
                if (deliver(copy.socket, message, QDeadlineTimer(kWaitMs)))
                    return Outcome::Delivered;
                break;
        }
    } catch (const privatesocket::Error& error) {
        logDiagnostic(QStringLiteral("consegna alla copia in esecuzione"), error);
    }
    logDiagnostic(QStringLiteral("una copia è già in esecuzione ma non risponde (%1)").arg(path));
    return Outcome::Unresponsive;
}

bool SingleInstance::tell(const QString& program, const QByteArray& key, const QByteArray& message,
                          int waitMs) {
    try {
        const privatesocket::Connection copy = privatesocket::connectTo(
            privatesocket::folder() + QLatin1Char('/') + nameFor(program, key));
        return copy.state == privatesocket::State::Connected &&
               privatesocket::peerIsOwnUser(copy.socket) &&
               deliver(copy.socket, message, QDeadlineTimer(waitMs));
    } catch (const privatesocket::Error&) {
        // No private folder, or a socket not ours: no copy to tell here.
    }
    return false;
}

// One line each way: the message in base64, so that no byte of it ends the line early, and
// the confirmation.
bool SingleInstance::deliver(const privatesocket::Descriptor& socket, const QByteArray& message,
                             const QDeadlineTimer& deadline) {
    return privatesocket::writeAll(socket, message.toBase64() + '\n', deadline) &&
           privatesocket::readLine(socket, kConfirmation.size(), deadline) == kConfirmation;
}

// A socket that cannot be made leaves this copy alone; the lock beside it then goes too, so
// that it tells no later start that a copy takes messages.
bool SingleInstance::tryListening(const QString& path) {
    try {
        startListening(path);
        return true;
    } catch (const privatesocket::Error& error) {
        logDiagnostic(QStringLiteral("avvio senza istanza unica"), error);
    }
    running_.reset();
    return false;
}

void SingleInstance::startListening(const QString& path) {
    int wake[2];
    if (::pipe2(wake, O_CLOEXEC) != 0)
        throw privatesocket::Error::fromErrno(QStringLiteral("pipe2"));
    wakeRead_ = privatesocket::Descriptor(wake[0]);
    wakeWrite_ = privatesocket::Descriptor(wake[1]);
    listener_ = privatesocket::listenAt(path);
    path_ = path;
    thread_ = std::thread(&SingleInstance::listen, this);
}

// The listening thread: serves every start at once, each until its line comes or its time is
// up, until the pipe closes.
void SingleInstance::listen() {
    std::vector<Client> clients;
    for (;;) {
        std::vector<pollfd> entries{{listener_.get(), POLLIN, 0}, {wakeRead_.get(), POLLIN, 0}};
        qint64 wait = -1;
        for (const Client& client : clients) {
            entries.push_back({client.socket.get(), POLLIN, 0});
            const qint64 left = client.deadline.remainingTime();
            wait = wait < 0 ? left : std::min(wait, left);
        }
        const int ready = ::poll(entries.data(), entries.size(), static_cast<int>(wait));
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0 || entries[1].revents != 0) return;
        std::vector<Client> waiting;
        for (std::size_t i = 0; i < clients.size(); ++i) {
            const bool finished = entries[i + 2].revents != 0 ? serve(clients[i]) : false;
            if (!finished && !clients[i].deadline.hasExpired())
                waiting.push_back(std::move(clients[i]));
        }
        clients = std::move(waiting);
        if (entries[0].revents != 0) accept(clients);
    }
}

void SingleInstance::accept(std::vector<Client>& clients) {
    privatesocket::Descriptor client(
        ::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
    if (!client.valid() || !privatesocket::peerIsOwnUser(client)) return;
    clients.push_back({std::move(client), QDeadlineTimer(kClientMs), {}});
}

// Confirms first and hands the message on afterwards: what the main thread then does with it
// may take long. A start that gets no confirmation deals with its message itself, so one
// whose confirmation cannot be written is dropped. True when the client is done with.
bool SingleInstance::serve(Client& client) {
    const std::optional<bool> whole =
        privatesocket::readAvailable(client.socket, kLineLimit, client.line);
    if (!whole) return true;
    if (!*whole) return false;
    if (!privatesocket::writeAll(client.socket, kConfirmation + '\n', client.deadline)) return true;
    const QByteArray message = QByteArray::fromBase64(client.line);
    QMetaObject::invokeMethod(
        this, [this, message] { emit messageReceived(message); }, Qt::QueuedConnection);
    return true;
}
