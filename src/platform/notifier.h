// Telling the operator something through the desktop's notifications, without a window.
#pragma once

#include <QString>

// How the desktop keeps a notification: what it says decides how long the operator needs it.
enum class NotificationKind {
    Information,  // normal urgency, gone after the service's own time
    Reminder,     // normal urgency, kept until the operator acts on it or closes it
    Critical,     // critical urgency, kept until the operator closes it
};

class Notifier {
public:
    virtual ~Notifier() = default;
    // Posts a notification, or updates the one posted last while it is still shown. Without a
    // notification service nothing is shown.
    virtual void notify(NotificationKind kind, const QString& title, const QString& text) = 0;
    // Waits, up to `milliseconds`, until the service has taken what was posted: a program
    // about to end calls it so that its last word is not lost.
    virtual void waitForDelivery(int milliseconds) = 0;
};
