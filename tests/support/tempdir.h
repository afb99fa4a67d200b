// A temporary folder for one test, and small file helpers.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

class TestFolder {
public:
    TestFolder();
    QString path(const QString& name) const;
    // Writes bytes to a file of the folder (creating sub-folders) and returns its path.
    QString write(const QString& name, const QByteArray& bytes) const;
    static QByteArray read(const QString& path);

private:
    QTemporaryDir dir_;
};
