// Finding a program by name in the folders of a search path, trusting absolute folders only.
#pragma once

#include <QByteArray>
#include <QString>

namespace pathsearch {

// The first regular, executable file called `name` in the absolute folders of `searchPath`
// (entries separated by ':'); empty and relative entries, which name the current folder or
// one below it, are skipped. Empty when there is none.
QString findExecutable(const QString& name, const QByteArray& searchPath);
// The executable file called `name` in one absolute folder; empty when there is none.
QString findExecutable(const QString& name, const QString& folder);

}  // namespace pathsearch
