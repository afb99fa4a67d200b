// The rebuild and the poll over generated databases, against the same work as plain SQL.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "bench_db_fixture.h"
#include "db/database.h"
#include "db/lockwait.h"
#include "platform/clock.h"
#include "platform/eventyielder.h"
#include "platform/processlauncher.h"
#include "scan/controllopromemoria.h"
#include "scan/selezioneappuntamenti.h"
#include "util/dateserial.h"

namespace {

constexpr int kAppuntamenti = 1000000;
constexpr int kDovuti = 100000;
constexpr int kPromemoria = 100000;
constexpr int kScaduti = 1000;

const QDateTime kAdesso(QDate(2026, 12, 6), QTime(10, 0));

class FixedClock : public Clock {
public:
    QDateTime now() const override { return kAdesso; }
};

class NoYield : public EventYielder {
public:
    void yieldToEvents() override {}
};

class CountingLauncher : public ProcessLauncher {
public:
    int started = 0;
    bool startDetached(const QString&, const QStringList&) override {
        ++started;
        return true;
    }
};

// A raw SQLite handle for set-up and for the plain-SQL side of each comparison.
class Raw {
public:
    explicit Raw(const QString& path) {
        if (sqlite3_open(path.toUtf8().constData(), &db_) != SQLITE_OK) {
            throw std::runtime_error(sqlite3_errmsg(db_));
        }
    }
    ~Raw() { sqlite3_close(db_); }
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

std::string schema(const char* name) {
    QFile file(QStringLiteral(SCADEX_SCHEMA_DIR "/") + QString::fromLatin1(name));
    if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("schema missing");
    return file.readAll().toStdString();
}

// Inserts `count` rows through one prepared statement, binding each row with `bind`.
template <typename Bind>
void fill(Raw& raw, const char* sql, int count, Bind bind) {
    raw.exec("BEGIN");
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(raw.handle(), sql, -1, &statement, nullptr);
    for (int i = 0; i < count; ++i) {
        bind(statement, i);
        sqlite3_step(statement);
        sqlite3_reset(statement);
    }
    sqlite3_finalize(statement);
    raw.exec("COMMIT");
}

struct Workspace {
    QTemporaryDir dir;
    QString visite = dir.filePath("VisiteDV.mdb");
    QString work = dir.filePath("WorkDV.mdb");

    Workspace() {
        Raw v(visite);
        v.exec(schema("visite.sql"));
        const double oggi = dateserial::dayNumber(kAdesso.date());
        // One row in ten is due from today on; the others lie in the past.
        fill(v,
             "INSERT INTO Appuntamenti VALUES (?, ?, 'VIS', 30, 'N', 'A', 'nota', "
             "'Visita di controllo', NULL)",
             kAppuntamenti, [&](sqlite3_stmt* s, int i) {
                 const bool dovuto = i % (kAppuntamenti / kDovuti) == 0;
                 sqlite3_bind_int(s, 1, i);
                 sqlite3_bind_double(s, 2, (dovuto ? oggi + 1 : oggi - 30) + (i % 96) / 96.0);
             });
        Raw w(work);
        w.exec(schema("work.sql"));
    }

    void fillReminders() {
        Raw w(work);
        w.exec("DELETE FROM Promemoria");
        const double adesso = dateserial::fromDateTime(kAdesso);
        fill(w, "INSERT INTO Promemoria VALUES (?, ?, 'VIS', ?, ' ', ' ')", kPromemoria,
             [&](sqlite3_stmt* s, int i) {
                 const bool scaduto = i % (kPromemoria / kScaduti) == 0;
                 sqlite3_bind_int(s, 1, i);
                 sqlite3_bind_double(s, 2, adesso + 1);
                 sqlite3_bind_double(s, 3, scaduto ? adesso - 0.01 : adesso + 0.5);
             });
    }
};

Workspace& workspace() {
    static Workspace instance;
    return instance;
}

void BM_RebuildAdapter(benchmark::State& state) {
    FixedClock clock;
    NoYield yielder;
    auto visite = db::Database::open(workspace().visite);
    auto work = db::Database::open(workspace().work);
    for (auto _ : state) {
        const EsitoSelezione esito =
            SelezioneAppuntamenti(*visite, *work, clock, yielder, db::kBriefLockWait).esegui();
        if (esito.conteggio != kDovuti) state.SkipWithError("wrong count");
    }
}

void BM_RebuildPlainSql(benchmark::State& state) {
    Raw raw(workspace().work);
    raw.exec("ATTACH DATABASE '" + workspace().visite.toStdString() + "' AS v");
    const std::string oggi = std::to_string(dateserial::dayNumber(kAdesso.date()));
    for (auto _ : state) {
        raw.exec("BEGIN");
        raw.exec("DELETE FROM Promemoria");
        raw.exec(
            "INSERT INTO Promemoria SELECT ApCliente, ApData, trim(substr(ApAzione, 1, 6)), "
            "ApData - round(ApAllarm / 1440.0, 4), ' ', coalesce(ApDocumento, ' ') "
            "FROM v.Appuntamenti WHERE ((ApData >= " +
            oggi + ") AND (ApAllarm > 0) AND (ApDelete < 'S') AND (ApStato = 'A'))");
        raw.exec("COMMIT");
    }
}

void BM_PollAdapter(benchmark::State& state) {
    FixedClock clock;
    NoYield yielder;
    CountingLauncher launcher;
    auto work = db::Database::open(workspace().work);
    for (auto _ : state) {
        state.PauseTiming();
        workspace().fillReminders();
        launcher.started = 0;
        state.ResumeTiming();
        ControlloPromemoria(*work, "/tmp/Gestar.ini", clock, yielder, launcher).esegui();
        if (launcher.started != kScaduti) state.SkipWithError("wrong hand-overs");
    }
}

void BM_PollPlainSql(benchmark::State& state) {
    const std::string adesso = std::to_string(dateserial::fromDateTime(kAdesso));
    for (auto _ : state) {
        state.PauseTiming();
        workspace().fillReminders();
        Raw raw(workspace().work);
        state.ResumeTiming();
        raw.exec("SELECT Count(PmWait) FROM Promemoria WHERE PmWait = 'S'");
        raw.exec("UPDATE Promemoria SET PmWait = 'S' WHERE PmCliente >= 0 AND PmAllarm <= " +
                 adesso + " AND PmWait <> 'S'");
    }
}

BENCHMARK(BM_RebuildAdapter)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);
BENCHMARK(BM_RebuildPlainSql)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);
BENCHMARK(BM_PollAdapter)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);
BENCHMARK(BM_PollPlainSql)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);

}  // namespace

int main(int argc, char** argv) {
    benchdb::runAndCompare(
        argc, argv,
        {{"BM_RebuildAdapter", "BM_RebuildPlainSql"}, {"BM_PollAdapter", "BM_PollPlainSql"}});
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak resident memory of the whole run: %.1f MB (target for the rebuild: < 300)\n",
                usage.ru_maxrss / 1024.0);
    return 0;
}
