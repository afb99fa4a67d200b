// What the benchmarks share: SQLite files and plain SQL on them; the server named by
// SCADEX_BENCH_PGHOST, plain SQL on it and schemas made from the schema scripts; percentiles.
#pragma once

#include <libpq-fe.h>
#include <sqlite3.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "dbcreate/databasefile.h"
#include "dbcreate/serverschema.h"

namespace bench {

// The value below which `percento` per cent of `values` lie (of 100 values the 99th is the
// largest).
inline double percentile(std::vector<double> values, int percento) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, values.size() * percento / 100)];
}

// A new SQLite database `name` in `dir`, made from schema/<script>; returns its path.
inline QString sqliteDatabase(const QTemporaryDir& dir, const QString& name, const char* script) {
    QFile file(QStringLiteral(SCADEX_SCHEMA_DIR "/") + QString::fromLatin1(script));
    if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("schema missing");
    const QString path = dir.filePath(name);
    db::createDatabaseFile(path, QString::fromUtf8(file.readAll()));
    return path;
}

// Plain SQL on a SQLite file, outside the adapter; it waits for another writer's lock as the
// program does.
class SqlitePlain {
public:
    explicit SqlitePlain(const QString& path) {
        if (sqlite3_open(path.toUtf8().constData(), &db_) != SQLITE_OK) {
            const std::string message = sqlite3_errmsg(db_);
            sqlite3_close(db_);
            throw std::runtime_error(message);
        }
        sqlite3_busy_timeout(db_, 5000);
    }
    ~SqlitePlain() { sqlite3_close(db_); }
    SqlitePlain(const SqlitePlain&) = delete;
    SqlitePlain& operator=(const SqlitePlain&) = delete;

    void exec(const std::string& sql) {
        char* error = nullptr;
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            const std::string message = error ? error : "sqlite error";
            sqlite3_free(error);
            throw std::runtime_error(message + " in " + sql);
        }
    }
    sqlite3* handle() { return db_; }

private:
    sqlite3* db_ = nullptr;
};

}  // namespace bench

namespace benchserver {

// Whether a server is there to measure on (its Unix socket folder in SCADEX_BENCH_PGHOST).
inline bool available() {
    return !qEnvironmentVariableIsEmpty("SCADEX_BENCH_PGHOST");
}

// A number as SQL text and back, in the C conventions whatever the process's locale says.
inline std::string sqlNumber(double value) {
    return QByteArray::number(value, 'g', 17).toStdString();
}
inline double sqlValue(const char* text) {
    return QByteArray(text).toDouble();
}

inline QByteArray serverUri() {
    return "postgresql:///postgres?host=" + qgetenv("SCADEX_BENCH_PGHOST") + "&user=postgres";
}

inline QString script(const char* name) {
    QFile file(QStringLiteral(SCADEX_SCHEMA_DIR "/postgresql/") + QString::fromLatin1(name));
    if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("schema missing");
    return QString::fromUtf8(file.readAll());
}

// A new schema from schema/postgresql/<script> (replacing one of that name) and its
// descriptor file in `dir`; returns the descriptor's path.
inline QString createSchema(const QTemporaryDir& dir, const QString& schema, const char* name) {
    const QByteArray uri = db::createServerSchema(serverUri(), schema, script(name), true);
    const QString path = dir.filePath(schema + QStringLiteral(".mdb"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) throw std::runtime_error("cannot write a descriptor");
    file.write(uri + '\n');
    return path;
}

// Plain SQL on the server, outside the adapter.
class Plain {
public:
    Plain() : connection_(PQconnectdb(serverUri().constData())) {
        if (PQstatus(connection_) != CONNECTION_OK)
            throw std::runtime_error(PQerrorMessage(connection_));
    }
    ~Plain() { PQfinish(connection_); }
    Plain(const Plain&) = delete;
    Plain& operator=(const Plain&) = delete;

    void exec(const std::string& sql) {
        PGresult* result = PQexec(connection_, sql.c_str());
        const ExecStatusType status = PQresultStatus(result);
        const std::string message = PQresultErrorMessage(result);
        PQclear(result);
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
            throw std::runtime_error(message + " in " + sql);
    }
    PGconn* handle() { return connection_; }

private:
    PGconn* connection_;
};

enum class Engine { Sqlite, Postgres };

inline const char* engineName(Engine engine) {
    return engine == Engine::Sqlite ? "Sqlite" : "Postgres";
}

// The engines measured here: SQLite always, a server when one is named.
inline std::vector<Engine> engines() {
    std::vector<Engine> measured{Engine::Sqlite};
    if (available()) measured.push_back(Engine::Postgres);
    return measured;
}

}  // namespace benchserver
