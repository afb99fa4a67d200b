// QProcess-based program start.
#include "platform/processlauncher.h"

#include <QProcess>

bool QtProcessLauncher::startDetached(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}
