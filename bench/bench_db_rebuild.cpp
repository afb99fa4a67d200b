// The rebuild's writes of 100 000 reminders: through the adapter and as a plain loop.
#include "bench_db_fixture.h"
#include "db/database.h"
#include "db/schema.h"
#include "db/transaction.h"

namespace {

constexpr int kRows = 100000;
constexpr double kHalfSecond = 0.5 / 86400.0;

benchdb::WorkFile& workFile() {
    static benchdb::WorkFile file(0);
    return file;
}

const std::vector<benchdb::Key>& allKeys() {
    static const std::vector<benchdb::Key> keys = benchdb::keys(kRows);
    return keys;
}

// What the rebuild does: in one transaction, empty the table, then for every appointment
// seek its key and add the reminder (or edit the one found).
void AdapterRebuild(benchmark::State& state) {
    namespace schema = db::schema;
    auto database = db::Database::open(workFile().path());
    for (auto _ : state) {
        db::Transaction transaction(*database);
        database->execute(schema::kSvuotaPromemoria);
        auto table = database->openTable(schema::kPromemoria);
        table->selectIndex(schema::kPrimaria);
        for (const benchdb::Key& key : allKeys()) {
            const QString azione = QString::fromStdString(key.azione);
            table->seek(db::SeekComparison::Equal, {key.cliente, key.data, azione});
            if (table->noMatch()) {
                table->addNew();
                table->setField(schema::kPmCliente, key.cliente);
                table->setField(schema::kPmData, key.data);
                table->setField(schema::kPmAzione, azione);
            } else {
                table->edit();
            }
            table->setField(schema::kPmAllarm, key.data - 0.0208);
            table->setField(schema::kPmWait, QStringLiteral(" "));
            table->setField(schema::kPmDocumento, QStringLiteral(" "));
            table->update();
        }
        table->close();
        transaction.commit();
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

void step(sqlite3_stmt* statement, sqlite3* handle) {
    benchdb::check(sqlite3_step(statement), handle);
    sqlite3_reset(statement);
}

// The same writes with two prepared sqlite3 statements.
void PlainLoopRebuild(benchmark::State& state) {
    sqlite3* handle = nullptr;
    benchdb::check(sqlite3_open(workFile().path().toUtf8().constData(), &handle), handle);
    sqlite3_stmt* find = nullptr;
    sqlite3_stmt* insert = nullptr;
    benchdb::check(sqlite3_prepare_v2(handle,
                                      "SELECT rowid FROM Promemoria WHERE PmCliente = ? AND "
                                      "PmData > ? AND PmData < ? AND PmAzione = ? LIMIT 1",
                                      -1, &find, nullptr),
                   handle);
    benchdb::check(
        sqlite3_prepare_v2(handle,
                           "INSERT INTO Promemoria (PmCliente, PmData, PmAzione, "
                           "PmAllarm, PmWait, PmDocumento) VALUES (?, ?, ?, ?, ' ', ' ')",
                           -1, &insert, nullptr),
        handle);
    for (auto _ : state) {
        benchdb::check(
            sqlite3_exec(handle, "BEGIN; DELETE FROM Promemoria", nullptr, nullptr, nullptr),
            handle);
        for (const benchdb::Key& key : allKeys()) {
            sqlite3_bind_int(find, 1, key.cliente);
            sqlite3_bind_double(find, 2, key.data - kHalfSecond);
            sqlite3_bind_double(find, 3, key.data + kHalfSecond);
            sqlite3_bind_text(find, 4, key.azione.c_str(), -1, SQLITE_STATIC);
            step(find, handle);
            sqlite3_bind_int(insert, 1, key.cliente);
            sqlite3_bind_double(insert, 2, key.data);
            sqlite3_bind_text(insert, 3, key.azione.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_double(insert, 4, key.data - 0.0208);
            step(insert, handle);
        }
        benchdb::check(sqlite3_exec(handle, "COMMIT", nullptr, nullptr, nullptr), handle);
    }
    sqlite3_finalize(find);
    sqlite3_finalize(insert);
    sqlite3_close(handle);
    state.SetItemsProcessed(state.iterations() * kRows);
}

BENCHMARK(AdapterRebuild)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->DisplayAggregatesOnly();
BENCHMARK(PlainLoopRebuild)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->DisplayAggregatesOnly();

}  // namespace

int main(int argc, char** argv) {
    return benchdb::runAndCompare(argc, argv, {{"AdapterRebuild", "PlainLoopRebuild"}});
}
