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

    // Whether no other row may share the key of `place`: a unique index and no Null part. A
    // row written anew under such a key is the same row, not one further on.
    bool keyIsUnique(const QVariantList& place) const;

    // The rows from the start, at most `limit`.
    BoundSql first(int limit) const;
    // The rows after `place` that share its first `level` parts (0 to keyCount()), at most
    // `limit`. Levels keyCount() down to 0, in turn, give every row after `place`.
    BoundSql after(const QVariantList& place, int level, int limit) const;
    // Whether the key can be compared as one row value: every part compares with its column's
    // own collation (a row value knows no other; SQLite would walk the whole index for one
    // that names its collations).
    bool comparesAsRow() const;
    // The rows whose key lies above the key of `place`, at most `limit`: under a unique key
    // (keyIsUnique) every row after it, in one statement. A row whose key has a Null part
    // where the two keys first differ sorts before `place` and is left out, as it must be.
    BoundSql aboveKey(const QVariantList& place, int limit) const;
    // The first row whose first `level` parts match `keys` (text as the index collates it,
    // date-times to the second) and, when level < keys.size(), whose next part lies above.
    BoundSql seek(const QVariantList& keys, int level) const;
    // What a change appends to hand back the rows it changed as they are now stored.
    const QString& returning() const { return returning_; }
    // A condition naming the row at `place` only while it keeps that key and rowid.
    BoundSql identity(const QVariantList& place) const;

private:
    struct Part {
        QString expression;
        bool dateTime = false;
        bool ownCollation = true;  // compared as its column compares
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
