// Rows read by one statement: their rowids and their values as the engine gave them.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QVariant>
#include <vector>

namespace db {

// Values are kept as raw cells and become QVariants only when read: a walk reads a few
// fields of each row, and building every value of every row would cost more than the engine.
class RowBatch {
public:
    enum class Kind : quint8 { Null, Integer, Real, Text, Blob };

    explicit RowBatch(int columns = 0) : columns_(columns) {}

    qsizetype size() const { return static_cast<qsizetype>(rowids_.size()); }
    bool isEmpty() const { return rowids_.empty(); }
    int columns() const { return columns_; }
    qint64 rowid(qsizetype row) const { return rowids_[static_cast<std::size_t>(row)]; }
    // The value of a cell; Null is the null QVariant.
    QVariant value(qsizetype row, int column) const;
    // A cell as the engine typed it, read without a QVariant: its kind, then the one reading
    // that matches it (the bytes of a text are UTF-8).
    Kind kind(qsizetype row, int column) const { return cell(row, column).kind; }
    qint64 integer(qsizetype row, int column) const { return cell(row, column).integer; }
    double real(qsizetype row, int column) const { return cell(row, column).real; }
    QByteArrayView bytes(qsizetype row, int column) const {
        const Cell& value = cell(row, column);
        return {bytesOf(value), value.bytes.length};
    }

    void reserve(qsizetype rows);
    // Starts a row; one value per column follows.
    void appendRow(qint64 rowid) { rowids_.push_back(rowid); }
    void appendNull() { cells_.push_back(Cell{}); }
    void appendInteger(qint64 integer);
    void appendReal(double real);
    void appendText(const char* utf8, qsizetype length) { appendBytes(Kind::Text, utf8, length); }
    void appendBlob(const char* bytes, qsizetype length) { appendBytes(Kind::Blob, bytes, length); }
    // Overwrites the values of one row with those of a row of another batch.
    void replaceValues(qsizetype row, const RowBatch& from, qsizetype fromRow);
    // Appends a row of another batch with the same columns, rowid and values.
    void appendRowOf(const RowBatch& from, qsizetype fromRow);

private:
    struct Span {
        qsizetype offset;
        qsizetype length;
    };
    struct Cell {
        Kind kind = Kind::Null;
        union {
            qint64 integer;
            double real;
            Span bytes;
        };
    };

    void appendBytes(Kind kind, const char* data, qsizetype length);
    Cell copiedCell(const RowBatch& from, qsizetype fromRow, int column);
    const char* bytesOf(const Cell& value) const { return bytes_.data() + value.bytes.offset; }
    const Cell& cell(qsizetype row, int column) const {
        return cells_[static_cast<std::size_t>(row * columns_ + column)];
    }

    int columns_;
    std::vector<qint64> rowids_;
    std::vector<Cell> cells_;
    // The text and blob bytes of the cells, one after the other.
    std::vector<char> bytes_;
};

}  // namespace db
