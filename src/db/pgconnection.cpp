// The PostgreSQL engine: a connection to a server database through libpq.
#include "db/pgconnection.h"

#include <libpq-fe.h>

#include <poll.h>

#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <utility>
#include <vector>

#include "db/database.h"
#include "db/dberror.h"
#include "db/pgwritewatch.h"
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

// COPY data handed to libpq at a time.
constexpr qsizetype kCopyPiece = 64 * 1024;
// The cursor a batched read fetches from; one read at a time on a connection.
constexpr char kBatchCursor[] = "scadex_lettura";

// How much longer than the lock wait a statement may take before the server counts as
// stalled: long enough for the poll's work, short enough that the window never seems hung.
constexpr std::chrono::milliseconds kAnswerMargin{300};
// After a connection is given up, calls fail at once for this long: one new attempt per
// poll at most, however many steps the poll has.
constexpr std::chrono::milliseconds kRetryPause{300};

// Connection settings the descriptor may set itself; otherwise these. Keepalives and the
// TCP timeout notice a server that vanished from the network while no statement runs.
const char* const kDefaultSettings[][2] = {
    {"keepalives", "1"},       {"keepalives_idle", "10"},     {"keepalives_interval", "5"},
    {"keepalives_count", "3"}, {"tcp_user_timeout", "10000"},
};
// Every double comes back to its last bit: row identities are compared as the server
// writes them.
constexpr char kSessionOptions[] = "-c extra_float_digits=3";

// The keywords and values of a connection URI as libpq itself reads them, with the
// program's settings added.
class ConnectionSettings {
public:
    // Throws DbError naming the descriptor, never libpq's text (it may quote a password).
    ConnectionSettings(const QByteArray& uri, const QString& path) {
        char* error = nullptr;
        PQconninfoOption* parsed = PQconninfoParse(uri.constData(), &error);
        PQfreemem(error);
        if (!parsed)
            throw DbError(QStringLiteral("open ") + path,
                          QStringLiteral("the connection URI cannot be read"), Fault::NotADatabase,
                          path);
        for (const PQconninfoOption* option = parsed; option->keyword; ++option) {
            if (option->val) set(option->keyword, option->val);
        }
        PQconninfoFree(parsed);
        for (const auto& setting : kDefaultSettings) {
            if (!has(setting[0])) set(setting[0], setting[1]);
        }
        const QByteArray options = value("options");
        set("options",
            options.isEmpty() ? QByteArray(kSessionOptions) : options + ' ' + kSessionOptions);
        set("client_encoding", "UTF8");
    }

    bool has(const char* keyword) const { return keywords_.contains(keyword); }
    QByteArray value(const char* keyword) const {
        const qsizetype at = keywords_.indexOf(keyword);
        return at < 0 ? QByteArray() : values_.at(at);
    }
    void set(const QByteArray& keyword, const QByteArray& value) {
        const qsizetype at = keywords_.indexOf(keyword);
        if (at >= 0) {
            values_[at] = value;
        } else {
            keywords_.append(keyword);
            values_.append(value);
        }
    }

    // Null-terminated arrays for PQconnectStartParams, valid while this object lives.
    std::vector<const char*> keywords() const { return pointers(keywords_); }
    std::vector<const char*> values() const { return pointers(values_); }

private:
    static std::vector<const char*> pointers(const QList<QByteArray>& texts) {
        std::vector<const char*> result;
        for (const QByteArray& text : texts) result.push_back(text.constData());
        result.push_back(nullptr);
        return result;
    }

    QList<QByteArray> keywords_;
    QList<QByteArray> values_;
};

// The fault a server's SQLSTATE code stands for.
Fault faultOf(const PGresult* result) {
    const char* state = PQresultErrorField(result, PG_DIAG_SQLSTATE);
    const QByteArray code = state ? QByteArray(state) : QByteArray();
    if (code == "55P03" || code == "40P01") return Fault::Locked;
    if (code == "42P01") return Fault::MissingTable;
    if (code == "42501" || code == "25006") return Fault::ReadOnly;
    if (code.startsWith("08") || code == "57P01") return Fault::Unreachable;
    return Fault::Other;
}

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

qint64 integerOf(const char* text, int length) {
    // Booleans come as "t" and "f".
    if (text[0] == 't') return 1;
    if (text[0] == 'f') return 0;
    qint64 integer = 0;
    std::from_chars(text, text + length, integer);
    return integer;
}

