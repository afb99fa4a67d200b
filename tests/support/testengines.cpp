// The database engines the suites run on, and test databases made on each.
#include "support/testengines.h"

#include <libpq-fe.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <QUuid>
#include <memory>
#include <stdexcept>

#include "dbcreate/serverschema.h"
#include "support/sqlfile.h"

namespace {

QString script(const QString& relative) {
    QFile file(QStringLiteral(SCADEX_SCHEMA_DIR "/") + relative);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("schema script missing: " + relative.toStdString());
    return QString::fromUtf8(file.readAll());
}

// Direct SQL through libpq; "?" placeholders become "$1", "$2"...
class ServerSql : public DirectSql {
public:
    explicit ServerSql(const QByteArray& uri) : connection_(PQconnectdb(uri.constData())) {
        if (PQstatus(connection_) != CONNECTION_OK) fail("connect");
        PQsetClientEncoding(connection_, "UTF8");
    }
    ~ServerSql() override { PQfinish(connection_); }
    ServerSql(const ServerSql&) = delete;
    ServerSql& operator=(const ServerSql&) = delete;

    void exec(const QString& sql, const QVariantList& values) override { run(sql, values); }

    QList<QVariantList> rows(const QString& sql, const QVariantList& values) override {
        const Result result = run(sql, values);
        QList<QVariantList> rows;
        for (int row = 0; row < PQntuples(result.get()); ++row) {
            QVariantList cells;
            for (int column = 0; column < PQnfields(result.get()); ++column)
                cells.append(cell(result.get(), row, column));
            rows.append(cells);
        }
        return rows;
    }

private:
    // A result, cleared on every path.
    using Result = std::unique_ptr<PGresult, decltype(&PQclear)>;

    static QVariant cell(PGresult* result, int row, int column) {
        if (PQgetisnull(result, row, column)) return {};
        const QByteArray text = PQgetvalue(result, row, column);
        switch (PQftype(result, column)) {
            case 20:  // int8
            case 21:  // int2
            case 23:  // int4
                return text.toLongLong();
            case 700:   // float4
            case 701:   // float8
            case 1700:  // numeric
                return text.toDouble();
            default:
                return QString::fromUtf8(text);
        }
    }

    Result run(const QString& sql, const QVariantList& values) {
        QString spelled;
        int placeholder = 0;
        for (const QChar c : sql)
            spelled += c == QLatin1Char('?') ? QStringLiteral("$%1").arg(++placeholder) : c;
        std::vector<QByteArray> texts;
        std::vector<const char*> pointers;
        texts.reserve(values.size());
        for (const QVariant& value : values) {
            texts.push_back(value.isNull() ? QByteArray()
                            : value.typeId() == QMetaType::Double
                                ? QByteArray::number(value.toDouble(), 'g', 17)
                                : value.toString().toUtf8());
            pointers.push_back(value.isNull() ? nullptr : texts.back().constData());
        }
        Result result(PQexecParams(connection_, spelled.toUtf8().constData(),
                                   static_cast<int>(pointers.size()), nullptr, pointers.data(),
                                   nullptr, nullptr, 0),
                      &PQclear);
        const ExecStatusType status = PQresultStatus(result.get());
        if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) return result;
        fail(sql.toStdString());
    }

    [[noreturn]] void fail(const std::string& what) const {
        throw std::runtime_error(what + ": " + PQerrorMessage(connection_));
    }

    PGconn* connection_;
};

QByteArray descriptorUri(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("descriptor missing");
    return file.readLine().trimmed();
}

}  // namespace

std::vector<Engine> testedEngines() {
    if (qEnvironmentVariableIsEmpty("SCADEX_TEST_PGHOST")) return {Engine::Sqlite};
    return {Engine::Sqlite, Engine::Postgres};
}

std::string engineName(Engine engine) {
    return engine == Engine::Sqlite ? "Sqlite" : "Postgres";
}

void waitForNoLock(Engine engine, DirectSql& connection) {
    connection.exec(engine == Engine::Sqlite ? QStringLiteral("PRAGMA busy_timeout = 0")
                                             : QStringLiteral("SET lock_timeout = 1"));
}

QByteArray serverDatabaseUri() {
    return "postgresql:///postgres?host=" +
           QUrl::toPercentEncoding(qEnvironmentVariable("SCADEX_TEST_PGHOST")) + "&user=postgres";
}

QString createTestDatabase(Engine engine, const TestFolder& folder, const QString& name,
                           const QString& scriptName) {
    const QString path = folder.path(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (engine == Engine::Sqlite) {
        SqlFile::create(path, scriptName);
        return path;
    }
    const QString schema =
        QStringLiteral("t") + QUuid::createUuid().toString(QUuid::Id128).left(20);
    const QByteArray uri = db::createServerSchema(
        serverDatabaseUri(), schema, script(QStringLiteral("postgresql/") + scriptName), false);
    folder.write(name, uri + '\n');
    return path;
}

std::unique_ptr<DirectSql> directSql(Engine engine, const QString& path) {
    if (engine == Engine::Sqlite) return std::make_unique<SqlFile>(path);
    return std::make_unique<ServerSql>(descriptorUri(path));
}
