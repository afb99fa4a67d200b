// A prepared SQLite statement on the engine's connection.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include "db/dberror.h"

struct sqlite3;
struct sqlite3_stmt;

namespace db {

class RowBatch;

class SqliteStatement {
public:
    // Throws DbError when the statement does not compile. A `persistent` statement is one
    // kept for many uses.
    SqliteStatement(sqlite3* handle, const QString& sql, bool persistent);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // Binds the values, steps through the rows handing each to onRow, and resets the
    // statement even when onRow throws, so that it holds no lock afterwards.
    template <typename OnRow>
    void run(const QVariantList& values, OnRow&& onRow);
    // Runs a statement that returns no rows; returns how many rows it changed.
    int change(const QVariantList& values);
    // Runs a statement that returns no rows with the values of `rowsPerRun` rows of the batch
    // bound in order at a time, over its rows [first, end).
    void changeEach(const RowBatch& rows, qsizetype first, qsizetype end, qsizetype rowsPerRun);

    // The names of the result's columns.
    QStringList columnNames() const;
    // A column of the current row; Null is the null QVariant.
    QVariant value(int column) const;
    // A whole-number column of the current row (a rowid).
    qint64 integer(int column) const;
    // Appends a column of the current row to a batch, as the engine holds it.
    void appendTo(RowBatch& batch, int column) const;

private:
    class Reset {
    public:
        explicit Reset(SqliteStatement& statement) : statement_(statement) {}
        ~Reset() { statement_.reset(); }
        Reset(const Reset&) = delete;
        Reset& operator=(const Reset&) = delete;

    private:
        SqliteStatement& statement_;
    };

    void bind(const QVariantList& values);
    void bindOne(int position, const QVariant& value);
    void bindCell(int position, const RowBatch& rows, qsizetype row, int column);
    bool step();
    void reset();
    [[noreturn]] void fail() const;

    sqlite3* handle_;
    sqlite3_stmt* statement_ = nullptr;
    QString sql_;
};

// The connection's last failure as a DbError of `operation`, naming the file and the fault.
DbError sqliteError(sqlite3* handle, const QString& operation);

template <typename OnRow>
void SqliteStatement::run(const QVariantList& values, OnRow&& onRow) {
    Reset reset(*this);
    bind(values);
    while (step()) onRow(*this);
}

}  // namespace db
