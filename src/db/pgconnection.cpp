// The PostgreSQL engine: a connection to a server database through libpq.
#include "db/pgconnection.h"

#include <libpq-fe.h>

#include <QRegularExpression>
#include <algorithm>
#include <vector>

#include "db/database.h"
#include "db/dberror.h"
#include "db/rowbatch.h"
#include "db/storedvalue.h"

namespace db {

namespace {

// Type identifiers of the server's built-in types (pg_type.oid).
enum : Oid {
    kBool = 16,
    kInt8 = 20,
    kInt2 = 21,
    kInt4 = 23,
    kOid = 26,
    kFloat4 = 700,
    kFloat8 = 701,
    kNumeric = 1700,
};

enum class Kind { Integer, Real, Text };

// Rows added in one INSERT at most, well below the server's limit of placeholders.
constexpr int kMostHeldRows = 500;

Kind kindOf(Oid type) {
    switch (type) {
        case kBool:
        case kInt8:
        case kInt2:
        case kInt4:
        case kOid:
            return Kind::Integer;
        case kFloat4:
        case kFloat8:
        case kNumeric:
            return Kind::Real;
        default:
            return Kind::Text;
    }
}

qint64 integerOf(const char* text) {
    // Booleans come as "t" and "f".
    if (text[0] == 't') return 1;
    if (text[0] == 'f') return 0;
    return QByteArray(text).toLongLong();
}

// Appends the rows of a result to a batch: the row's number, or its first column when
// `rowidFirst`, then the other columns as the engine typed them.
void appendRows(const PGresult* rows, bool rowidFirst, RowBatch& into) {
    const int first = rowidFirst ? 1 : 0;
    const int columns = into.columns();
    std::vector<Kind> kinds;
    for (int column = first; column < first + columns; ++column)
        kinds.push_back(kindOf(PQftype(rows, column)));
    const int count = PQntuples(rows);
    into.reserve(into.size() + count);
    for (int row = 0; row < count; ++row) {
        into.appendRow(rowidFirst ? integerOf(PQgetvalue(rows, row, 0)) : row);
        for (int column = first; column < first + columns; ++column) {
            const char* text = PQgetvalue(rows, row, column);
            const Kind kind = kinds[column - first];
            if (PQgetisnull(rows, row, column)) {
                into.appendNull();
            } else if (kind == Kind::Integer) {
                into.appendInteger(integerOf(text));
            } else if (kind == Kind::Real) {
                into.appendReal(QByteArray(text).toDouble());
            } else {
                into.appendText(text, PQgetlength(rows, row, column));
            }
        }
    }
}

// "?" placeholders become "$1", "$2"...; quoted text and names are left alone. The host's
// binary collation is the server's "C".
QByteArray serverSpelling(const QString& sql) {
    static const QRegularExpression binary(QStringLiteral(R"(\bCOLLATE\s+BINARY\b)"),
                                           QRegularExpression::CaseInsensitiveOption);
    QString statement = sql;
    statement.replace(binary, QStringLiteral("COLLATE \"C\""));
    QString spelled;
    spelled.reserve(statement.size() + 16);
    QChar quote;
    int placeholder = 0;
    for (const QChar c : statement) {
        if (!quote.isNull()) {
            if (c == quote) quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char('?')) {
            spelled += QLatin1Char('$') + QString::number(++placeholder);
            continue;
        }
        spelled += c;
    }
    return spelled.toUtf8();
}

// A value as the server reads it in text form; a null QByteArray for Null.
QByteArray serverText(const QVariant& value) {
    const QVariant stored = toStorable(value);
    if (stored.isNull()) return {};
    switch (stored.typeId()) {
        case QMetaType::Double:
            return QByteArray::number(stored.toDouble(), 'g', 17);
        case QMetaType::Bool:
            return stored.toBool() ? QByteArrayLiteral("1") : QByteArrayLiteral("0");
        case QMetaType::QByteArray:
            return stored.toByteArray();
        default:
            return stored.toString().toUtf8();
    }
}

QString messageOf(const PGconn* connection) {
    return QString::fromUtf8(PQerrorMessage(connection)).trimmed();
}

}  // namespace

void PgConnection::ResultDeleter::operator()(pg_result* result) const {
    PQclear(result);
}

PgConnection::PgConnection(const QString& path, const QByteArray& uri)
    : path_(path), uri_(uri), wantedWait_(kDefaultBusyTimeout) {
    connection_ = PQconnectdb(uri_.constData());
    if (!connection_ || PQstatus(connection_) != CONNECTION_OK) {
        const QString message = connection_ ? messageOf(connection_) : QStringLiteral("no memory");
        close();
        throw DbError(QStringLiteral("open ") + path_, message);
    }
    PQsetClientEncoding(connection_, "UTF8");
    // The program keeps no log: the server's notices go nowhere.
    PQsetNoticeProcessor(
        connection_, [](void*, const char*) {}, nullptr);
}

PgConnection::~PgConnection() {
    close();
}

void PgConnection::close() {
    refreshCatalogue();
    PQfinish(connection_);
    connection_ = nullptr;
}

ResultRows PgConnection::query(const QString& sql) {
    const Result result = run(sql);
    const int columns = PQnfields(result.get());
    ResultRows rows{QStringList(), RowBatch(columns)};
    for (int column = 0; column < columns; ++column)
        rows.names.append(QString::fromUtf8(PQfname(result.get(), column)));
    appendRows(result.get(), false, rows.rows);
    return rows;
}

void PgConnection::execute(const QString& sql) {
    run(sql);
}

void PgConnection::readRows(const BoundSql& query, RowBatch& into) {
    const Result result = run(query.sql, query.values);
    appendRows(result.get(), true, into);
}

void PgConnection::insert(const BoundSql& statement) {
    const bool values = statement.sql.endsWith(QLatin1Char(')'));
    if (!inTransaction_ || !values) {
        change(statement);
        return;
    }
    if (heldRows_ > 0 && (statement.sql != heldInsert_ || heldRows_ >= kMostHeldRows))
        writeHeldRows();
    heldInsert_ = statement.sql;
    heldValues_.append(statement.values);
    ++heldRows_;
}

void PgConnection::writeHeldRows() {
    if (heldRows_ == 0) return;
    const qsizetype tuple = heldInsert_.lastIndexOf(QStringLiteral(" VALUES ("));
    const QString row = heldInsert_.mid(tuple + 8);
    QString sql = heldInsert_;
    sql.reserve(sql.size() + (row.size() + 2) * heldRows_);
    for (int i = 1; i < heldRows_; ++i) sql += QStringLiteral(", ") + row;
    const QVariantList values = std::exchange(heldValues_, {});
    heldRows_ = 0;
    send(sql, values);
}

int PgConnection::change(const BoundSql& statement) {
    const Result result = run(statement.sql, statement.values);
    return QByteArray(PQcmdTuples(result.get())).toInt();
}

TableInfo PgConnection::readTable(const QString& name) {
    const Result result =
        run(QStringLiteral("SELECT c.relname, a.attname, format_type(a.atttypid, a.atttypmod) "
                           "FROM pg_class c JOIN pg_attribute a ON a.attrelid = c.oid "
                           "WHERE c.oid = to_regclass(?) AND a.attnum > 0 AND NOT a.attisdropped "
                           "ORDER BY a.attnum"),
            {quoted(name.toLower())});
    const int rows = PQntuples(result.get());
    const QString operation = QStringLiteral("open table ") + name;
    if (rows == 0) throw DbError(operation, QStringLiteral("no such table"));
    TableInfo table;
    table.name = QString::fromUtf8(PQgetvalue(result.get(), 0, 0));
    table.quotedName = quoted(table.name);
    bool hasRowid = false;
    for (int row = 0; row < rows; ++row) {
        const QString column = QString::fromUtf8(PQgetvalue(result.get(), row, 1));
        // The row identity the cursors walk by: no field of the host's.
        if (column == QLatin1String("rowid")) {
            hasRowid = true;
            continue;
        }
        table.columns.append(column);
        table.declaredTypes.append(QString::fromUtf8(PQgetvalue(result.get(), row, 2)));
        table.quotedColumns.append(quoted(column));
    }
    if (!hasRowid) throw DbError(operation, QStringLiteral("the table has no rowid column"));
    return table;
}

IndexInfo PgConnection::readIndex(const TableInfo& table, const QString& name) {
    const Result result =
        run(QStringLiteral("SELECT a.attname, x.indisunique FROM pg_index x "
                           "JOIN pg_class i ON i.oid = x.indexrelid "
                           "CROSS JOIN LATERAL unnest(x.indkey::int2[]) WITH ORDINALITY AS k(n, p) "
                           "LEFT JOIN pg_attribute a ON a.attrelid = x.indrelid AND a.attnum = k.n "
                           "WHERE x.indrelid = to_regclass(?) AND lower(i.relname) = lower(?) "
                           "AND k.p <= x.indnkeyatts ORDER BY k.p"),
            {table.quotedName, name});
    const QString operation = QStringLiteral("select index ") + name;
    const int rows = PQntuples(result.get());
    if (rows == 0)
        throw DbError(operation, QStringLiteral("table %1 has no such index").arg(table.name));
    IndexInfo index{name, {}, integerOf(PQgetvalue(result.get(), 0, 1)) != 0};
    for (int row = 0; row < rows; ++row) {
        if (PQgetisnull(result.get(), row, 0))
            throw DbError(operation, QStringLiteral("an index on expressions cannot be walked"));
        const int position = table.columnIndex(QString::fromUtf8(PQgetvalue(result.get(), row, 0)));
        if (position < 0)
            throw DbError(operation, QStringLiteral("the index keys a column the table hides"));
        // The columns carry the collation the index compares with.
        index.parts.append({table.columns.at(position), QString(),
                            isDateTimeType(table.declaredTypes.at(position)), position});
    }
    return index;
}

void PgConnection::beginWrite() {
    run(QStringLiteral("BEGIN"));
    inTransaction_ = true;
}

void PgConnection::commit() {
    const Result result = run(QStringLiteral("COMMIT"));
    inTransaction_ = false;
    // The server answers a commit of a failed transaction by rolling it back.
    if (QByteArray(PQcmdStatus(result.get())) != "COMMIT")
        throw DbError(QStringLiteral("COMMIT"), QStringLiteral("the transaction was rolled back"));
}

void PgConnection::rollback() {
    const bool lost = connection_ && PQstatus(connection_) != CONNECTION_OK;
    inTransaction_ = false;
    heldValues_.clear();
    heldRows_ = 0;
    // A dropped connection took its transaction with it.
    if (lost) return;
    run(QStringLiteral("ROLLBACK"));
}

PgConnection::Result PgConnection::run(const QString& sql, const QVariantList& values) {
    writeHeldRows();
    return send(sql, values);
}

PgConnection::Result PgConnection::send(const QString& sql, const QVariantList& values) {
    requireConnection(sql);
    applyLockWait();
    Result result = exec(serverSpelling(sql), values);
    const ExecStatusType status = PQresultStatus(result.get());
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) return result;
    const char* message = PQresultErrorMessage(result.get());
    throw DbError(
        sql, message && *message ? QString::fromUtf8(message).trimmed() : messageOf(connection_));
}

