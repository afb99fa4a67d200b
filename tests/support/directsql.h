// Direct SQL on a test database of either engine, beside the adapter: set-up and checks.
#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantList>

class DirectSql {
public:
    virtual ~DirectSql() = default;
    // Runs one statement with positional "?" values; throws std::runtime_error on failure.
    virtual void exec(const QString& sql, const QVariantList& values = {}) = 0;
    // Every row of a query, each as its column values.
    virtual QList<QVariantList> rows(const QString& sql, const QVariantList& values = {}) = 0;
    // The first column of the first row (invalid when there is none).
    QVariant value(const QString& sql, const QVariantList& values = {}) {
        const QList<QVariantList> result = rows(sql, values);
        return result.isEmpty() ? QVariant() : result.first().value(0);
    }
};
