// A read-only query result held in memory.
#pragma once

#include <QList>
#include <QStringList>
#include <QVariantList>

#include "db/database.h"
#include "db/rowbatch.h"

namespace db {

class MemorySnapshot : public Snapshot {
public:
    MemorySnapshot(QStringList names, RowBatch rows);

    int recordCount() const override { return static_cast<int>(rows_.size()); }
    bool eof() const override { return current_ >= rows_.size(); }
    void moveNext() override;
    QVariant field(const QString& name) const override;
    void close() override;

private:
    QStringList names_;
    // Values become QVariants only when read: most rows are read once, a few fields each.
    RowBatch rows_;
    qsizetype current_ = 0;
};

}  // namespace db
