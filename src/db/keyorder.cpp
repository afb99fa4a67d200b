// Statements that walk and seek a table in the order of one of its indexes.
#include "db/keyorder.h"

#include <QStringList>
#include <algorithm>

#include "db/dberror.h"
#include "db/storedvalue.h"

namespace db {

namespace {

// Two day serials within half a second name the same second.
constexpr double kHalfSecond = 0.5 / 86400.0;

const QString kRowid = QStringLiteral("rowid");

// The column compared as its index compares it (an empty collation: the column's own).
QString collated(const QString& column, const QString& collation) {
    if (collation.isEmpty()) return quoted(column);
    return quoted(column) + QStringLiteral(" COLLATE ") + quoted(collation);
}

double serialOf(const QVariant& key) {
    bool ok = false;
    const double serial = toStorable(key).toDouble(&ok);
    if (!ok)
        throw DbError(QStringLiteral("seek"),
                      QStringLiteral("the key value '%1' is not a date-time").arg(key.toString()));
    return serial;
}

}  // namespace

KeyOrder::KeyOrder(const TableInfo& table) : KeyOrder(table, IndexInfo{}) {}

KeyOrder::KeyOrder(const TableInfo& table, const IndexInfo& index) : unique_(index.unique) {
    QStringList columns{kRowid};
    columns.append(table.quotedColumns);
    returning_ = QStringLiteral(" RETURNING ") + columns.join(QStringLiteral(", "));
    select_ = QStringLiteral("SELECT ") + columns.join(QStringLiteral(", ")) +
              QStringLiteral(" FROM ") + table.quotedName;
    QStringList order;
    for (const KeyPart& key : index.parts) {
        parts_.append({collated(key.column, key.collation), key.dateTime, key.collation.isEmpty()});
        keyPositions_.append(key.position);
        // Said explicitly: SQLite sorts a Null first anyway, PostgreSQL only when told.
        order.append(parts_.last().expression + QStringLiteral(" NULLS FIRST"));
    }
    parts_.append({kRowid, false, true});
    order.append(kRowid);
    orderBy_ = QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", "));
}

bool KeyOrder::keyIsUnique(const QVariantList& place) const {
    const int keys = keyCount();
    if (!unique_ || keys == 0) return false;
    for (int i = 0; i < keys; ++i)
        if (place[i].isNull()) return false;
    return true;
}

bool KeyOrder::comparesAsRow() const {
    return !parts_.isEmpty() && std::all_of(parts_.cbegin(), parts_.cend() - 1,
                                            [](const Part& part) { return part.ownCollation; });
}

QVariantList KeyOrder::placeOf(const RowBatch& rows, qsizetype row) const {
    QVariantList place;
    place.reserve(parts_.size());
    for (int position : keyPositions_) place.append(rows.value(row, position));
    place.append(rows.rowid(row));
    return place;
}

BoundSql KeyOrder::first(int limit) const {
    return range({}, 0, false, Matching::Exact, limit);
}

BoundSql KeyOrder::after(const QVariantList& place, int level, int limit) const {
    return range(place, level, true, Matching::Exact, limit);
}

BoundSql KeyOrder::seek(const QVariantList& keys, int level) const {
    return range(keys, level, level < keys.size(), Matching::ToTheSecond, 1);
}

BoundSql KeyOrder::aboveKey(const QVariantList& place, int limit) const {
    QStringList parts;
    QStringList marks;
    BoundSql above;
    for (int i = 0; i < keyCount(); ++i) {
        parts.append(parts_[i].expression);
        marks.append(QStringLiteral("?"));
        above.values.append(place[i]);
    }
    // A row value compares part after part, as the index orders its keys.
    above.sql = select_ + QStringLiteral(" WHERE (") + parts.join(QStringLiteral(", ")) +
                QStringLiteral(") > (") + marks.join(QStringLiteral(", ")) + QLatin1Char(')') +
                orderBy_ + QStringLiteral(" LIMIT ?");
    above.values.append(limit);
    return above;
}

BoundSql KeyOrder::identity(const QVariantList& place) const {
    return conditions(place, static_cast<int>(parts_.size()), false, Matching::Exact);
}

BoundSql KeyOrder::range(const QVariantList& values, int equalParts, bool aboveNext,
                         Matching matching, int limit) const {
    BoundSql where = conditions(values, equalParts, aboveNext, matching);
    const QString filter = where.sql.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where.sql;
    where.values.append(limit);
    return {select_ + filter + orderBy_ + QStringLiteral(" LIMIT ?"), where.values};
}

BoundSql KeyOrder::conditions(const QVariantList& values, int equalParts, bool aboveNext,
                              Matching matching) const {
    BoundSql where;
    where.sql.reserve(256);
    for (int i = 0; i < equalParts; ++i) addEqual(where, parts_[i], values[i], matching);
    if (aboveNext) addAbove(where, parts_[equalParts], values[equalParts], matching);
    return where;
}

void KeyOrder::addEqual(BoundSql& where, const Part& part, const QVariant& value,
                        Matching matching) {
    if (!where.sql.isEmpty()) where.sql += QStringLiteral(" AND ");
    if (matching == Matching::ToTheSecond && part.dateTime && !value.isNull()) {
        const double serial = serialOf(value);
        where.sql += part.expression + QStringLiteral(" > ? AND ") + part.expression +
                     QStringLiteral(" < ?");
        where.values << serial - kHalfSecond << serial + kHalfSecond;
        return;
    }
    // A Null key part sorts first in the index; "=" never matches it. An equality the
    // engines can answer from the index either way.
    if (value.isNull()) {
        where.sql += part.expression + QStringLiteral(" IS NULL");
        return;
    }
    where.sql += part.expression + QStringLiteral(" = ?");
    where.values << value;
}

void KeyOrder::addAbove(BoundSql& where, const Part& part, const QVariant& value,
                        Matching matching) {
    if (!where.sql.isEmpty()) where.sql += QStringLiteral(" AND ");
    if (value.isNull()) {
        where.sql += part.expression + QStringLiteral(" IS NOT NULL");
        return;
    }
    const bool toTheSecond = matching == Matching::ToTheSecond && part.dateTime;
    where.sql += part.expression + (toTheSecond ? QStringLiteral(" >= ?") : QStringLiteral(" > ?"));
    where.values << (toTheSecond ? QVariant(serialOf(value) + kHalfSecond) : value);
}

}  // namespace db
