// A prepared SQLite statement on the engine's connection.
#include "db/sqlitestatement.h"

#include <sqlite3.h>

#include <QByteArray>
#include <utility>

#include "db/dberror.h"
#include "db/rowbatch.h"

namespace db {

SqliteStatement::SqliteStatement(sqlite3* handle, const QString& sql, bool persistent)
    : handle_(handle), sql_(sql) {
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v3(handle_, text.constData(), static_cast<int>(text.size()),
                           persistent ? SQLITE_PREPARE_PERSISTENT : 0, &statement_,
                           nullptr) != SQLITE_OK)
        fail();
    if (!statement_) throw DbError(sql_, QStringLiteral("no statement"));
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(statement_);
}

int SqliteStatement::change(const QVariantList& values) {
    Reset reset(*this);
    bind(values);
    while (step()) {
    }
    return sqlite3_changes(handle_);
}

void SqliteStatement::changeEach(const RowBatch& rows, qsizetype first, qsizetype end,
                                 qsizetype rowsPerRun) {
    for (qsizetype run = first; run + rowsPerRun <= end; run += rowsPerRun) {
        Reset reset(*this);
        int position = 0;
        for (qsizetype row = run; row < run + rowsPerRun; ++row)
            for (int column = 0; column < rows.columns(); ++column)
                bindCell(++position, rows, row, column);
        while (step()) {
        }
    }
}

QStringList SqliteStatement::columnNames() const {
    QStringList names;
    for (int i = 0; i < sqlite3_column_count(statement_); ++i) {
        names.append(QString::fromUtf8(sqlite3_column_name(statement_, i)));
    }
    return names;
}

QVariant SqliteStatement::value(int column) const {
    switch (sqlite3_column_type(statement_, column)) {
        case SQLITE_INTEGER:
            return QVariant(static_cast<qlonglong>(sqlite3_column_int64(statement_, column)));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(statement_, column));
        case SQLITE_TEXT:
            return QVariant(QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(statement_, column)),
                sqlite3_column_bytes(statement_, column)));
        case SQLITE_BLOB:
            return QVariant(
                QByteArray(static_cast<const char*>(sqlite3_column_blob(statement_, column)),
                           sqlite3_column_bytes(statement_, column)));
        default:
            return {};
    }
}

qint64 SqliteStatement::integer(int column) const {
    return sqlite3_column_int64(statement_, column);
}

void SqliteStatement::appendTo(RowBatch& batch, int column) const {
    // One column call, then the value calls, which skip the statement's checks: a walk reads
    // every column of every row.
    sqlite3_value* value = sqlite3_column_value(statement_, column);
    switch (sqlite3_value_type(value)) {
        case SQLITE_INTEGER:
            batch.appendInteger(sqlite3_value_int64(value));
            break;
        case SQLITE_FLOAT:
            batch.appendReal(sqlite3_value_double(value));
            break;
        case SQLITE_TEXT:
            batch.appendText(reinterpret_cast<const char*>(sqlite3_value_text(value)),
                             sqlite3_value_bytes(value));
            break;
        case SQLITE_BLOB:
            batch.appendBlob(static_cast<const char*>(sqlite3_value_blob(value)),
                             sqlite3_value_bytes(value));
            break;
        default:
            batch.appendNull();
    }
}

void SqliteStatement::bind(const QVariantList& values) {
    for (qsizetype i = 0; i < values.size(); ++i) bindOne(static_cast<int>(i) + 1, values[i]);
}

void SqliteStatement::bindOne(int position, const QVariant& value) {
    int status = SQLITE_OK;
    if (value.isNull()) {
        status = sqlite3_bind_null(statement_, position);
    } else if (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Bool) {
        status = sqlite3_bind_int64(statement_, position, value.toLongLong());
    } else if (value.typeId() == QMetaType::Double) {
        status = sqlite3_bind_double(statement_, position, value.toDouble());
    } else if (value.typeId() == QMetaType::QByteArray) {
        const QByteArray bytes = value.toByteArray();
        status = sqlite3_bind_blob64(statement_, position, bytes.constData(),
                                     static_cast<sqlite3_uint64>(bytes.size()), SQLITE_TRANSIENT);
    } else {
        const QByteArray text = value.toString().toUtf8();
        status = sqlite3_bind_text64(statement_, position, text.constData(),
                                     static_cast<sqlite3_uint64>(text.size()), SQLITE_TRANSIENT,
                                     SQLITE_UTF8);
    }
    if (status != SQLITE_OK) fail();
}

// The batch's bytes are bound in place: every later use of the statement binds all its
// values again before it steps. An empty text or blob needs a pointer all the same (a null
// one binds Null).
void SqliteStatement::bindCell(int position, const RowBatch& rows, qsizetype row, int column) {
    const auto bytesAt = [&] {
        const QByteArrayView bytes = rows.bytes(row, column);
        return std::pair{bytes.isEmpty() ? "" : bytes.data(),
                         static_cast<sqlite3_uint64>(bytes.size())};
    };
    int status = SQLITE_OK;
    switch (rows.kind(row, column)) {
        case RowBatch::Kind::Null:
            status = sqlite3_bind_null(statement_, position);
            break;
        case RowBatch::Kind::Integer:
            status = sqlite3_bind_int64(statement_, position, rows.integer(row, column));
            break;
        case RowBatch::Kind::Real:
            status = sqlite3_bind_double(statement_, position, rows.real(row, column));
            break;
        case RowBatch::Kind::Text: {
            const auto [text, length] = bytesAt();
            status =
                sqlite3_bind_text64(statement_, position, text, length, SQLITE_STATIC, SQLITE_UTF8);
            break;
        }
        case RowBatch::Kind::Blob: {
            const auto [bytes, length] = bytesAt();
            status = sqlite3_bind_blob64(statement_, position, bytes, length, SQLITE_STATIC);
            break;
        }
    }
    if (status != SQLITE_OK) fail();
}

bool SqliteStatement::step() {
    const int status = sqlite3_step(statement_);
    if (status == SQLITE_ROW) return true;
    if (status == SQLITE_DONE) return false;
    fail();
}

void SqliteStatement::reset() {
    sqlite3_reset(statement_);
}

void SqliteStatement::fail() const {
    throw sqliteError(handle_, sql_);
}

DbError sqliteError(sqlite3* handle, const QString& operation) {
    const QString message = QString::fromUtf8(sqlite3_errmsg(handle));
    Fault fault = Fault::Other;
    // A file moved or replaced under the connection is no fault of the operator's rights: the
    // next poll or rebuild opens the file that is there now.
    if (sqlite3_extended_errcode(handle) == SQLITE_READONLY_DBMOVED)
        return DbError(operation, message, Fault::Other,
                       QString::fromUtf8(sqlite3_db_filename(handle, "main")));
    switch (sqlite3_errcode(handle) & 0xff) {  // the primary code
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            fault = Fault::Locked;
            break;
        case SQLITE_READONLY:
        case SQLITE_CANTOPEN:
        case SQLITE_PERM:
            fault = Fault::ReadOnly;
            break;
        case SQLITE_NOTADB:
            fault = Fault::NotADatabase;
            break;
        default:
            if (message.startsWith(QLatin1String("no such table"))) fault = Fault::MissingTable;
            break;
    }
    return DbError(operation, message, fault,
                   QString::fromUtf8(sqlite3_db_filename(handle, "main")));
}

}  // namespace db
