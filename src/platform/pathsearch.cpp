// Program look-up in the search path.
#include "platform/pathsearch.h"

#include <QDir>
#include <QFileInfo>

namespace pathsearch {

QString findExecutable(const QString& name, const QString& folder) {
    if (!QDir::isAbsolutePath(folder)) return {};
    const QFileInfo candidate(QDir(folder), name);
    return candidate.isFile() && candidate.isExecutable() ? candidate.absoluteFilePath()
                                                          : QString();
}

QString findExecutable(const QString& name, const QByteArray& searchPath) {
    for (const QByteArray& entry : searchPath.split(':')) {
        const QString found = findExecutable(name, QFile::decodeName(entry));
        if (!found.isEmpty()) return found;
    }
    return {};
}

}  // namespace pathsearch
