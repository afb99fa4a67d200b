// One running copy per user and set-up: a later start hands its message to it.
#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <thread>

#include "platform/privatesocket.h"

class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Outcome {
        Delivered,     // the running copy has confirmed the message: this start may end
        Listening,     // no copy was running: this one is it, and takes later starts' messages
        Unresponsive,  // a copy runs but did not confirm (stopped, hung): this start must end
        Elsewhere,     // a copy holds the lock but takes no message here (it runs on another
                       // workstation, or its socket has gone): this start must end
        Alone,         // no copy can be told apart safely: this start carries on by itself
    };

    // Takes, without waiting, the lock that tells the running copy apart: true when this
    // process holds it from now on, false when another does. Throws std::runtime_error, saying
    // why, when no such lock can be had.
    using TakeLock = std::function<bool()>;

    // `program` names the kind of copy; `key` the set-up it runs on: starts with equal keys
    // are one copy. The running copy is the one that holds `takeLock`'s lock (kept by its
    // caller), or without one this user's lock beside the socket.
    SingleInstance(const QString& program, const QByteArray& key, TakeLock takeLock = {},
                   QObject* parent = nullptr);
    ~SingleInstance() override;

    // Hands `message` to the copy running for this user and key, or else listens for later
    // starts. A copy runs while it holds the lock; the socket only carries the messages.
    // Alone, with the reason on the diagnostic output, when there is no private folder or the
    // socket's place is another user's; such a socket is left as it is. A lock given that
    // cannot be had is replaced by the lock beside the socket, and lockFailure() says why.
    Outcome deliverOrListen(const QByteArray& message);

    // Why the lock given could not be taken, not yet on the diagnostic output: this copy is
    // then told apart on this workstation alone, if at all. Nothing when it holds that lock
    // or none was given.
    const std::optional<QString>& lockFailure() const { return lockFailure_; }

    // Stops taking messages and gives up the lock beside the socket, so that a later start
    // runs as the copy: called first thing by a copy about to end. A message not yet
    // confirmed is refused. A lock given stays with its caller.
    void stopListening();

    // Hands `message` to the copy of `program` running for this user and `key` on this
    // workstation, waiting at most `waitMs` for its confirmation; starts nothing, and says
    // nothing when no copy listens. True when the copy confirmed it.
    static bool tell(const QString& program, const QByteArray& key, const QByteArray& message,
                     int waitMs);

    // The socket's file name in the private folder: `program` and a digest of the user's home
    // folder and the key.
    static QString nameFor(const QString& program, const QByteArray& key);

signals:
    // A later start's message, already confirmed to it; emitted on this object's thread.
    void messageReceived(const QByteArray& message);

private:
    struct Client;

    static std::optional<QString> socketPath(const QString& name);
    std::optional<bool> takeRunning(const std::optional<QString>& path);
    static Outcome handOver(const QString& path, const QByteArray& message);
    static bool deliver(const privatesocket::Descriptor& socket, const QByteArray& message,
                        const QDeadlineTimer& deadline);
    bool tryListening(const QString& path);
    void startListening(const QString& path);
    void listen();
    void accept(std::vector<Client>& clients);
    bool serve(Client& client);

    QString name_;
    TakeLock takeLock_;
    std::optional<QString> lockFailure_;
    QString path_;  // of the socket this copy listens on; empty until it does
    std::optional<privatesocket::Lock> running_;
    privatesocket::Descriptor listener_;
    privatesocket::Descriptor wakeRead_;
    privatesocket::Descriptor wakeWrite_;
    std::thread thread_;
};
