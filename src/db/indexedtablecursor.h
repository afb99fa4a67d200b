// A table cursor over a table that fetches rows in batches and holds no statement open.
#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <memory>
#include <utility>

#include "db/catalogue.h"
#include "db/database.h"
#include "db/keyorder.h"
#include "db/rowbatch.h"

namespace db {

class Connection;

class IndexedTableCursor : public TableCursor {
public:
    IndexedTableCursor(std::shared_ptr<Connection> connection, TableInfo table);

    void selectIndex(const QString& name) override;
    void seek(SeekComparison comparison, const QVariantList& keys) override;
    bool noMatch() const override { return noMatch_; }
    bool eof() const override { return eof_; }
    void moveNext() override;
    QVariant field(const QString& name) const override;

    void addNew() override;
    void edit() override;
    void setField(const QString& name, const QVariant& value) override;
    void update() override;
    void deleteCurrent() override;
    void close() override;

private:
    enum class EditMode { None, Adding, Editing };
    using Changes = QList<std::pair<int, QVariant>>;

    // Rows fetched ahead at a time during a walk: the batch grows to the largest size while
    // the rows fetched stay valid, so a long walk pays little per statement, and falls back to
    // the smallest after a change made elsewhere, so a walk that meets such a change at every
    // row does not read a whole batch again each time.
    static constexpr int kSmallestBatch = 16;
    static constexpr int kLargestBatch = 4096;

    void requireOpen(const char* verb, const QString& subject) const;
    void requireRow(const char* verb, const QString& subject) const;
    int columnOf(const QString& name, const char* verb) const;
    QVariantList placeOfCurrent() const;

    void positionAtStart();
    // Makes `rows` the cursor's rows, standing on the first of them (at the end when none).
    void standOnFirstOf(RowBatch rows);
    RowBatch fetchAfterCurrent();
    void readRows(const BoundSql& query, RowBatch& into) const;

    void insertRow(const Changes& changes);
    const QString& insertSql(const QList<int>& columns);
    void updateRow(const Changes& changes);
    void noteOwnChange(bool aheadStaysValid);

    std::shared_ptr<Connection> connection_;
    TableInfo table_;
    KeyOrder order_;
    bool indexSelected_ = false;
    // The row stood on (or last stood on, when it has since been deleted) and the rows
    // fetched after it, with the change count those reflect.
    RowBatch rows_;
    qsizetype current_ = 0;
    quint64 rowsChanges_ = 0;
    int batchRows_ = kSmallestBatch;
    bool onRow_ = false;
    bool eof_ = true;
    bool noMatch_ = false;
    EditMode editMode_ = EditMode::None;
    Changes changes_;
    QList<int> insertColumns_;
    QString insertSql_;
    bool closed_ = false;
};

}  // namespace db
