// Program look-up in the search path.
#include "platform/pathsearch.h"

#include <QDir>
#include <QFileInfo>

namespace pathsearch {

QString findExecutable(const QString& name, const QByteArray& searchPath) {
    for (const QByteArray& entry : searchPath.split(':')) {
        const QString folder = QFile::decodeName(entry);
        if (!QDir::isAbsolutePath(folder)) continue;
        const QFileInfo candidate(QDir(folder), name);
        if (candidate.isFile() && candidate.isExecutable()) return candidate.absoluteFilePath();
    }
    return {};
}

}  // namespace pathsearch
