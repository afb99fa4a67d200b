// A read-only query result held in memory.
#pragma once

#include <QList>
#include <QStringList>
#include <QVariantList>

#include "db/database.h"

namespace db {

class MemorySnapshot : public Snapshot {
public:
    MemorySnapshot(QStringList names, QList<QVariantList> rows);

    int recordCount() const override { return static_cast<int>(rows_.size()); }
    bool eof() const override { return current_ >= rows_.size(); }
    void moveNext() override;
    QVariant field(const QString& name) const override;
    void close() override;

private:
    QStringList names_;
    QList<QVariantList> rows_;
    qsizetype current_ = 0;
};

}  // namespace db
