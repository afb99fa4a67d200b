// Desktop notifications through the session bus's notification service, one replacing the last.
#pragma once

#include <QDBusConnection>
#include <QList>
#include <QObject>
#include <QString>
#include <optional>

#include "platform/notifier.h"

class QDBusPendingCallWatcher;

class DesktopNotifier : public QObject, public Notifier {
    Q_OBJECT
public:
    // An action offered on the notification beside choosing it: `key` comes back through
    // actionChosen, the service shows `label`.
    struct Action {
        QString key;
        QString label;
    };

    // Without a session bus nothing is ever posted.
    explicit DesktopNotifier(QDBusConnection bus = QDBusConnection::sessionBus(),
                             QObject* parent = nullptr);

    // A notification service is on the bus, running or ready to be started by it.
    bool available() const;

    // Posts a notification, or updates the one posted last while it is still shown. A failed
    // post (no service) is dropped: the notification only adds to the alert window.
    void notify(NotificationKind kind, const QString& title, const QString& text) override;
    void waitForDelivery(int milliseconds) override;
    // Updates the notification shown, or the one waiting for its id; posts nothing when none
    // is: what the operator has closed stays closed.
    void update(NotificationKind kind, const QString& title, const QString& text);
    // Withdraws the notification shown, one still waiting for its id included, and drops one
    // waiting to be posted.
    void withdraw();

    // The notifications posted from now on offer `actions`.
    void offerActions(const QList<Action>& actions) { actions_ = actions; }

    // The id the service gave the notification shown, 0 when none is.
    uint currentId() const { return id_; }

signals:
    // The operator chose the notification itself (its default action).
    void activated();
    // The operator chose one of the offered actions.
    void actionChosen(const QString& key);
    // The service answered a post (tests wait for it).
    void answered();

private slots:
    void actionInvoked(uint id, const QString& action);
    void closed(uint id, uint reason);

private:
    struct Notification {
        NotificationKind kind;
        QString title;
        QString text;
    };
    void send(const Notification& notification);
    void askCapabilities();
    void sendNext();
    void postAnswered(QDBusPendingCallWatcher* call);
    void closeCurrent();

    QDBusConnection bus_;
    QList<Action> actions_;
    uint id_ = 0;
    std::optional<bool> markup_;        // the service reads the body as markup
    bool inFlight_ = false;             // a post waits for its id, or the first for the
                                        // service's capabilities
    int closesPending_ = 0;             // withdrawals not answered yet
    bool withdrawPending_ = false;      // withdrawn while its id was awaited
    std::optional<Notification> next_;  // posted meanwhile: sent once that id is known
};
