// The poll's walk over a 100 000-row Promemoria: through the adapter and as a plain loop.
#include <memory>

#include "bench_db_fixture.h"
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
void AdapterWalk(benchmark::State& state) {
    auto database = db::Database::open(workFile().path());
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
void PlainLoopWalk(benchmark::State& state) {
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

BENCHMARK(AdapterWalk)->Unit(benchmark::kMillisecond)->Repetitions(7)->DisplayAggregatesOnly();
BENCHMARK(PlainLoopWalk)->Unit(benchmark::kMillisecond)->Repetitions(7)->DisplayAggregatesOnly();

}  // namespace

int main(int argc, char** argv) {
    return benchdb::runAndCompare(argc, argv, {{"AdapterWalk", "PlainLoopWalk"}});
}
