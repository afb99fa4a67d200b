// Platform fakes that tests script and inspect.
#pragma once

#include <QDateTime>
#include <QList>
#include <QPair>
#include <QRect>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <utility>

#include "platform/clock.h"
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

class FakeClock : public Clock {
public:
    QDateTime moment = QDateTime(QDate(2026, 12, 6), QTime(9, 0));
    QDateTime now() const override { return moment; }
};

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
    void notify(NotificationKind, const QString& title, const QString& text) override {
        posted.append({title, text});
    }
    void waitForDelivery(int) override {}
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

    PlatformServices services() {
        return {clock, launcher,   yielder,   messages,     screen,
                sound, fileDialog, documents, notifications};
    }
};