// The server writes doubles as C does, whatever the program's locale; "NaN" and "Infinity"
// as words.
double realOf(const char* text, int length) {
    double real = 0;
    if (std::from_chars(text, text + length, real).ec == std::errc()) return real;
    return QByteArray(text, length).toDouble();
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
        into.appendRow(rowidFirst ? integerOf(PQgetvalue(rows, row, 0), PQgetlength(rows, row, 0))
                                  : row);
        for (int column = first; column < first + columns; ++column) {
            const char* text = PQgetvalue(rows, row, column);
            const Kind kind = kinds[column - first];
            if (PQgetisnull(rows, row, column)) {
                into.appendNull();
            } else if (kind == Kind::Integer) {
                into.appendInteger(integerOf(text, PQgetlength(rows, row, column)));
            } else if (kind == Kind::Real) {
                into.appendReal(realOf(text, PQgetlength(rows, row, column)));
            } else {
                into.appendText(text, PQgetlength(rows, row, column));
            }
        }
    }
}

// A whole result: its column names and its rows, numbered from 0.
ResultRows rowsOf(const PGresult* result) {
    const int columns = PQnfields(result);
    ResultRows rows{QStringList(), RowBatch(columns)};
    for (int column = 0; column < columns; ++column)
        rows.names.append(QString::fromUtf8(PQfname(result, column)));
    appendRows(result, false, rows.rows);
    return rows;
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

// Values in the server's text form, with the pointers libpq takes (null for Null).
class ServerValues {
public:
    explicit ServerValues(const QVariantList& values) {
        texts_.reserve(values.size());
        for (const QVariant& value : values) {
            texts_.push_back(serverText(value));
            pointers_.push_back(texts_.back().isNull() ? nullptr : texts_.back().constData());
        }
    }
    int count() const { return static_cast<int>(pointers_.size()); }
    const char* const* pointers() const { return pointers_.data(); }

private:
    std::vector<QByteArray> texts_;
    std::vector<const char*> pointers_;
};

void appendCopyText(QByteArray& text, QByteArrayView value) {
    for (const char c : value) {
        switch (c) {
            case '\\':
                text += "\\\\";
                break;
            case '\n':
                text += "\\n";
                break;
            case '\r':
                text += "\\r";
                break;
            case '\t':
                text += "\\t";
                break;
            default:
                text += c;
        }
    }
}

template <typename Number>
void appendNumber(QByteArray& text, Number number) {
    char digits[32];
    const char* end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    text.append(digits, end - digits);
}

// The rows in COPY's text format: values between tabs, a newline after each row, Null as
// \N, and doubles in their shortest form that reads back to the same bits.
QByteArray copyText(const RowBatch& rows) {
    QByteArray text;
    text.reserve(rows.size() * rows.columns() * 12);
    for (qsizetype row = 0; row < rows.size(); ++row) {
        for (int column = 0; column < rows.columns(); ++column) {
            if (column > 0) text += '\t';
            switch (rows.kind(row, column)) {
                case RowBatch::Kind::Null:
                    text += "\\N";
                    break;
                case RowBatch::Kind::Integer:
                    appendNumber(text, rows.integer(row, column));
                    break;
                case RowBatch::Kind::Real:
                    appendNumber(text, rows.real(row, column));
                    break;
                case RowBatch::Kind::Text:
                    appendCopyText(text, rows.bytes(row, column));
                    break;
                case RowBatch::Kind::Blob:
                    text += "\\\\x" + rows.bytes(row, column).toByteArray().toHex();
                    break;
            }
        }
        text += '\n';
    }
    return text;
}

// A transaction a read needs (a cursor lives only in one) when none is under way: rolled
// back on every path out that did not commit it.
class OwnTransaction {
public:
    OwnTransaction(PgConnection& connection, bool needed) : connection_(connection), open_(needed) {
        if (open_) connection_.beginWrite();
    }
    ~OwnTransaction() {
        if (!open_) return;
        try {
            connection_.rollback();
        } catch (const DbError&) {
            // A connection that failed took its transaction with it.
        }
    }
    OwnTransaction(const OwnTransaction&) = delete;
    OwnTransaction& operator=(const OwnTransaction&) = delete;

    void commit() {
        if (!open_) return;
        open_ = false;
        connection_.commit();
    }

private:
    PgConnection& connection_;
    bool open_;
};

// A statement over pairs of texts given as the rows of a VALUES list (its %1), bound.
BoundSql overPairs(const QString& sql, const QList<std::pair<QString, QString>>& pairs) {
    QStringList rows;
    QVariantList values;
    for (const auto& [first, second] : pairs) {
        rows.append(QStringLiteral("(?, ?)"));
        values << first << second;
    }
    return {sql.arg(rows.join(QStringLiteral(", "))), values};
}

QString messageOf(const PGconn* connection) {
    return QString::fromUtf8(PQerrorMessage(connection)).trimmed();
}

}  // namespace

