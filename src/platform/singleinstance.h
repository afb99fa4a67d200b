// One running copy per user and set-up: a later start hands its message to it.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
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
        Alone,         // no copy can be told apart safely: this start carries on by itself
    };

    // `program` names the kind of copy; `key` the set-up it runs on: starts with equal keys
    // are one copy.
    SingleInstance(const QString& program, const QByteArray& key, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Hands `message` to the copy running for this user and key, or else listens for later
    // starts. A copy runs while it holds a lock beside its socket; the socket only carries
    // the messages. Alone, with the reason on the diagnostic output, when there is no private
    // folder or the socket's place is another user's; such a socket is left as it is.
    Outcome deliverOrListen(const QByteArray& message);

    // Stops taking messages and gives up the lock, so that a later start runs as the copy:
    // called first thing by a copy about to end. A message not yet confirmed is refused.
    void stopListening();

    // The socket's file name in the private folder: `program` and a digest of the user's home
    // folder and the key.
    static QString nameFor(const QString& program, const QByteArray& key);

signals:
    // A later start's message, already confirmed to it; emitted on this object's thread.
    void messageReceived(const QByteArray& message);

private:
    struct Client;

    static bool deliver(const privatesocket::Descriptor& socket, const QByteArray& message);
    void startListening(const QString& path);
    void listen();
    void accept(std::vector<Client>& clients);
    bool serve(Client& client);

    QString name_;
    QString path_;  // of the socket this copy listens on; empty until it does
    std::optional<privatesocket::Lock> running_;
    privatesocket::Descriptor listener_;
    privatesocket::Descriptor wakeRead_;
    privatesocket::Descriptor wakeWrite_;
    std::thread thread_;
};
