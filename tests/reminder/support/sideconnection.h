// A plain SQLite connection beside the adapter's: builds test files, writes and reads them.
#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>

class SideConnection {
public:
    // Opens the file, creating it when missing.
    explicit SideConnection(const QString& path);
    ~SideConnection();
    SideConnection(const SideConnection&) = delete;
    SideConnection& operator=(const SideConnection&) = delete;

    // Runs the statements of a schema script in order.
    void runScript(const QString& script);
    // Runs one statement; a failure fails the test.
    void run(const QString& sql, const QVariantList& values = {});
    // The first column of the first row; an invalid QVariant when there is no row.
    QVariant value(const QString& sql, const QVariantList& values = {});

private:
    QString name_;
};