void PgConnection::ResultDeleter::operator()(pg_result* result) const {
    PQclear(result);
}

PgConnection::PgConnection(const QString& path, const QByteArray& uri)
    : path_(path), uri_(uri), server_(path), wantedWait_(kDefaultBusyTimeout) {
    connect(QStringLiteral("open ") + path_);
    server_ = QStringLiteral("%1 (server %2, database %3)")
                  .arg(path_, QString::fromUtf8(PQhost(connection_)),
                       QString::fromUtf8(PQdb(connection_)));
}

void PgConnection::connect(const QString& operation) {
    preparedNames_.clear();
    const ConnectionSettings settings(uri_, path_);
    const QByteArray ownTimeout = settings.value("connect_timeout");
    if (!ownTimeout.isEmpty()) connectWait_ = std::chrono::seconds(ownTimeout.toInt());
    const auto until = std::chrono::steady_clock::now() +
                       (connectWait_.count() > 0 ? connectWait_ : wantedWait_ + kAnswerMargin);
    const std::vector<const char*> keywords = settings.keywords();
    const std::vector<const char*> values = settings.values();
    connection_ = PQconnectStartParams(keywords.data(), values.data(), 0);
    if (!connection_) fail(operation, QStringLiteral("no memory"), Fault::Other);
    for (;;) {
        switch (PQconnectPoll(connection_)) {
            case PGRES_POLLING_OK:
                PQsetnonblocking(connection_, 1);
                // The program keeps no log: the server's notices go nowhere.
                PQsetNoticeProcessor(
                    connection_, [](void*, const char*) {}, nullptr);
                appliedWait_ = std::chrono::milliseconds(-1);
                return;
            case PGRES_POLLING_READING:
                awaitSocket(false, until, operation);
                break;
            case PGRES_POLLING_WRITING:
                awaitSocket(true, until, operation);
                break;
            default:
                fail(operation, messageOf(connection_), Fault::Unreachable);
        }
    }
}

std::unique_ptr<WriteWatch> PgConnection::watchWrites(const QString& table) {
    return PgWriteWatch::on(*this, table);
}

// One round trip for every right; a table that is not there is not asked about.
void PgConnection::requireRights(const QList<Database::TableRight>& rights) {
    QList<std::pair<QString, QString>> pairs;
    for (const Database::TableRight& right : rights) pairs.append({right.table, right.right});
    const BoundSql query = overPairs(
        QStringLiteral("SELECT t, r FROM (VALUES %1) AS v(t, r) WHERE to_regclass(t) IS NOT NULL "
                       "AND NOT has_table_privilege(t, r) LIMIT 1"),
        pairs);
    const Result result = run(query.sql, query.values);
    if (PQntuples(result.get()) == 0) return;
    throw DbError::denied(QStringLiteral("open ") + path_, server_,
                          QString::fromUtf8(PQgetvalue(result.get(), 0, 0)),
                          QString::fromUtf8(PQgetvalue(result.get(), 0, 1)));
}

// One round trip for every column: the first key column of each index of its table.
QList<Database::IndexedColumn> PgConnection::unindexed(
    const QList<Database::IndexedColumn>& columns) {
    QList<std::pair<QString, QString>> pairs;
    for (const Database::IndexedColumn& column : columns)
        pairs.append({column.table, column.column});
    const BoundSql query = overPairs(
        QStringLiteral("SELECT t, c FROM (VALUES %1) AS v(t, c) WHERE to_regclass(t) IS NOT NULL "
                       "AND NOT EXISTS (SELECT 1 FROM pg_index x JOIN pg_attribute a ON "
                       "a.attrelid = x.indrelid AND a.attnum = x.indkey[0] WHERE x.indrelid = "
                       "to_regclass(t) AND lower(a.attname) = lower(c))"),
        pairs);
    const Result result = run(query.sql, query.values);
    QList<Database::IndexedColumn> missing;
    for (int row = 0; row < PQntuples(result.get()); ++row) {
        missing.append({QString::fromUtf8(PQgetvalue(result.get(), row, 0)),
                        QString::fromUtf8(PQgetvalue(result.get(), row, 1))});
    }
    return missing;
}

