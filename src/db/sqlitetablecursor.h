// A table cursor over a SQLite table that fetches rows in batches and holds no statement open.
#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <deque>
#include <memory>
#include <optional>
#include <utility>

#include "db/catalogue.h"
#include "db/database.h"
#include "db/keyorder.h"

namespace db {

class Connection;

class SqliteTableCursor : public TableCursor {
public:
    SqliteTableCursor(std::shared_ptr<Connection> connection, TableInfo table);

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
    struct Row {
        qint64 rowid = 0;
        QVariantList values;
    };
    enum class EditMode { None, Adding, Editing };

    // Rows fetched ahead at a time during a walk: the batch grows to the largest size while
    // the rows fetched stay valid, so a long walk pays little per statement, and falls back to
    // the smallest after a change made elsewhere, so a walk that meets such a change at every
    // row does not read a whole batch again each time.
    static constexpr int kSmallestBatch = 16;
    static constexpr int kLargestBatch = 512;
    using Changes = QList<std::pair<int, QVariant>>;

    void requireOpen(const char* verb, const QString& subject) const;
    void requireRow(const char* verb, const QString& subject) const;
    int columnOf(const QString& name, const char* verb) const;
    QVariantList placeOfCurrent() const;

    void positionAtStart();
    void standOn(Row row);
    void standNowhere();
    void fetchAhead();
    void readRows(const BoundSql& query, std::deque<Row>& into) const;
    std::optional<Row> firstRow(const BoundSql& query) const;

    void insertRow(const Changes& changes);
    void updateRow(const Changes& changes);
    void noteOwnChange(bool aheadStaysValid);

    std::shared_ptr<Connection> connection_;
    TableInfo table_;
    KeyOrder order_;
    bool indexSelected_ = false;
    // The row stood on, or last stood on when it has since been deleted.
    std::optional<Row> position_;
    bool onRow_ = false;
    bool eof_ = true;
    bool noMatch_ = false;
    // Rows after the position, fetched in one batch, and the change count they reflect.
    std::deque<Row> ahead_;
    quint64 aheadChanges_ = 0;
    int batchRows_ = kSmallestBatch;
    EditMode editMode_ = EditMode::None;
    Changes changes_;
    bool closed_ = false;
};

}  // namespace db
