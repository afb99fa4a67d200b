// Direct SQL on a test database file, beside the adapter: set-up and checks.
#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantList>

class SqlFile {
public:
    // Creates a database file with the DDL of schema/<schemaName> (visite.sql, work.sql).
    static void create(const QString& path, const QString& schemaName);

    explicit SqlFile(const QString& path);
    ~SqlFile();
    SqlFile(const SqlFile&) = delete;
    SqlFile& operator=(const SqlFile&) = delete;

    // Runs one statement with positional "?" values; throws std::runtime_error on failure.
    void exec(const QString& sql, const QVariantList& values = {});
    // Every row of a query, each as its column values.
    QList<QVariantList> rows(const QString& sql, const QVariantList& values = {});
    // The first column of the first row (invalid when there is none).
    QVariant value(const QString& sql, const QVariantList& values = {});

private:
    QString connectionName_;
};