int PgConnection::socket() const {
    return connection_ ? PQsocket(connection_) : -1;
}

int PgConnection::backendPid() const {
    return connection_ ? PQbackendPID(connection_) : 0;
}

std::optional<QList<PgConnection::Notification>> PgConnection::takeNotifications() {
    if (!connection_ || PQstatus(connection_) != CONNECTION_OK || !PQconsumeInput(connection_)) {
        dropConnection();
        return std::nullopt;
    }
    QList<Notification> notifications;
    while (PGnotify* notification = PQnotifies(connection_)) {
        notifications.append({notification->be_pid, QByteArray(notification->extra)});
        PQfreemem(notification);
    }
    return notifications;
}

PgConnection::~PgConnection() {
    close();
}

void PgConnection::close() {
    refreshCatalogue();
    closed_ = true;
    PQfinish(connection_);
    connection_ = nullptr;
}

void PgConnection::dropConnection() {
    PQfinish(connection_);
    connection_ = nullptr;
}

void PgConnection::fail(const QString& operation, const QString& message, Fault fault) {
    if (fault == Fault::Unreachable) dropConnection();
    throw DbError(operation, message, fault, server_);
}

std::chrono::steady_clock::time_point PgConnection::deadline() const {
    return std::chrono::steady_clock::now() + wantedWait_ + kAnswerMargin;
}

void PgConnection::awaitSocket(bool forWriting, std::chrono::steady_clock::time_point deadline,
                               const QString& operation) {
    pollfd socket{PQsocket(connection_), static_cast<short>(forWriting ? POLLOUT : POLLIN), 0};
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            // Waiting costs the window: a server that did not answer is left alone a moment.
            nextAttempt_ = std::chrono::steady_clock::now() + kRetryPause;
            fail(operation, QStringLiteral("the server did not answer in time"),
                 Fault::Unreachable);
        }
        const int ready = ::poll(&socket, 1, static_cast<int>(left.count()));
        if (ready > 0) return;
        if (ready < 0 && errno != EINTR)
            fail(operation, QString::fromLocal8Bit(strerror(errno)), Fault::Unreachable);
    }
}

ResultRows PgConnection::query(const QString& sql) {
    return rowsOf(run(sql).get());
}

ResultRows PgConnection::query(const BoundSql& query) {
    return rowsOf(runPrepared(query.sql, query.values).get());
}

void PgConnection::execute(const QString& sql) {
    run(sql);
}

void PgConnection::readRows(const BoundSql& query, RowBatch& into) {
    const Result result = run(query.sql, query.values);
    appendRows(result.get(), true, into);
}

int PgConnection::change(const BoundSql& statement) {
    const Result result = run(statement.sql, statement.values);
    return QByteArray(PQcmdTuples(result.get())).toInt();
}

// Through a cursor of the server, a batch per statement: no result is held whole, and no
// statement runs long however large the result.
void PgConnection::readInBatches(const QString& sql, int batchRows,
                                 const Database::OnBatch& onBatch) {
    OwnTransaction transaction(*this, !inTransaction_);
    run(QStringLiteral("DECLARE %1 NO SCROLL CURSOR FOR ").arg(QLatin1String(kBatchCursor)) + sql);
    const QString fetch =
        QStringLiteral("FETCH FORWARD %1 FROM %2").arg(batchRows).arg(kBatchCursor);
    for (;;) {
        const ResultRows batch = query(fetch);
        if (!batch.rows.isEmpty()) onBatch(batch.names, batch.rows);
        if (batch.rows.size() < batchRows) break;
    }
    run(QStringLiteral("CLOSE ") + QLatin1String(kBatchCursor));
    transaction.commit();
}

ResultRows PgConnection::changeInOrder(const BoundSql& statement, const IndexInfo& index) {
    QStringList order;
    for (const KeyPart& part : index.parts) order.append(quoted(part.column) + " NULLS FIRST");
    return query(BoundSql{QStringLiteral("WITH changed AS (") + statement.sql +
                              QStringLiteral(") SELECT * FROM changed ORDER BY ") +
                              order.join(QStringLiteral(", ")),
                          statement.values});
}

void PgConnection::insertRows(const TableInfo& table, const QList<int>& columns,
                              const RowBatch& rows) {
    copyIn(
        QStringLiteral("COPY %1 (%2) FROM STDIN").arg(table.quotedName, table.quotedList(columns)),
        copyText(rows));
}

