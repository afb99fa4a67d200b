// What the database's own catalogue says about tables and indexes, read once and kept.
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace db {

class Connection;

// A table or column name quoted for SQL text.
QString quoted(const QString& identifier);
// The position of a name in a list, matching without regard to case (as the engine does);
// -1 when missing.
int indexOfName(const QStringList& names, const QString& name);
// Whether a declared column type holds day serials: real numbers, or a date or time type.
bool isDateTimeType(const QString& declared);

struct TableInfo {
    QString name;
    QStringList columns;
    QStringList declaredTypes;
    // The names quoted for SQL text.
    QString quotedName;
    QStringList quotedColumns;

    int columnIndex(const QString& column) const { return indexOfName(columns, column); }
    // The columns at these positions, quoted and joined with ", ".
    QString quotedList(const QList<int>& positions) const;
};

// One part of an index key.
struct KeyPart {
    QString column;
    // The collation to compare with; empty for the column's own.
    QString collation;
    // A date-time part: real numbers (day serials) that seeks compare to the second.
    bool dateTime = false;
    // Position among the table's columns.
    int position = 0;
};

struct IndexInfo {
    QString name;
    QList<KeyPart> parts;
    // No two rows share a key without a Null part.
    bool unique = false;
};

class Catalogue {
public:
    // Throws DbError when the table does not exist.
    TableInfo table(Connection& connection, const QString& name);
    // Throws DbError when the table has no index of that name, or one this adapter cannot walk.
    IndexInfo index(Connection& connection, const TableInfo& table, const QString& name);
    void clear();

private:
    QHash<QString, TableInfo> tables_;
    QHash<QString, IndexInfo> indexes_;
};

}  // namespace db
