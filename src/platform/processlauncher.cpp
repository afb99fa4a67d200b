// QProcess-based program start.
#include "platform/processlauncher.h"

#include <QCoreApplication>
#include <QProcess>

#include "platform/pathsearch.h"

// A program named without a folder is looked for beside this one first, as the host's
// platform does: a copy run from its own folder starts its own alert program.
bool QtProcessLauncher::startDetached(const QString& program, const QStringList& arguments) {
    QString found = program;
    if (!program.contains(QLatin1Char('/'))) {
        found = pathsearch::findExecutable(program, QCoreApplication::applicationDirPath());
        if (found.isEmpty()) found = pathsearch::findExecutable(program, qgetenv("PATH"));
    }
    return !found.isEmpty() && QProcess::startDetached(found, arguments);
}