// One statement, the rowids bound as one array.
void PgConnection::deleteRows(const TableInfo& table, std::span<const qint64> rowids) {
    QByteArray array = "{";
    for (const qint64 rowid : rowids) {
        if (array.size() > 1) array += ',';
        appendNumber(array, rowid);
    }
    array += '}';
    run(QStringLiteral("DELETE FROM %1 WHERE rowid = ANY(?)").arg(table.quotedName),
        {QVariant(QString::fromLatin1(array))});
}

QString PgConnection::collationOf(const TableInfo& table, int column) {
    const Result result = run(QStringLiteral("SELECT n.nspname, c.collname FROM pg_attribute a "
                                             "JOIN pg_collation c ON c.oid = a.attcollation "
                                             "JOIN pg_namespace n ON n.oid = c.collnamespace "
                                             "WHERE a.attrelid = to_regclass(?) AND a.attname = ? "
                                             "AND c.collname <> 'default'"),
                              {table.quotedName, table.columns.at(column)});
    if (PQntuples(result.get()) == 0) return {};
    return QStringLiteral(" COLLATE ") + quoted(QString::fromUtf8(PQgetvalue(result.get(), 0, 0))) +
           QLatin1Char('.') + quoted(QString::fromUtf8(PQgetvalue(result.get(), 0, 1)));
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
    if (rows == 0)
        throw DbError(operation, QStringLiteral("no such table"), Fault::MissingTable, server_);
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
    IndexInfo index{name, {}, integerOf(PQgetvalue(result.get(), 0, 1), 1) != 0};
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
    const bool lost = !connection_ || PQstatus(connection_) != CONNECTION_OK;
    inTransaction_ = false;
    // A dropped connection took its transaction with it.
    if (lost) return;
    run(QStringLiteral("ROLLBACK"));
}

PgConnection::Result PgConnection::run(const QString& sql, const QVariantList& values) {
    requireConnection(sql);
    applyLockWait();
    return succeeded(exec(serverSpelling(sql), values), sql);
}

PgConnection::Result PgConnection::succeeded(Result result, const QString& sql) {
    const ExecStatusType status = PQresultStatus(result.get());
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) return result;
    const char* message = PQresultErrorMessage(result.get());
    const bool lost = PQstatus(connection_) != CONNECTION_OK;
    fail(sql, message && *message ? QString::fromUtf8(message).trimmed() : messageOf(connection_),
         lost ? Fault::Unreachable : faultOf(result.get()));
}

PgConnection::Result PgConnection::exec(const QByteArray& sql, const QVariantList& values) {
    const ServerValues parameters(values);
    if (!PQsendQueryParams(connection_, sql.constData(), parameters.count(), nullptr,
                           parameters.pointers(), nullptr, nullptr, 0)) {
        fail(QString::fromUtf8(sql), messageOf(connection_), Fault::Unreachable);
    }
    return awaitAnswer(sql);
}

PgConnection::Result PgConnection::runPrepared(const QString& sql, const QVariantList& values) {
    requireConnection(sql);
    applyLockWait();
    const QByteArray spelled = serverSpelling(sql);
    const QByteArray name = preparedName(spelled, sql);
    const ServerValues parameters(values);
    if (!PQsendQueryPrepared(connection_, name.constData(), parameters.count(),
                             parameters.pointers(), nullptr, nullptr, 0)) {
        fail(sql, messageOf(connection_), Fault::Unreachable);
    }
    Result result = awaitAnswer(spelled);
    // A table changed under the prepared form (its columns' types) is prepared anew next time.
    const char* state = PQresultErrorField(result.get(), PG_DIAG_SQLSTATE);
    if (state && QByteArrayView(state) == "0A000") preparedNames_.remove(spelled);
    return succeeded(std::move(result), sql);
}

QByteArray PgConnection::preparedName(const QByteArray& spelled, const QString& sql) {
    const auto found = preparedNames_.constFind(spelled);
    if (found != preparedNames_.cend()) return *found;
    const QByteArray name = "scadex_" + QByteArray::number(preparedNames_.size() + 1);
    if (!PQsendPrepare(connection_, name.constData(), spelled.constData(), 0, nullptr))
        fail(sql, messageOf(connection_), Fault::Unreachable);
    succeeded(awaitAnswer(spelled), sql);
    preparedNames_.insert(spelled, name);
    return name;
}

