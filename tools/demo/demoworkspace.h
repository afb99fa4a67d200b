// A demo workspace under one folder: where its files go, and making them.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

class DemoWorkspace {
public:
    // `server`: the connection URI of a PostgreSQL database to keep both databases on; empty
    // for SQLite files.
    DemoWorkspace(const QString& folder, const QByteArray& server);

    QString iniPath() const;
    // The workspace's files that already exist and that making it would replace.
    QStringList existingFiles() const;
    // Makes every file of the workspace, replacing existing ones, with appointments around
    // `now`. Throws db::DbError or std::runtime_error.
    void create(const QDateTime& now) const;

private:
    QString path(const QString& relative) const;
    QString native(const QString& relative) const;
    QStringList files() const;

    void writeIni() const;
    void writeSound() const;
    void writeDocument() const;
    void createVisite(const QDateTime& now) const;
    void createWork() const;

    QString root_;
    QByteArray server_;
};
