// Rows read by one statement, kept as raw cells.
#include "db/rowbatch.h"

#include <QString>

namespace db {

QVariant RowBatch::value(qsizetype row, int column) const {
    const Cell& value = cell(row, column);
    switch (value.kind) {
        case Kind::Integer:
            return QVariant(static_cast<qlonglong>(value.integer));
        case Kind::Real:
            return QVariant(value.real);
        case Kind::Text:
            return QVariant(QString::fromUtf8(bytesOf(value), value.bytes.length));
        case Kind::Blob:
            return QVariant(QByteArray(bytesOf(value), value.bytes.length));
        case Kind::Null:
            break;
    }
    return {};
}

void RowBatch::reserve(qsizetype rows) {
    rowids_.reserve(static_cast<std::size_t>(rows));
    cells_.reserve(static_cast<std::size_t>(rows * columns_));
}

void RowBatch::appendInteger(qint64 integer) {
    Cell value;
    value.kind = Kind::Integer;
    value.integer = integer;
    cells_.push_back(value);
}

void RowBatch::appendReal(double real) {
    Cell value;
    value.kind = Kind::Real;
    value.real = real;
    cells_.push_back(value);
}

void RowBatch::appendBytes(Kind kind, const char* data, qsizetype length) {
    Cell value;
    value.kind = kind;
    value.bytes = {static_cast<qsizetype>(bytes_.size()), length};
    bytes_.insert(bytes_.end(), data, data + length);
    cells_.push_back(value);
}

void RowBatch::replaceValues(qsizetype row, const RowBatch& from, qsizetype fromRow) {
    for (int column = 0; column < columns_; ++column)
        cells_[static_cast<std::size_t>(row * columns_ + column)] =
            copiedCell(from, fromRow, column);
}

void RowBatch::appendRowOf(const RowBatch& from, qsizetype fromRow) {
    appendRow(from.rowid(fromRow));
    for (int column = 0; column < columns_; ++column)
        cells_.push_back(copiedCell(from, fromRow, column));
}

// A cell of another batch, its bytes copied into this one.
RowBatch::Cell RowBatch::copiedCell(const RowBatch& from, qsizetype fromRow, int column) {
    Cell value = from.cell(fromRow, column);
    if (value.kind == Kind::Text || value.kind == Kind::Blob) {
        const char* data = from.bytesOf(value);
        value.bytes.offset = static_cast<qsizetype>(bytes_.size());
        bytes_.insert(bytes_.end(), data, data + value.bytes.length);
    }
    return value;
}

}  // namespace db
