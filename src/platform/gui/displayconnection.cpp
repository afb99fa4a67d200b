// Qt's message handler while the display connects.
#include "platform/gui/displayconnection.h"

#include <QList>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

// Qt's handler takes no context of ours: the one connection under way keeps its state here.
struct Pending {
    QByteArray line;
    int status = 0;
    struct Message {
        QtMsgType type;
        QString text;
    };
    QList<Message> held;
};
std::optional<Pending> pending;

void holdOrEnd(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", pending->line.constData());
        std::fflush(nullptr);
        std::_Exit(pending->status);
    }
    pending->held.append({type, text});
}

}  // namespace

DisplayConnection::DisplayConnection(const QString& line, int status) {
    pending.emplace(Pending{line.toUtf8(), status, {}});
    previous_ = qInstallMessageHandler(holdOrEnd);
}

DisplayConnection::~DisplayConnection() {
    qInstallMessageHandler(previous_);
    const QList<Pending::Message> held = pending->held;
    pending.reset();
    for (const Pending::Message& message : held)
        qt_message_output(message.type, QMessageLogContext(), message.text);
}
