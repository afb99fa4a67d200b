// The order a table cursor walks and seeks in: an index's key parts, then the rowid.
#pragma once

#include <QList>
#include <QString>
#include <QVariantList>

#include "db/boundsql.h"
#include "db/catalogue.h"
#include "db/rowbatch.h"

namespace db {

class KeyOrder {
public:
    // Rowid order, until an index is selected.
    explicit KeyOrder(const TableInfo& table);
    KeyOrder(const TableInfo& table, const IndexInfo& index);

    // Key parts of the index, the rowid not counted.
    int keyCount() const { return static_cast<int>(parts_.size()) - 1; }
    // Whether the table column at this position is part of the key.
    bool isKeyColumn(int position) const { return keyPositions_.contains(position); }
    // Where a row stands in this order: its key values, then its rowid.
    QVariantList placeOf(const RowBatch& rows, qsizetype row) const;

    // The deepest level worth asking `after` for: the whole key only where another row may
    // share it (a row written anew under a unique key is the same row, not one further on).
    int deepestAfterLevel(const QVariantList& place) const;

    // The rows from the start, at most `limit`.
    BoundSql first(int limit) const;
    // The rows after `place` that share its first `level` parts (0 to keyCount()), at most
    // `limit`. Levels keyCount() down to 0, in turn, give every row after `place`.
    BoundSql after(const QVariantList& place, int level, int limit) const;
    // The first row whose first `level` parts match `keys` (text as the index collates it,
    // date-times to the second) and, when level < keys.size(), whose next part lies above.
    BoundSql seek(const QVariantList& keys, int level) const;
    // The row with this rowid.
    BoundSql row(qint64 rowid) const;
    // What a change appends to hand back the rows it changed as they are now stored.
    const QString& returning() const { return returning_; }
    // A condition naming the row at `place` only while it keeps that key and rowid.
    BoundSql identity(const QVariantList& place) const;

private:
    struct Part {
        QString expression;
        bool dateTime = false;
    };
    enum class Matching { Exact, ToTheSecond };

    BoundSql range(const QVariantList& values, int equalParts, bool aboveNext, Matching matching,
                   int limit) const;
    BoundSql conditions(const QVariantList& values, int equalParts, bool aboveNext,
                        Matching matching) const;
    static void addEqual(BoundSql& where, const Part& part, const QVariant& value,
                         Matching matching);
    static void addAbove(BoundSql& where, const Part& part, const QVariant& value,
                         Matching matching);

    QString returning_;
    QString select_;
    QString orderBy_;
    QList<Part> parts_;
    QList<int> keyPositions_;
    bool unique_ = false;
};

}  // namespace db
