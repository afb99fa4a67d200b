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

#include "util/diagnostica.h"

namespace {

// The listening copy confirms on its own thread, whatever its main thread is busy with; a
// copy that has not answered by then is stopped or dying.
constexpr int kWaitMs = 5000;
constexpr qsizetype kLineLimit = 64 * 1024;
const QByteArray kConfirmation = QByteArrayLiteral("OK");

}  // namespace

SingleInstance::SingleInstance(const QString& program, const QByteArray& key, QObject* parent)
    : QObject(parent), name_(nameFor(program, key)) {}

SingleInstance::~SingleInstance() {
    if (!thread_.joinable()) return;
    wakeWrite_ = privatesocket::Descriptor();  // the listening thread sees the pipe close
    thread_.join();
    ::unlink(QFile::encodeName(path_).constData());
}

QString SingleInstance::nameFor(const QString& program, const QByteArray& key) {
    const QByteArray digest = QCryptographicHash::hash(QDir::homePath().toUtf8() + '\0' + key,
                                                       QCryptographicHash::Sha256);
    return program + QLatin1Char('-') + QString::fromLatin1(digest.toHex().left(16));
}

SingleInstance::Outcome SingleInstance::deliverOrListen(const QByteArray& message) {
    try {
        const QString path = privatesocket::folder() + QLatin1Char('/') + name_;
        // Starts at the same moment take turns: one finds the name free or stale and takes
        // it, the others then find it live.
        const privatesocket::Lock turn(path + QStringLiteral(".lock"));
        const privatesocket::Connection running = privatesocket::connectTo(path);
        switch (running.state) {
            case privatesocket::State::Connected:
                deliver(running.socket, path, message);
                return Outcome::Delivered;
            case privatesocket::State::Busy:
                throw privatesocket::Error(path + QStringLiteral(" takes no more connections"));
            case privatesocket::State::Absent:
            case privatesocket::State::Refused:
                startListening(path);
                return Outcome::Listening;
        }
    } catch (const privatesocket::Error& error) {
        Diagnostica(QStringLiteral("avvio senza istanza unica"), error);
    }
    return Outcome::Alone;
}

// One line each way: the message in base64, so that no byte of it ends the line early, and
// the confirmation.
void SingleInstance::deliver(const privatesocket::Descriptor& socket, const QString& path,
                             const QByteArray& message) {
    if (!privatesocket::peerIsOwnUser(socket))
        throw privatesocket::Error(path + QStringLiteral(" is another user's"));
    const QDeadlineTimer deadline(kWaitMs);
    if (!privatesocket::writeAll(socket, message.toBase64() + '\n', deadline) ||
        privatesocket::readLine(socket, kConfirmation.size(), deadline) != kConfirmation)
        throw privatesocket::Error(path + QStringLiteral(" did not confirm"));
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

// The listening thread: serves one start after another until the pipe closes.
void SingleInstance::listen() {
    pollfd entries[] = {{listener_.get(), POLLIN, 0}, {wakeRead_.get(), POLLIN, 0}};
    for (;;) {
        const int ready = ::poll(entries, 2, -1);
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0 || entries[1].revents != 0) return;
        serve(privatesocket::Descriptor(
            ::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)));
    }
}

// Confirms first and hands the message on afterwards: what the main thread then does with it
// may take long. A start that gets no confirmation deals with its message itself, so one
// whose confirmation cannot be written is dropped.
void SingleInstance::serve(const privatesocket::Descriptor& client) {
    if (!client.valid() || !privatesocket::peerIsOwnUser(client)) return;
    const QDeadlineTimer deadline(kWaitMs);
    const std::optional<QByteArray> line = privatesocket::readLine(client, kLineLimit, deadline);
    if (!line || !privatesocket::writeAll(client, kConfirmation + '\n', deadline)) return;
    const QByteArray message = QByteArray::fromBase64(*line);
    QMetaObject::invokeMethod(
        this, [this, message] { emit messageReceived(message); }, Qt::QueuedConnection);
}
