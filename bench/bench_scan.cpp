// The rebuild and the poll over generated databases on each engine, against the same work as
// plain SQL on that engine.
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
#include "bench_server.h"
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

// The two databases of one engine, and the same work as plain SQL on that engine.
class Workspace {
public:
    virtual ~Workspace() = default;
    QString visite;
    QString work;
    // Promemoria anew: kPromemoria reminders, kScaduti of them due.
    virtual void fillReminders() = 0;
    virtual void plainRebuild() = 0;
    virtual void plainPoll() = 0;
};

const std::string kOggi = std::to_string(dateserial::dayNumber(kAdesso.date()));
const std::string kSelezione = " WHERE ((ApData >= " + kOggi +
                               ") AND (ApAllarm > 0) AND (ApDelete < 'S') AND (ApStato = 'A'))";

class SqliteWorkspace : public Workspace {
public:
    SqliteWorkspace() {
        visite = dir_.filePath("VisiteDV.mdb");
        work = dir_.filePath("WorkDV.mdb");
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

    void fillReminders() override {
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

    void plainRebuild() override {
        if (!raw_) {
            raw_ = std::make_unique<Raw>(work);
            raw_->exec("ATTACH DATABASE '" + visite.toStdString() + "' AS v");
        }
        raw_->exec("BEGIN");
        raw_->exec("DELETE FROM Promemoria");
        raw_->exec(
            "INSERT INTO Promemoria SELECT ApCliente, ApData, trim(substr(ApAzione, 1, 6)), "
            "ApData - round(ApAllarm / 1440.0, 4), ' ', coalesce(ApDocumento, ' ') "
            "FROM v.Appuntamenti" +
            kSelezione);
        raw_->exec("COMMIT");
    }

    void plainPoll() override {
        Raw raw(work);
        raw.exec("SELECT Count(PmWait) FROM Promemoria WHERE PmWait = 'S'");
        raw.exec("UPDATE Promemoria SET PmWait = 'S' WHERE PmCliente >= 0 AND PmAllarm <= " +
                 std::to_string(dateserial::fromDateTime(kAdesso)) + " AND PmWait <> 'S'");
    }

private:
    QTemporaryDir dir_;
    std::unique_ptr<Raw> raw_;
};

class ServerWorkspace : public Workspace {
public:
    ServerWorkspace() {
        visite = benchserver::createSchema(dir_, "bench_visite", "visite.sql");
        work = benchserver::createSchema(dir_, "bench_work", "work.sql");
        plain_.exec(
            "INSERT INTO bench_visite.Appuntamenti (ApCliente, ApData, ApAzione, ApAllarm, "
            "ApDelete, ApStato, ApNote, ApCausa) SELECT i, CASE WHEN i % " +
            std::to_string(kAppuntamenti / kDovuti) + " = 0 THEN " + kOggi + " + 1 ELSE " + kOggi +
            " - 30 END + (i % 96) / 96.0, 'VIS', 30, 'N', 'A', 'nota', 'Visita di controllo' "
            "FROM generate_series(0, " +
            std::to_string(kAppuntamenti - 1) + ") AS i");
        plain_.exec("ANALYZE bench_visite.Appuntamenti");
    }

    void fillReminders() override {
        const std::string adesso = std::to_string(dateserial::fromDateTime(kAdesso));
        plain_.exec("DELETE FROM bench_work.Promemoria");
        plain_.exec(
            "INSERT INTO bench_work.Promemoria (PmCliente, PmData, PmAzione, PmAllarm, PmWait, "
            "PmDocumento) SELECT i, " +
            adesso + " + 1, 'VIS', CASE WHEN i % " + std::to_string(kPromemoria / kScaduti) +
            " = 0 THEN " + adesso + " - 0.01 ELSE " + adesso +
            " + 0.5 END, ' ', ' ' FROM generate_series(0, " + std::to_string(kPromemoria - 1) +
            ") AS i");
        plain_.exec("VACUUM ANALYZE bench_work.Promemoria");
    }

    void plainRebuild() override {
        plain_.exec("BEGIN");
        plain_.exec("DELETE FROM bench_work.Promemoria");
        plain_.exec(
            "INSERT INTO bench_work.Promemoria (PmCliente, PmData, PmAzione, PmAllarm, PmWait, "
            "PmDocumento) SELECT ApCliente, ApData, trim(substr(ApAzione, 1, 6)), "
            "ApData - round((ApAllarm / 1440.0)::numeric, 4), ' ', coalesce(ApDocumento, ' ') "
            "FROM bench_visite.Appuntamenti" +
            kSelezione);
        plain_.exec("COMMIT");
    }

    void plainPoll() override {
        plain_.exec("SELECT Count(PmWait) FROM bench_work.Promemoria WHERE PmWait = 'S'");
        plain_.exec(
            "UPDATE bench_work.Promemoria SET PmWait = 'S' WHERE PmCliente >= 0 AND PmAllarm <= " +
            std::to_string(dateserial::fromDateTime(kAdesso)) + " AND PmWait <> 'S'");
    }

private:
    QTemporaryDir dir_;
    benchserver::Plain plain_;
};

enum class Engine { Sqlite, Postgres };

Workspace& workspace(Engine engine) {
    if (engine == Engine::Sqlite) {
        static SqliteWorkspace sqlite;
        return sqlite;
    }
    static ServerWorkspace server;
    return server;
}

void RebuildAdapter(benchmark::State& state, Engine engine) {
    FixedClock clock;
    NoYield yielder;
    auto visite = db::open(workspace(engine).visite);
    auto work = db::open(workspace(engine).work);
    for (auto _ : state) {
        const EsitoSelezione esito =
            SelezioneAppuntamenti(*visite, *work, clock, yielder, db::kBriefLockWait).esegui();
        if (esito.conteggio != kDovuti) state.SkipWithError("wrong count");
    }
}

void RebuildPlainSql(benchmark::State& state, Engine engine) {
    for (auto _ : state) workspace(engine).plainRebuild();
}

void PollAdapter(benchmark::State& state, Engine engine) {
    FixedClock clock;
    NoYield yielder;
    CountingLauncher launcher;
    auto work = db::open(workspace(engine).work);
    for (auto _ : state) {
        state.PauseTiming();
        workspace(engine).fillReminders();
        launcher.started = 0;
        state.ResumeTiming();
        ControlloPromemoria(*work, "/tmp/Gestar.ini", clock, yielder, launcher).esegui();
        if (launcher.started != kScaduti) state.SkipWithError("wrong hand-overs");
    }
}

void PollPlainSql(benchmark::State& state, Engine engine) {
    for (auto _ : state) {
        state.PauseTiming();
        workspace(engine).fillReminders();
        state.ResumeTiming();
        workspace(engine).plainPoll();
    }
}

std::string engineName(Engine engine) {
    return engine == Engine::Sqlite ? "Sqlite" : "Postgres";
}

// Registers each benchmark on each engine there is to measure; returns the comparisons.
std::vector<benchdb::Comparison> registerAll() {
    std::vector<Engine> engines{Engine::Sqlite};
    if (benchserver::available()) engines.push_back(Engine::Postgres);
    std::vector<benchdb::Comparison> comparisons;
    for (const Engine engine : engines) {
        const std::string prefix = engineName(engine) + "/";
        for (const auto& [name, run] : {std::pair{"RebuildAdapter", &RebuildAdapter},
                                        {"RebuildPlainSql", &RebuildPlainSql},
                                        {"PollAdapter", &PollAdapter},
                                        {"PollPlainSql", &PollPlainSql}}) {
            benchmark::RegisterBenchmark((prefix + name).c_str(), run, engine)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(1)
                ->Repetitions(5);
        }
        comparisons.push_back({prefix + "RebuildAdapter", prefix + "RebuildPlainSql"});
        comparisons.push_back({prefix + "PollAdapter", prefix + "PollPlainSql"});
    }
    return comparisons;
}

}  // namespace

int main(int argc, char** argv) {
    benchdb::runAndCompare(argc, argv, registerAll());
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak resident memory of the whole run: %.1f MB (target for the rebuild: < 150)\n",
                usage.ru_maxrss / 1024.0);
    return 0;
}
