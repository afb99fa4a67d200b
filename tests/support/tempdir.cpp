// Temporary folders for tests.
#include "support/tempdir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

TestFolder::TestFolder() {
    if (!dir_.isValid()) throw std::runtime_error("cannot create a temporary folder");
}

QString TestFolder::path(const QString& name) const {
    return dir_.filePath(name);
}

QString TestFolder::write(const QString& name, const QByteArray& bytes) const {
    const QString file = path(name);
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly)) throw std::runtime_error("cannot write a test file");
    out.write(bytes);
    return file;
}

QByteArray TestFolder::read(const QString& path) {
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) return {};
    return in.readAll();
}
