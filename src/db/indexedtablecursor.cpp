// A table cursor over a table that fetches rows in batches and holds no statement open.
#include "db/indexedtablecursor.h"

#include <QStringList>
#include <algorithm>

#include "db/connection.h"
#include "db/dberror.h"

namespace db {

namespace {

QString operationText(const char* verb, const QString& subject) {
    const QString operation = QLatin1String(verb);
    return subject.isEmpty() ? operation : operation + QLatin1Char(' ') + subject;
}

}  // namespace

IndexedTableCursor::IndexedTableCursor(std::shared_ptr<Connection> connection, TableInfo table)
    : connection_(std::move(connection)),
      table_(std::move(table)),
      order_(table_),
      rows_(static_cast<int>(table_.columns.size())) {
    positionAtStart();
}

void IndexedTableCursor::selectIndex(const QString& name) {
    requireOpen("select index", name);
    order_ = KeyOrder(table_, connection_->index(table_, name));
    indexSelected_ = true;
    positionAtStart();
}

void IndexedTableCursor::seek(SeekComparison comparison, const QVariantList& keys) {
    requireOpen("seek", table_.name);
    if (!indexSelected_)
        throw DbError(QStringLiteral("seek"),
                      QStringLiteral("no index selected on ") + table_.name);
    if (keys.isEmpty() || keys.size() > order_.keyCount())
        throw DbError(QStringLiteral("seek"), QStringLiteral("expected 1 to %1 key values, got %2")
                                                  .arg(order_.keyCount())
                                                  .arg(keys.size()));
    editMode_ = EditMode::None;
    const int given = static_cast<int>(keys.size());
    const int lowest = comparison == SeekComparison::Equal ? given : 0;
    RowBatch found(rows_.columns());
    for (int level = given; level >= lowest && found.isEmpty(); --level)
        readRows(order_.seek(keys, level), found);
    noMatch_ = found.isEmpty();
    standOnFirstOf(std::move(found));
}

void IndexedTableCursor::moveNext() {
    requireOpen("move next", {});
    if (eof_) throw DbError(QStringLiteral("move next"), QStringLiteral("no current row"));
    editMode_ = EditMode::None;
    // Rows fetched before a change made elsewhere on this connection may be stale.
    const bool stale = rowsChanges_ != connection_->changeCount();
    if (stale) batchRows_ = kSmallestBatch;
    if (!stale && current_ + 1 < rows_.size()) {
        ++current_;
        onRow_ = true;
        return;
    }
    standOnFirstOf(fetchAfterCurrent());
}

QVariant IndexedTableCursor::field(const QString& name) const {
    requireOpen("field", name);
    const int column = columnOf(name, "field");
    requireRow("field", name);
    return rows_.value(current_, column);
}

void IndexedTableCursor::addNew() {
    requireOpen("add new", table_.name);
    editMode_ = EditMode::Adding;
    changes_.clear();
}

void IndexedTableCursor::edit() {
    requireOpen("edit", table_.name);
    requireRow("edit", table_.name);
    editMode_ = EditMode::Editing;
    changes_.clear();
}

void IndexedTableCursor::setField(const QString& name, const QVariant& value) {
    requireOpen("set field", name);
    const int column = columnOf(name, "set field");
    if (editMode_ == EditMode::None)
        throw DbError(operationText("set field", name),
                      QStringLiteral("the row is not being added or edited"));
    for (auto& [changed, newValue] : changes_) {
        if (changed == column) {
            newValue = value;
            return;
        }
    }
    changes_.append({column, value});
}

void IndexedTableCursor::update() {
    requireOpen("update", table_.name);
    const EditMode mode = std::exchange(editMode_, EditMode::None);
    const Changes changes = std::exchange(changes_, {});
    if (mode == EditMode::None)
        throw DbError(operationText("update", table_.name),
                      QStringLiteral("no row is being added or edited"));
    if (mode == EditMode::Adding) {
        insertRow(changes);
    } else {
        updateRow(changes);
    }
}

void IndexedTableCursor::deleteCurrent() {
    requireOpen("delete", table_.name);
    requireRow("delete", table_.name);
    editMode_ = EditMode::None;
    const BoundSql identity = order_.identity(placeOfCurrent());
    const QString sql = QStringLiteral("DELETE FROM ") + table_.quotedName +
                        QStringLiteral(" WHERE ") + identity.sql;
    if (connection_->change({sql, identity.values}) == 0)
        throw DbError(sql, QStringLiteral("the row has been deleted or replaced meanwhile"));
    onRow_ = false;
    noteOwnChange(true);
}

void IndexedTableCursor::close() {
    closed_ = true;
    rows_ = RowBatch();
    onRow_ = false;
    eof_ = true;
    connection_.reset();
}

void IndexedTableCursor::requireOpen(const char* verb, const QString& subject) const {
    if (closed_)
        throw DbError(operationText(verb, subject), QStringLiteral("the cursor is closed"));
    if (!connection_->isOpen())
        throw DbError(operationText(verb, subject), QStringLiteral("the database is closed"));
}

void IndexedTableCursor::requireRow(const char* verb, const QString& subject) const {
    if (!onRow_) throw DbError(operationText(verb, subject), QStringLiteral("no current row"));
}

int IndexedTableCursor::columnOf(const QString& name, const char* verb) const {
    const int column = table_.columnIndex(name);
    if (column < 0)
        throw DbError(operationText(verb, name), QStringLiteral("no such field in ") + table_.name);
    return column;
}

QVariantList IndexedTableCursor::placeOfCurrent() const {
    return order_.placeOf(rows_, current_);
}

void IndexedTableCursor::positionAtStart() {
    noMatch_ = false;
    editMode_ = EditMode::None;
    RowBatch first(rows_.columns());
    readRows(order_.first(batchRows_), first);
    standOnFirstOf(std::move(first));
}

void IndexedTableCursor::standOnFirstOf(RowBatch rows) {
    rows_ = std::move(rows);
    rowsChanges_ = connection_->changeCount();
    current_ = 0;
    onRow_ = !rows_.isEmpty();
    eof_ = rows_.isEmpty();
}

RowBatch IndexedTableCursor::fetchAfterCurrent() {
    const int batch = std::exchange(batchRows_, std::min(batchRows_ * 2, kLargestBatch));
    RowBatch rows(rows_.columns());
    rows.reserve(batch);
    // Continuing after the remembered key rather than an open statement is what lets
    // changes anywhere in the table neither skip nor repeat a row of the walk.
    const QVariantList place = placeOfCurrent();
    if (order_.comparesAsRow() && order_.keyIsUnique(place)) {
        readRows(order_.aboveKey(place, batch), rows);
        return rows;
    }
    for (int level = order_.keyCount(); level >= 0 && rows.size() < batch; --level)
        readRows(order_.after(place, level, batch - static_cast<int>(rows.size())), rows);
    return rows;
}

void IndexedTableCursor::readRows(const BoundSql& query, RowBatch& into) const {
    connection_->readRows(query, into);
}

void IndexedTableCursor::insertRow(const Changes& changes) {
    QList<int> columns;
    QVariantList values;
    columns.reserve(changes.size());
    values.reserve(changes.size());
    for (const auto& [column, value] : changes) {
        columns.append(column);
        values.append(value);
    }
    connection_->change({insertSql(columns), values});
    // The new row may fall among the rows fetched ahead.
    noteOwnChange(false);
}

// The INSERT for a set of columns; a run of additions sets the same ones row after row.
const QString& IndexedTableCursor::insertSql(const QList<int>& columns) {
    if (columns == insertColumns_ && !insertSql_.isEmpty()) return insertSql_;
    QStringList names;
    QStringList marks;
    for (const int column : columns) {
        names.append(table_.quotedColumns.at(column));
        marks.append(QStringLiteral("?"));
    }
    const QString target = QStringLiteral("INSERT INTO ") + table_.quotedName;
    insertColumns_ = columns;
    insertSql_ = columns.isEmpty()
                     ? target + QStringLiteral(" DEFAULT VALUES")
                     : target + QStringLiteral(" (") + names.join(QStringLiteral(", ")) +
                           QStringLiteral(") VALUES (") + marks.join(QStringLiteral(", ")) +
                           QLatin1Char(')');
    return insertSql_;
}

void IndexedTableCursor::updateRow(const Changes& changes) {
    if (changes.isEmpty()) return;
    QStringList assignments;
    QVariantList values;
    bool keyChanged = false;
    for (const auto& [column, value] : changes) {
        assignments.append(table_.quotedColumns.at(column) + QStringLiteral(" = ?"));
        values.append(value);
        keyChanged = keyChanged || order_.isKeyColumn(column);
    }
    const BoundSql identity = order_.identity(placeOfCurrent());
    // The row comes back as stored, since the engine may have converted the values.
    const QString sql = QStringLiteral("UPDATE ") + table_.quotedName + QStringLiteral(" SET ") +
                        assignments.join(QStringLiteral(", ")) + QStringLiteral(" WHERE ") +
                        identity.sql + order_.returning();
    RowBatch stored(rows_.columns());
    readRows({sql, values + identity.values}, stored);
    if (stored.isEmpty())
        throw DbError(sql, QStringLiteral("the row has been deleted or replaced meanwhile"));
    // A changed key moves the row: the walk goes on from its new place.
    noteOwnChange(!keyChanged);
    rows_.replaceValues(current_, stored, 0);
}

void IndexedTableCursor::noteOwnChange(bool aheadStaysValid) {
    const bool aheadWasValid = rowsChanges_ == connection_->changeCount();
    connection_->noteChange();
    if (aheadWasValid && aheadStaysValid) rowsChanges_ = connection_->changeCount();
}

}  // namespace db
