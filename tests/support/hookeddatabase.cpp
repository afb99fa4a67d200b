// A real database with a hook run before each of its operations.
#include "support/hookeddatabase.h"

#include "db/rowbatch.h"

namespace {

class HookedCursor : public db::TableCursor {
public:
    HookedCursor(std::unique_ptr<db::TableCursor> inner, std::shared_ptr<HookedDatabase::Hook> hook)
        : inner_(std::move(inner)), hook_(std::move(hook)) {}

    void selectIndex(const QString& name) override {
        (*hook_)("selectIndex");
        inner_->selectIndex(name);
    }
    void seek(db::SeekComparison comparison, const QVariantList& keys) override {
        (*hook_)("seek");
        inner_->seek(comparison, keys);
    }
    bool noMatch() const override { return inner_->noMatch(); }
    bool eof() const override { return inner_->eof(); }
    void moveNext() override {
        (*hook_)("moveNext");
        inner_->moveNext();
    }
    QVariant field(const QString& name) const override { return inner_->field(name); }
    void addNew() override { inner_->addNew(); }
    void edit() override { inner_->edit(); }
    void setField(const QString& name, const QVariant& value) override {
        inner_->setField(name, value);
    }
    void update() override {
        (*hook_)("update");
        inner_->update();
    }
    void deleteCurrent() override {
        (*hook_)("deleteCurrent");
        inner_->deleteCurrent();
    }
    void close() override { inner_->close(); }

private:
    std::unique_ptr<db::TableCursor> inner_;
    std::shared_ptr<HookedDatabase::Hook> hook_;
};

}  // namespace

HookedDatabase::HookedDatabase(std::unique_ptr<db::Database> inner, Hook hook)
    : inner_(std::move(inner)), hook_(std::make_shared<Hook>(std::move(hook))) {}

void HookedDatabase::execute(const QString& sql) {
    (*hook_)("execute");
    inner_->execute(sql);
}

void HookedDatabase::refreshCatalogue() {
    (*hook_)("refreshCatalogue");
    inner_->refreshCatalogue();
}

std::unique_ptr<db::Snapshot> HookedDatabase::openQuery(const QString& sql, bool forwardOnly) {
    (*hook_)("openQuery");
    return inner_->openQuery(sql, forwardOnly);
}

std::unique_ptr<db::Snapshot> HookedDatabase::openQuery(const db::BoundSql& query) {
    (*hook_)("openQuery");
    return inner_->openQuery(query);
}

void HookedDatabase::readInBatches(const QString& sql, int batchRows, const OnBatch& onBatch) {
    (*hook_)("readInBatches");
    inner_->readInBatches(sql, batchRows, [&](const QStringList& names, const db::RowBatch& rows) {
        rowsRead_ += rows.size();
        onBatch(names, rows);
    });
}

std::unique_ptr<db::Snapshot> HookedDatabase::openChange(const db::BoundSql& statement,
                                                         const QString& table,
                                                         const QString& index) {
    (*hook_)("openChange");
    return inner_->openChange(statement, table, index);
}

void HookedDatabase::insertRows(const QString& table, const QStringList& columns,
                                const db::RowBatch& rows) {
    (*hook_)("insertRows");
    inner_->insertRows(table, columns, rows);
}

void HookedDatabase::deleteRows(const QString& table, std::span<const qint64> rowids) {
    (*hook_)("deleteRows");
    inner_->deleteRows(table, rowids);
}

QList<bool> HookedDatabase::textsEqual(const QString& table, const QString& index,
                                       const QString& column, const TextPairs& pairs) {
    (*hook_)("textsEqual");
    return inner_->textsEqual(table, index, column, pairs);
}

std::unique_ptr<db::TableCursor> HookedDatabase::openTable(const QString& table) {
    (*hook_)("openTable");
    return std::make_unique<HookedCursor>(inner_->openTable(table), hook_);
}

void HookedDatabase::setBusyTimeout(std::chrono::milliseconds timeout) {
    inner_->setBusyTimeout(timeout);
}

void HookedDatabase::beginWrite() {
    (*hook_)("begin");
    transaction_.emplace(*inner_);
}

void HookedDatabase::commit() {
    (*hook_)("commit");
    // A failed commit leaves the inner transaction to roll back with the outer one.
    transaction_->commit();
    transaction_.reset();
}

void HookedDatabase::rollback() {
    transaction_.reset();
}
