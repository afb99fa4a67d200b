// Platform fakes that tests script and inspect.
#pragma once

#include <QDateTime>
#include <QList>
#include <QPair>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <algorithm>
#include <climits>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/copymessenger.h"
#include "platform/documentopener.h"
#include "platform/eventyielder.h"
#include "platform/filedialog.h"
#include "platform/messagebox.h"
#include "platform/notifier.h"
#include "platform/processlauncher.h"
#include "platform/screen.h"
#include "platform/services.h"
#include "platform/soundplayer.h"
#include "reminder/argomentoavviso.h"
#include "reminder/argomentoerrato.h"

class FakeWallTimer;

// A clock that shows `moment` until a test moves it. Its timers run on the event loop for the
// distance from `moment` when armed; jump() sets the clock as a step or a resume would.
class FakeClock : public Clock {
public:
    QDateTime moment = QDateTime(QDate(2026, 12, 6), QTime(9, 0));
    QDateTime now() const override { return moment; }
    std::unique_ptr<WallTimer> timer(std::function<void()> onTimeout,
                                     std::function<void()> onClockSet) const override;
    // Sets the clock to `to` and tells every armed timer.
    void jump(const QDateTime& to);

private:
    friend class FakeWallTimer;
    mutable std::vector<FakeWallTimer*> timers_;
};

class FakeWallTimer : public WallTimer {
public:
    FakeWallTimer(const FakeClock& clock, std::function<void()> onTimeout,
                  std::function<void()> onClockSet)
        : clock_(clock), onClockSet_(std::move(onClockSet)) {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this, onTimeout] {
            moment_.reset();
            if (onTimeout) onTimeout();
        });
        clock_.timers_.push_back(this);
    }
    ~FakeWallTimer() override { std::erase(clock_.timers_, this); }

    void start(Instant moment) override {
        moment_ = moment;
        const qint64 distance = (moment - instantOf(clock_.now())).count();
        timer_.start(static_cast<int>(std::clamp<qint64>(distance, 0, INT_MAX)));
    }
    void stop() override {
        moment_.reset();
        timer_.stop();
    }
    std::optional<Instant> moment() const override { return moment_; }
    // As the system's does, it keeps its moment and tells its owner.
    void clockSet() {
        if (!moment_) return;
        start(*moment_);
        if (onClockSet_) onClockSet_();
    }

private:
    const FakeClock& clock_;
    std::function<void()> onClockSet_;
    std::optional<Instant> moment_;
    QTimer timer_;
};

inline std::unique_ptr<WallTimer> FakeClock::timer(std::function<void()> onTimeout,
                                                   std::function<void()> onClockSet) const {
    return std::make_unique<FakeWallTimer>(*this, std::move(onTimeout), std::move(onClockSet));
}

inline void FakeClock::jump(const QDateTime& to) {
    moment = to;
    for (FakeWallTimer* timer : std::vector(timers_)) timer->clockSet();
}

struct LaunchRecord {
    QString program;
    QStringList arguments;

    // "client|action" of the reminder handed to the alert program; an argument the alert
    // program would refuse comes whole.
    QString clientAndAction() const {
        try {
            const ArgomentoAvviso avviso = ArgomentoAvviso::leggi(arguments.value(0));
            return QString::number(avviso.cliente) + QLatin1Char('|') + avviso.azione;
        } catch (const ArgomentoErrato&) {
            return arguments.value(0);
        }
    }
};

class RecordingLauncher : public ProcessLauncher {
public:
    QList<LaunchRecord> launches;
    bool succeed = true;
    bool startDetached(const QString& program, const QStringList& arguments) override {
        launches.append({program, arguments});
        return succeed;
    }
};

// Runs `onYield` (when set) each time the code under test yields to events.
class FakeYielder : public EventYielder {
public:
    int yields = 0;
    std::function<void()> onYield;
    void yieldToEvents() override {
        ++yields;
        if (onYield) onYield();
    }
};

// Answers boxes from a script (Ok / Yes by default) and records every request.
class ScriptedMessageBox : public MessageBox {
public:
    QList<MessageRequest> shown;
    std::deque<MessageAnswer> answers;
    MessageAnswer show(const MessageRequest& request) override {
        shown.append(request);
        if (answers.empty()) {
            return request.buttons == MessageButtons::YesNo ? MessageAnswer::Yes
                                                            : MessageAnswer::Ok;
        }
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class FakeScreen : public Screen {
public:
    QRect area = QRect(0, 0, 1280, 1024);
    double dpi = 96.0;
    QRect geometry() const override { return area; }
    double logicalDpi() const override { return dpi; }
};

// Records what it plays; with `failure` set, tells each play's handler so at once.
class RecordingSoundPlayer : public SoundPlayer {
public:
    QStringList played;
    std::optional<SoundFailure> failure;
    void play(const QString& path, FailureHandler onFailure) override {
        played.append(path);
        if (failure && onFailure) onFailure(*failure);
    }
};

class ScriptedFileDialog : public FileDialog {
public:
    QList<FileDialogRequest> requests;
    std::optional<FileChoice> answer;  // nothing: the operator cancels
    std::optional<FileChoice> open(const FileDialogRequest& request) override {
        requests.append(request);
        return answer;
    }
};

class FakeDocumentOpener : public DocumentOpener {
public:
    QStringList opened;
    OpenResult result = OpenResult::Opened;
    LaterFailure failedLater;  // of the last document opened
    OpenResult open(const QString& name, LaterFailure later) override {
        opened.append(name);
        failedLater = std::move(later);
        return result;
    }
};

// Keeps what would have been shown on the desktop.
struct RecordingNotifier : Notifier {
    QList<QPair<QString, QString>> posted;  // summary and body
    QList<NotificationKind> kinds;          // of each posted
    void notify(NotificationKind kind, const QString& title, const QString& text) override {
        posted.append({title, text});
        kinds.append(kind);
    }
    void waitForDelivery(int) override {}
};

// Keeps what the program told other copies; they take it when `running`.
struct RecordingCopyMessenger : CopyMessenger {
    struct Message {
        QString program;
        QByteArray key;
        QByteArray message;
    };
    QList<Message> told;
    bool running = true;
    bool tell(const QString& program, const QByteArray& key, const QByteArray& message) override {
        told.append({program, key, message});
        return running;
    }
};

// Every fake at once, handed out as the program's platform services.
struct FakePlatform {
    FakeClock clock;
    RecordingLauncher launcher;
    FakeYielder yielder;
    ScriptedMessageBox messages;
    FakeScreen screen;
    RecordingSoundPlayer sound;
    ScriptedFileDialog fileDialog;
    FakeDocumentOpener documents;
    RecordingNotifier notifications;
    RecordingCopyMessenger copies;

    PlatformServices services() {
        return {clock, launcher,   yielder,   messages,      screen,
                sound, fileDialog, documents, notifications, copies};
    }
};
