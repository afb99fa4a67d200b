// Tables and indexes as the database's catalogue describes them, kept once read.
#include "db/catalogue.h"

#include "db/connection.h"

namespace db {

namespace {

QString indexKey(const TableInfo& table, const QString& index) {
    return table.name.toLower() + QLatin1Char('\n') + index.toLower();
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

// Real numbers in a key are day serials in the host's tables; a declared date or time
// type says so explicitly. Whole-number and text types never are.
bool isDateTimeType(const QString& declared) {
    const QString type = declared.toUpper();
    for (const char* other : {"INT", "CHAR", "CLOB", "TEXT"})
        if (type.contains(QLatin1String(other))) return false;
    for (const char* dateLike : {"REAL", "FLOA", "DOUB", "DATE", "TIME"})
        if (type.contains(QLatin1String(dateLike))) return true;
    return false;
}

QString TableInfo::quotedList(const QList<int>& positions) const {
    QStringList names;
    names.reserve(positions.size());
    for (const int position : positions) names.append(quotedColumns.at(position));
    return names.join(QStringLiteral(", "));
}

TableInfo Catalogue::table(Connection& connection, const QString& name) {
    const QString key = name.toLower();
    auto found = tables_.find(key);
    if (found == tables_.end()) found = tables_.insert(key, connection.readTable(name));
    return *found;
}

IndexInfo Catalogue::index(Connection& connection, const TableInfo& table, const QString& name) {
    const QString key = indexKey(table, name);
    auto found = indexes_.find(key);
    if (found == indexes_.end()) found = indexes_.insert(key, connection.readIndex(table, name));
    return *found;
}

void Catalogue::clear() {
    tables_.clear();
    indexes_.clear();
}

}  // namespace db
