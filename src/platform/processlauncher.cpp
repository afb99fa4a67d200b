// QProcess-based program start.
#include "platform/processlauncher.h"

#include <QProcess>

#include "platform/pathsearch.h"

bool QtProcessLauncher::startDetached(const QString& program, const QStringList& arguments) {
    const QString found = program.contains(QLatin1Char('/'))
                              ? program
                              : pathsearch::findExecutable(program, qgetenv("PATH"));
    return !found.isEmpty() && QProcess::startDetached(found, arguments);
}