// The first failure among the results, or the last result.
PgConnection::Result PgConnection::awaitAnswer(const QByteArray& sql) {
    const QString operation = QString::fromUtf8(sql);
    const auto until = deadline();
    int flushed = 0;
    while ((flushed = PQflush(connection_)) == 1) awaitSocket(true, until, operation);
    if (flushed < 0) fail(operation, messageOf(connection_), Fault::Unreachable);
    Result answer;
    for (;;) {
        while (PQisBusy(connection_)) {
            awaitSocket(false, until, operation);
            if (!PQconsumeInput(connection_))
                fail(operation, messageOf(connection_), Fault::Unreachable);
        }
        Result result(PQgetResult(connection_));
        if (!result) break;
        const ExecStatusType status = PQresultStatus(result.get());
        const bool failed = status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK;
        const bool answerFailed = answer && PQresultStatus(answer.get()) == PGRES_FATAL_ERROR;
        if (!answerFailed || failed) answer = std::move(result);
    }
    if (!answer) fail(operation, messageOf(connection_), Fault::Unreachable);
    return answer;
}

void PgConnection::copyIn(const QString& sql, const QByteArray& data) {
    requireConnection(sql);
    applyLockWait();
    const QByteArray spelled = sql.toUtf8();
    if (!PQsendQuery(connection_, spelled.constData()))
        fail(sql, messageOf(connection_), Fault::Unreachable);
    const auto until = deadline();
    int flushed = 0;
    while ((flushed = PQflush(connection_)) == 1) awaitSocket(true, until, sql);
    if (flushed < 0) fail(sql, messageOf(connection_), Fault::Unreachable);
    Result started = awaitResult(until, sql);
    if (!started) fail(sql, messageOf(connection_), Fault::Unreachable);
    if (PQresultStatus(started.get()) != PGRES_COPY_IN) {
        // The server refused the copy (a lock, a missing table): its answer ends first.
        while (awaitResult(until, sql)) {
        }
        succeeded(std::move(started), sql);
        fail(sql, QStringLiteral("the server did not take the copy"), Fault::Other);
    }
    for (qsizetype offset = 0; offset < data.size(); offset += kCopyPiece)
        putCopyData(data.constData() + offset,
                    static_cast<int>(std::min(kCopyPiece, data.size() - offset)), sql);
    putCopyData(nullptr, 0, sql);
    succeeded(awaitAnswer(spelled), sql);
}

PgConnection::Result PgConnection::awaitResult(std::chrono::steady_clock::time_point deadline,
                                               const QString& operation) {
    while (PQisBusy(connection_)) {
        awaitSocket(false, deadline, operation);
        if (!PQconsumeInput(connection_))
            fail(operation, messageOf(connection_), Fault::Unreachable);
    }
    return Result(PQgetResult(connection_));
}

void PgConnection::putCopyData(const char* data, int length, const QString& operation) {
    const auto until = deadline();
    for (;;) {
        const int queued =
            data ? PQputCopyData(connection_, data, length) : PQputCopyEnd(connection_, nullptr);
        if (queued == 1) return;
        if (queued < 0) fail(operation, messageOf(connection_), Fault::Unreachable);
        awaitSocket(true, until, operation);
        if (PQflush(connection_) < 0) fail(operation, messageOf(connection_), Fault::Unreachable);
    }
}

void PgConnection::requireConnection(const QString& operation) {
    if (closed_) throw DbError(operation, QStringLiteral("the database is closed"));
    if (connection_ && PQstatus(connection_) == CONNECTION_OK) return;
    if (inTransaction_)
        throw DbError(operation, QStringLiteral("the connection to the server was lost"),
                      Fault::Unreachable, server_);
    if (std::chrono::steady_clock::now() < nextAttempt_)
        throw DbError(operation, QStringLiteral("the server did not answer a moment ago"),
                      Fault::Unreachable, server_);
    PQfinish(connection_);
    connection_ = nullptr;
    connect(operation);
}

// The wait for a lock is the server's lock timeout; a setting made inside a transaction
// would end with it, so it changes only between transactions. No wait at all is the
// shortest the server knows (its 0 waits for ever).
void PgConnection::applyLockWait() {
    if (inTransaction_ || appliedWait_ == wantedWait_) return;
    const QByteArray sql =
        "SET lock_timeout = " + QByteArray::number(std::max<qint64>(1, wantedWait_.count()));
    const Result result = exec(sql, {});
    if (PQresultStatus(result.get()) != PGRES_COMMAND_OK)
        fail(QString::fromUtf8(sql), QString::fromUtf8(PQresultErrorMessage(result.get())),
             faultOf(result.get()));
    appliedWait_ = wantedWait_;
}

}  // namespace db
