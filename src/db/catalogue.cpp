// Tables and indexes as the database's catalogue describes them.
#include "db/catalogue.h"

#include "db/connection.h"
#include "db/dberror.h"

namespace db {

namespace {

// Real numbers in a key are day serials in the host's tables; a declared date or time
// type says so explicitly. Whole-number and text types never are (SQLite's affinity rules).
bool isDateTimeType(const QString& declared) {
    const QString type = declared.toUpper();
    for (const char* other : {"INT", "CHAR", "CLOB", "TEXT"})
        if (type.contains(QLatin1String(other))) return false;
    for (const char* dateLike : {"REAL", "FLOA", "DOUB", "DATE", "TIME"})
        if (type.contains(QLatin1String(dateLike))) return true;
    return false;
}

QString indexKey(const TableInfo& table, const QString& index) {
    return table.name.toLower() + QLatin1Char('\n') + index.toLower();
}

TableInfo readTable(Connection& connection, const QString& name) {
    TableInfo table{name, {}, {}, quoted(name), {}};
    connection.select(QStringLiteral("SELECT name, type FROM pragma_table_info(?) ORDER BY cid"),
                      {name}, [&table](const SqliteStatement& row) {
                          table.columns.append(row.value(0).toString());
                          table.declaredTypes.append(row.value(1).toString());
                          table.quotedColumns.append(quoted(table.columns.last()));
                      });
    if (table.columns.isEmpty())
        throw DbError(QStringLiteral("open table ") + name, QStringLiteral("no such table"));
    return table;
}

bool tableHasIndex(Connection& connection, const TableInfo& table, const QString& index) {
    bool found = false;
    connection.select(QStringLiteral("SELECT name FROM pragma_index_list(?)"), {table.name},
                      [&](const SqliteStatement& row) {
                          found = found ||
                                  row.value(0).toString().compare(index, Qt::CaseInsensitive) == 0;
                      });
    return found;
}

IndexInfo readIndex(Connection& connection, const TableInfo& table, const QString& name) {
    const QString operation = QStringLiteral("select index ") + name;
    if (!tableHasIndex(connection, table, name))
        throw DbError(operation, QStringLiteral("table %1 has no such index").arg(table.name));
    IndexInfo index{name, {}};
    bool expression = false;
    connection.select(
        QStringLiteral("SELECT cid, coll FROM pragma_index_xinfo(?) WHERE key = 1 ORDER BY seqno"),
        {name}, [&](const SqliteStatement& row) {
            const int position = row.value(0).toInt();
            expression = expression || position < 0;
            if (position < 0) return;
            index.parts.append({table.columns.at(position), row.value(1).toString(),
                                isDateTimeType(table.declaredTypes.at(position)), position});
        });
    if (expression)
        throw DbError(operation, QStringLiteral("an index on expressions cannot be walked"));
    return index;
}

}  // namespace

QString quoted(const QString& identifier) {
    QString text = identifier;
    text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

int indexOfName(const QStringList& names, const QString& name) {
    // Callers nearly always spell names as the catalogue does: try that first.
    const qsizetype exact = names.indexOf(name);
    if (exact >= 0) return static_cast<int>(exact);
    for (qsizetype i = 0; i < names.size(); ++i)
        if (names[i].compare(name, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
    return -1;
}

TableInfo Catalogue::table(Connection& connection, const QString& name) {
    const QString key = name.toLower();
    auto found = tables_.find(key);
    if (found == tables_.end()) found = tables_.insert(key, readTable(connection, name));
    return *found;
}

IndexInfo Catalogue::index(Connection& connection, const TableInfo& table, const QString& name) {
    const QString key = indexKey(table, name);
    auto found = indexes_.find(key);
    if (found == indexes_.end()) found = indexes_.insert(key, readIndex(connection, table, name));
    return *found;
}

void Catalogue::clear() {
    tables_.clear();
    indexes_.clear();
}

}  // namespace db
