// A read-only query result held in memory.
#include "db/memorysnapshot.h"

#include "db/catalogue.h"
#include "db/dberror.h"

namespace db {

MemorySnapshot::MemorySnapshot(QStringList names, RowBatch rows)
    : names_(std::move(names)), rows_(std::move(rows)) {}

void MemorySnapshot::moveNext() {
    if (eof()) throw DbError(QStringLiteral("move next"), QStringLiteral("no current row"));
    ++current_;
}

QVariant MemorySnapshot::field(const QString& name) const {
    const int column = indexOfName(names_, name);
    if (column < 0) {
        throw DbError(QStringLiteral("field ") + name,
                      QStringLiteral("no such field in the query"));
    }
    if (eof()) throw DbError(QStringLiteral("field ") + name, QStringLiteral("no current row"));
    return rows_.value(current_, column);
}

void MemorySnapshot::close() {
    rows_ = RowBatch();
    current_ = 0;
}

}  // namespace db
