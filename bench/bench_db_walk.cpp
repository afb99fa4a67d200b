// The poll's walk over a 100 000-row Promemoria on each engine: through the adapter and as a
// plain loop over one query.
#include <memory>

#include "bench_db_fixture.h"
#include "bench_server.h"
#include "db/database.h"
#include "db/schema.h"

namespace {

constexpr int kRows = 100000;

benchdb::WorkFile& workFile() {
    static benchdb::WorkFile file(kRows);
    return file;
}

// What the poll does: open the table, seek the first client from 0 on, read the alarm moment
// and the waiting flag of every reminder in key order.
// The same reminders in a schema of the server; returns its descriptor's path.
const QString& serverWork() {
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString descriptor = benchserver::createSchema(dir, "bench_walk", "work.sql");
        benchserver::Plain plain;
        plain.exec(
            "INSERT INTO bench_walk.Promemoria (PmCliente, PmData, PmAzione, PmAllarm, PmWait, "
            "PmDocumento) SELECT i / 100, 46362.0 + (i % 100) * 0.25 + (i % 7) / 1440.0, "
            "(ARRAY['VIS', 'TEL', 'CONS'])[i % 3 + 1], 46362.0 + (i % 100) * 0.25 + (i % 7) / "
            "1440.0 + 1000, ' ', ' ' FROM generate_series(0, " +
            std::to_string(kRows - 1) + ") AS i");
        plain.exec("VACUUM ANALYZE bench_walk.Promemoria");
        return descriptor;
    }();
    return path;
}

void AdapterWalk(benchmark::State& state, const QString& path) {
    auto database = db::open(path);
    for (auto _ : state) {
        auto table = database->openTable(db::schema::kPromemoria);
        table->selectIndex(db::schema::kPrimaria);
        table->seek(db::SeekComparison::GreaterOrEqual, {0});
        int visited = 0;
        for (; !table->eof(); table->moveNext()) {
            benchmark::DoNotOptimize(table->field(db::schema::kPmAllarm));
            benchmark::DoNotOptimize(table->field(db::schema::kPmWait));
            ++visited;
        }
        table->close();
        if (visited != kRows) state.SkipWithError("the walk missed rows");
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

// The same rows in the same order, read by one sqlite3 statement.
void SqliteAdapterWalk(benchmark::State& state) {
    AdapterWalk(state, workFile().path());
}

void PostgresAdapterWalk(benchmark::State& state) {
    AdapterWalk(state, serverWork());
}

// The same rows in the same order, read by one query on the server.
void PostgresPlainLoopWalk(benchmark::State& state) {
    serverWork();
    benchserver::Plain plain;
    for (auto _ : state) {
        PGresult* walk = PQexec(plain.handle(),
                                "SELECT rowid, * FROM bench_walk.Promemoria WHERE PmCliente >= 0 "
                                "ORDER BY PmCliente, PmData, PmAzione, rowid");
        int visited = 0;
        for (int row = 0; row < PQntuples(walk); ++row) {
            benchmark::DoNotOptimize(PQgetvalue(walk, row, 4));
            benchmark::DoNotOptimize(PQgetvalue(walk, row, 5));
            ++visited;
        }
        PQclear(walk);
        if (visited != kRows) state.SkipWithError("the walk missed rows");
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

void SqlitePlainLoopWalk(benchmark::State& state) {
    sqlite3* handle = nullptr;
    benchdb::check(sqlite3_open(workFile().path().toUtf8().constData(), &handle), handle);
    for (auto _ : state) {
        sqlite3_stmt* walk = nullptr;
        benchdb::check(sqlite3_prepare_v2(handle,
                                          "SELECT rowid, * FROM Promemoria WHERE PmCliente >= 0 "
                                          "ORDER BY PmCliente, PmData, PmAzione, rowid",
                                          -1, &walk, nullptr),
                       handle);
        int visited = 0;
        while (sqlite3_step(walk) == SQLITE_ROW) {
            benchmark::DoNotOptimize(sqlite3_column_double(walk, 4));
            benchmark::DoNotOptimize(sqlite3_column_text(walk, 5));
            ++visited;
        }
        sqlite3_finalize(walk);
        if (visited != kRows) state.SkipWithError("the walk missed rows");
    }
    sqlite3_close(handle);
    state.SetItemsProcessed(state.iterations() * kRows);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<benchdb::Comparison> comparisons;
    std::vector<std::pair<const char*, void (*)(benchmark::State&)>> runs{
        {"SqliteAdapterWalk", SqliteAdapterWalk}, {"SqlitePlainLoopWalk", SqlitePlainLoopWalk}};
    comparisons.push_back({"SqliteAdapterWalk", "SqlitePlainLoopWalk"});
    if (benchserver::available()) {
        runs.push_back({"PostgresAdapterWalk", PostgresAdapterWalk});
        runs.push_back({"PostgresPlainLoopWalk", PostgresPlainLoopWalk});
        comparisons.push_back({"PostgresAdapterWalk", "PostgresPlainLoopWalk"});
    }
    for (const auto& [name, run] : runs)
        benchmark::RegisterBenchmark(name, run)
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(7)
            ->DisplayAggregatesOnly();
    return benchdb::runAndCompare(argc, argv, comparisons);
}
