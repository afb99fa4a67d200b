// The database engines the suites run on, and test databases made on each.
#pragma once

#include <QString>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "support/directsql.h"
#include "support/tempdir.h"

enum class Engine { Sqlite, Postgres };

// The engines that can be tested here, for ::testing::ValuesIn: SQLite always, PostgreSQL
// when the test script has started a server and named its socket folder in
// SCADEX_TEST_PGHOST.
std::vector<Engine> testedEngines();
// "Sqlite" or "Postgres": test names.
std::string engineName(Engine engine);
// A name generator for suites parameterised by engine alone.
struct EngineNamer {
    template <typename Info>
    std::string operator()(const Info& info) const {
        return engineName(info.param);
    }
};
// The engine of a case: the parameter itself, or the first of an (engine, case) pair.
inline Engine engineOf(Engine engine) {
    return engine;
}
template <typename Case>
Engine engineOf(const std::tuple<Engine, Case>& param) {
    return std::get<0>(param);
}
// A name generator for suites of (engine, case) pairs whose cases carry a `name`:
// "<name>_Sqlite", "<name>_Postgres".
struct EngineCaseNamer {
    template <typename Info>
    std::string operator()(const Info& info) const {
        return std::string(std::get<1>(info.param).name) + "_" +
               engineName(std::get<0>(info.param));
    }
};
// Makes another connection give up at once on a lock (busy timeout, lock timeout).
void waitForNoLock(Engine engine, DirectSql& connection);
// The connection URI of the test server's database (no search_path).
QByteArray serverDatabaseUri();

// Makes a new database from a schema script (visite.sql or work.sql): an SQLite file at
// folder/name, or a new schema on the test server with its descriptor at folder/name.
// Returns the path the program opens.
QString createTestDatabase(Engine engine, const TestFolder& folder, const QString& name,
                           const QString& script);
// Direct SQL on a test database made by createTestDatabase.
std::unique_ptr<DirectSql> directSql(Engine engine, const QString& path);
