// Posting to org.freedesktop.Notifications.
#include "platform/desktopnotifier.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusReply>
#include <QEventLoop>
#include <QTimer>
#include <QVariantMap>
#include <algorithm>
#include <utility>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kDefaultAction = QStringLiteral("default");
constexpr int kServiceWaitMs = 2000;

// The hints a notification of `kind` is posted with. One that waits for the operator asks to
// stay resident where the service keeps notifications after an action; a service without that
// capability ignores the hint.
QVariantMap hints(NotificationKind kind) {
    constexpr uchar kNormalUrgency = 1;
    constexpr uchar kCriticalUrgency = 2;
    QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("scadex")}};
    const uchar urgency = kind == NotificationKind::Critical ? kCriticalUrgency : kNormalUrgency;
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(urgency));
    if (kind == NotificationKind::Reminder) hints.insert(QStringLiteral("resident"), true);
    return hints;
}

// The expiry timeout in milliseconds, as the service takes it: -1 for its own, 0 for never.
int expiry(NotificationKind kind) {
    return kind == NotificationKind::Information ? -1 : 0;
}

}  // namespace

DesktopNotifier::DesktopNotifier(QDBusConnection bus, QObject* parent)
    : QObject(parent), bus_(std::move(bus)) {
    if (!bus_.isConnected()) return;
    bus_.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                 SLOT(actionInvoked(uint, QString)));
    bus_.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                 SLOT(closed(uint, uint)));
}

bool DesktopNotifier::available() const {
    if (!bus_.isConnected()) return false;
    const QDBusConnectionInterface* bus = bus_.interface();
    if (bus->isServiceRegistered(kService)) return true;
    const QDBusReply<QStringList> activatable = bus->activatableServiceNames();
    return activatable.isValid() && activatable.value().contains(kService);
}

void DesktopNotifier::notify(NotificationKind kind, const QString& title, const QString& text) {
    if (!bus_.isConnected()) return;
    if (inFlight_) {
        next_ = Notification{kind, title, text};
        return;
    }
    if (!markup_) {
        next_ = Notification{kind, title, text};
        askCapabilities();
        return;
    }
    send({kind, title, text});
}

void DesktopNotifier::withdraw() {
    next_.reset();
    if (inFlight_) {
        withdrawPending_ = true;
        return;
    }
    closeCurrent();
}

// A program about to end waits for the answer through waitForDelivery.
void DesktopNotifier::closeCurrent() {
    if (id_ == 0) return;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                       QStringLiteral("CloseNotification"));
    call << std::exchange(id_, 0);
    ++closesPending_;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, kServiceWaitMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                --closesPending_;
                emit answered();
            });
}

void DesktopNotifier::update(NotificationKind kind, const QString& title, const QString& text) {
    if ((id_ != 0 || inFlight_) && !withdrawPending_) notify(kind, title, text);
}

void DesktopNotifier::waitForDelivery(int milliseconds) {
    if (!inFlight_ && closesPending_ == 0) return;
    QEventLoop wait;
    connect(this, &DesktopNotifier::answered, &wait, &QEventLoop::quit);
    QTimer::singleShot(milliseconds, &wait, &QEventLoop::quit);
    wait.exec();
}

void DesktopNotifier::send(const Notification& notification) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    // A body read as markup must carry names such as "ROSSI & C." escaped; one read as plain
    // text would show the escapes.
    const QString body = *markup_ ? notification.text.toHtmlEscaped() : notification.text;
    QStringList actions{kDefaultAction, QStringLiteral("Apri")};
    for (const Action& action : actions_) actions << action.key << action.label;
    call << QStringLiteral("SCADEX") << id_ << QStringLiteral("scadex") << notification.title
         << body << actions << hints(notification.kind) << expiry(notification.kind);
    // A service that does not answer in time is given up on: the next post tries again.
    inFlight_ = true;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, kServiceWaitMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &DesktopNotifier::postAnswered);
}

// Asked of the service at the first post, without waiting: the post waiting in next_ goes
// once the answer is in. A service that does not answer drops that post and is asked again
// at the next.
void DesktopNotifier::askCapabilities() {
    const QDBusMessage question = QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                                 QStringLiteral("GetCapabilities"));
    inFlight_ = true;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(question, kServiceWaitMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                inFlight_ = false;
                withdrawPending_ = false;  // nothing was posted yet
                const QDBusPendingReply<QStringList> capabilities = *finished;
                if (capabilities.isValid())
                    markup_ = capabilities.value().contains(QStringLiteral("body-markup"));
                // Given up on, or withdrawn meanwhile: the post has its answer.
                if (!capabilities.isValid() || !next_) {
                    next_.reset();
                    emit answered();
                    return;
                }
                sendNext();
            });
}

void DesktopNotifier::sendNext() {
    if (!next_) return;
    const Notification notification = *std::exchange(next_, std::nullopt);
    send(notification);
}

void DesktopNotifier::postAnswered(QDBusPendingCallWatcher* call) {
    call->deleteLater();
    inFlight_ = false;
    const QDBusPendingReply<uint> reply = *call;
    id_ = reply.isValid() ? reply.value() : 0;
    if (std::exchange(withdrawPending_, false)) closeCurrent();
    emit answered();
    sendNext();
}

void DesktopNotifier::actionInvoked(uint id, const QString& action) {
    if (id == 0 || id != id_) return;
    if (action == kDefaultAction) {
        emit activated();
    } else if (std::any_of(actions_.cbegin(), actions_.cend(),
                           [&action](const Action& offered) { return offered.key == action; })) {
        emit actionChosen(action);
    }
}

// A notification the operator or the service closed is not replaced: the next one is new.
void DesktopNotifier::closed(uint id, uint /*reason*/) {
    if (id == id_) id_ = 0;
}
