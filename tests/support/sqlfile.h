// Direct SQL on a test database file, beside the adapter: set-up and checks.
#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include "support/directsql.h"

class SqlFile : public DirectSql {
public:
    // Creates a database file with the DDL of schema/<schemaName> (visite.sql, work.sql).
    static void create(const QString& path, const QString& schemaName);

    explicit SqlFile(const QString& path);
    ~SqlFile() override;
    SqlFile(const SqlFile&) = delete;
    SqlFile& operator=(const SqlFile&) = delete;

    void exec(const QString& sql, const QVariantList& values = {}) override;
    QList<QVariantList> rows(const QString& sql, const QVariantList& values = {}) override;

private:
    QString connectionName_;
};