PgConnection::Result PgConnection::exec(const QByteArray& sql, const QVariantList& values) {
    std::vector<QByteArray> texts;
    std::vector<const char*> pointers;
    texts.reserve(values.size());
    for (const QVariant& value : values) {
        texts.push_back(serverText(value));
        pointers.push_back(texts.back().isNull() ? nullptr : texts.back().constData());
    }
    return Result(PQexecParams(connection_, sql.constData(), static_cast<int>(pointers.size()),
                               nullptr, pointers.data(), nullptr, nullptr, 0));
}

void PgConnection::requireConnection(const QString& operation) {
    if (!connection_) throw DbError(operation, QStringLiteral("the database is closed"));
    if (PQstatus(connection_) == CONNECTION_OK) return;
    if (inTransaction_)
        throw DbError(operation, QStringLiteral("the connection to the server was lost"));
    PQreset(connection_);
    appliedWait_ = std::chrono::milliseconds(-1);
    if (PQstatus(connection_) != CONNECTION_OK) throw DbError(operation, messageOf(connection_));
    PQsetClientEncoding(connection_, "UTF8");
}

// The wait for a lock is the server's lock timeout; a setting made inside a transaction
// would end with it, so it changes only between transactions. No wait at all is the
// shortest the server knows (its 0 waits for ever).
void PgConnection::applyLockWait() {
    if (inTransaction_ || appliedWait_ == wantedWait_) return;
    const QByteArray sql =
        "SET lock_timeout = " + QByteArray::number(std::max<qint64>(1, wantedWait_.count()));
    Result result(PQexec(connection_, sql.constData()));
    if (PQresultStatus(result.get()) != PGRES_COMMAND_OK)
        throw DbError(QString::fromUtf8(sql),
                      QString::fromUtf8(PQresultErrorMessage(result.get())));
    appliedWait_ = wantedWait_;
}

}  // namespace db
