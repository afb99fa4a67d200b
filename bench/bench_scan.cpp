// The rebuild and the poll over generated databases on each engine, against the same work as
// plain SQL on that engine.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>
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
#include "scan/selezionaappuntamenti.h"
#include "util/dateserial.h"

namespace {

constexpr int kAppuntamenti = 1000000;
constexpr int kDovuti = 100000;
constexpr int kPromemoria = 100000;
constexpr int kScaduti = 1000;

const QDateTime kAdesso(QDate(2026, 12, 6), QTime(10, 0));

// Its timers are the system's: nothing here arms one.
class FixedClock : public SystemClock {
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
using Raw = bench::SqlitePlain;

// A line of /proc/self/status ("VmRSS:", "VmHWM:") in megabytes.
double residentMegabytes(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ')[0].toDouble() / 1024;
    return 0;
}

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

// The two databases of one engine, and the same work as plain SQL on that engine: row by row
// (the plain loop) and as one statement (the least the engine needs).
class Workspace {
public:
    virtual ~Workspace() = default;
    QString visite;
    QString work;
    // Promemoria anew: kPromemoria reminders, kScaduti of them due.
    virtual void fillReminders() = 0;
    virtual void loopRebuild() = 0;
    virtual void limitRebuild() = 0;
    virtual void loopPoll() = 0;
    virtual void limitPoll() = 0;

    // The program's own connections, open from one run to the next as in the program.
    db::Database& programVisite() {
        if (!programVisite_) programVisite_ = db::open(visite);
        return *programVisite_;
    }
    db::Database& programWork() {
        if (!programWork_) programWork_ = db::open(work);
        return *programWork_;
    }

private:
    std::unique_ptr<db::Database> programVisite_;
    std::unique_ptr<db::Database> programWork_;
};

const std::string kOggi = std::to_string(dateserial::dayNumber(kAdesso.date()));
const std::string kSelezione = " WHERE ((ApData >= " + kOggi +
                               ") AND (ApAllarm > 0) AND (ApDelete < 'S') AND (ApStato = 'A'))";
const std::string kScadutiOra = " WHERE PmCliente >= 0 AND PmAllarm <= " +
                                benchserver::sqlNumber(dateserial::fromDateTime(kAdesso)) +
                                " AND PmWait <> 'S'";
const std::string kSelezionati =
    "SELECT ApCliente, ApData, ApAzione, ApAllarm, ApDocumento FROM Appuntamenti" + kSelezione;
const std::string kNuovo =
    "INSERT INTO Promemoria (PmCliente, PmData, PmAzione, PmAllarm, PmWait, PmDocumento) "
    "VALUES ($1, $2, $3, $4, ' ', $5)";

// What the loops compute for each appointment: the action's first six characters trimmed, and
// the alarm moment with the lead kept to four decimals of a day.
std::string azione(const char* text) {
    std::string cut = std::string(text ? text : "").substr(0, 6);
    cut.erase(0, cut.find_first_not_of(' '));
    cut.erase(cut.find_last_not_of(' ') + 1);
    return cut;
}

double allarme(double data, double minuti) {
    return data - std::round(minuti / 1440.0 * 10000) / 10000;
}

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

    // Each selected appointment read by one statement and written by another.
    void loopRebuild() override {
        Raw v(visite);
        Raw w(work);
        w.exec("BEGIN IMMEDIATE");
        w.exec("DELETE FROM Promemoria");
        Statement select(v, kSelezionati);
        Statement insert(w, kNuovo);
        while (sqlite3_step(select.get()) == SQLITE_ROW) {
            const double data = sqlite3_column_double(select.get(), 1);
            const std::string codice =
                azione(reinterpret_cast<const char*>(sqlite3_column_text(select.get(), 2)));
            const auto* documento = sqlite3_column_text(select.get(), 4);
            sqlite3_bind_int64(insert.get(), 1, sqlite3_column_int64(select.get(), 0));
            sqlite3_bind_double(insert.get(), 2, data);
            sqlite3_bind_text(insert.get(), 3, codice.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_double(insert.get(), 4,
                                allarme(data, sqlite3_column_double(select.get(), 3)));
            sqlite3_bind_text(insert.get(), 5,
                              documento ? reinterpret_cast<const char*>(documento) : " ", -1,
                              SQLITE_TRANSIENT);
            insert.step();
        }
        w.exec("COMMIT");
    }

    void limitRebuild() override {
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

    // The due reminders read in key order, each marked by a statement of its own.
    void loopPoll() override {
        Raw w(work);
        w.exec("SELECT Count(PmWait) FROM Promemoria WHERE PmWait = 'S'");
        w.exec("BEGIN IMMEDIATE");
        Statement due(w, std::string("SELECT rowid FROM Promemoria") + kScadutiOra +
                             " ORDER BY PmCliente, PmData, PmAzione");
        Statement mark(w, "UPDATE Promemoria SET PmWait = 'S' WHERE rowid = ?");
        while (sqlite3_step(due.get()) == SQLITE_ROW) {
            sqlite3_bind_int64(mark.get(), 1, sqlite3_column_int64(due.get(), 0));
            mark.step();
        }
        w.exec("COMMIT");
    }

    void limitPoll() override {
        Raw raw(work);
        raw.exec("SELECT Count(PmWait) FROM Promemoria WHERE PmWait = 'S'");
        raw.exec("UPDATE Promemoria SET PmWait = 'S'" + kScadutiOra);
    }

private:
    // A prepared statement of a raw handle.
    class Statement {
    public:
        Statement(Raw& raw, const std::string& sql) : raw_(raw) {
            if (sqlite3_prepare_v2(raw.handle(), sql.c_str(), -1, &statement_, nullptr) !=
                SQLITE_OK)
                throw std::runtime_error(sqlite3_errmsg(raw.handle()));
        }
        ~Statement() { sqlite3_finalize(statement_); }
        sqlite3_stmt* get() { return statement_; }
        void step() {
            if (sqlite3_step(statement_) != SQLITE_DONE)
                throw std::runtime_error(sqlite3_errmsg(raw_.handle()));
            sqlite3_reset(statement_);
        }

    private:
        Raw& raw_;
        sqlite3_stmt* statement_ = nullptr;
    };

    QTemporaryDir dir_;
    std::unique_ptr<Raw> raw_;
};

class ServerWorkspace : public Workspace {
public:
    ServerWorkspace() {
        visite = benchserver::createSchema(dir_, "bench_visite", "visite.sql");
        work = benchserver::createSchema(dir_, "bench_work", "work.sql");
        setup_.exec(
            "INSERT INTO bench_visite.Appuntamenti (ApCliente, ApData, ApAzione, ApAllarm, "
            "ApDelete, ApStato, ApNote, ApCausa) SELECT i, CASE WHEN i % " +
            std::to_string(kAppuntamenti / kDovuti) + " = 0 THEN " + kOggi + " + 1 ELSE " + kOggi +
            " - 30 END + (i % 96) / 96.0, 'VIS', 30, 'N', 'A', 'nota', 'Visita di controllo' "
            "FROM generate_series(0, " +
            std::to_string(kAppuntamenti - 1) + ") AS i");
        setup_.exec("ANALYZE bench_visite.Appuntamenti");
        plain_.exec("SET search_path = bench_work, bench_visite");
    }

    void fillReminders() override {
        const std::string adesso = benchserver::sqlNumber(dateserial::fromDateTime(kAdesso));
        setup_.exec("DELETE FROM bench_work.Promemoria");
        setup_.exec(
            "INSERT INTO bench_work.Promemoria (PmCliente, PmData, PmAzione, PmAllarm, PmWait, "
            "PmDocumento) SELECT i, " +
            adesso + " + 1, 'VIS', CASE WHEN i % " + std::to_string(kPromemoria / kScaduti) +
            " = 0 THEN " + adesso + " - 0.01 ELSE " + adesso +
            " + 0.5 END, ' ', ' ' FROM generate_series(0, " + std::to_string(kPromemoria - 1) +
            ") AS i");
        setup_.exec("VACUUM ANALYZE bench_work.Promemoria");
    }

    // The selected appointments read by one query, each written by a prepared statement.
    void loopRebuild() override {
        plain_.exec("BEGIN");
        plain_.exec("DELETE FROM Promemoria");
        const Result selected = owned(PQexec(plain_.handle(), kSelezionati.c_str()));
        prepare("nuovo", kNuovo);
        for (int row = 0; row < PQntuples(selected.get()); ++row) {
            const double data = benchserver::sqlValue(PQgetvalue(selected.get(), row, 1));
            const std::string codice = azione(PQgetvalue(selected.get(), row, 2));
            const std::string alarm = benchserver::sqlNumber(
                allarme(data, benchserver::sqlValue(PQgetvalue(selected.get(), row, 3))));
            const char* documento =
                PQgetisnull(selected.get(), row, 4) ? " " : PQgetvalue(selected.get(), row, 4);
            const char* values[] = {PQgetvalue(selected.get(), row, 0),
                                    PQgetvalue(selected.get(), row, 1), codice.c_str(),
                                    alarm.c_str(), documento};
            run(PQexecPrepared(plain_.handle(), "nuovo", 5, values, nullptr, nullptr, 0));
        }
        plain_.exec("COMMIT");
    }

    void limitRebuild() override {
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

    // The due reminders read in key order, each marked by a prepared statement.
    void loopPoll() override {
        plain_.exec("SELECT Count(PmWait) FROM Promemoria WHERE PmWait = 'S'");
        plain_.exec("BEGIN");
        const Result due =
            owned(PQexec(plain_.handle(), (std::string("SELECT rowid FROM Promemoria") +
                                           kScadutiOra + " ORDER BY PmCliente, PmData, PmAzione")
                                              .c_str()));
        prepare("segna", "UPDATE Promemoria SET PmWait = 'S' WHERE rowid = $1");
        for (int row = 0; row < PQntuples(due.get()); ++row) {
            const char* values[] = {PQgetvalue(due.get(), row, 0)};
            run(PQexecPrepared(plain_.handle(), "segna", 1, values, nullptr, nullptr, 0));
        }
        plain_.exec("COMMIT");
    }

    void limitPoll() override {
        plain_.exec("SELECT Count(PmWait) FROM bench_work.Promemoria WHERE PmWait = 'S'");
        plain_.exec("UPDATE bench_work.Promemoria SET PmWait = 'S'" + kScadutiOra);
    }

private:
    using Result = std::unique_ptr<PGresult, decltype(&PQclear)>;

    static Result owned(PGresult* result) { return Result(result, &PQclear); }
    static void run(PGresult* result) {
        const Result ended = owned(result);
        if (PQresultStatus(result) != PGRES_COMMAND_OK)
            throw std::runtime_error(PQresultErrorMessage(result));
    }
    // Prepares a statement once per connection.
    void prepare(const char* name, const std::string& sql) {
        if (prepared_.count(name)) return;
        run(PQprepare(plain_.handle(), name, sql.c_str(), 0, nullptr));
        prepared_.insert(name);
    }

    QTemporaryDir dir_;
    // The fills have a connection of their own: the plain SQL, like the program, then meets
    // the table as another session left it.
    benchserver::Plain setup_;
    benchserver::Plain plain_;
    std::set<std::string> prepared_;
};

using benchserver::Engine;
using benchserver::engineName;
using benchserver::engines;

Workspace& workspace(Engine engine) {
    if (engine == Engine::Sqlite) {
        static SqliteWorkspace sqlite;
        return sqlite;
    }
    static ServerWorkspace server;
    return server;
}

void RebuildScadex(benchmark::State& state, Engine engine) {
    FixedClock clock;
    NoYield yielder;
    Workspace& ws = workspace(engine);
    for (auto _ : state) {
        const EsitoSelezione esito = SelezionaAppuntamenti(ws.programVisite(), ws.programWork(),
                                                           clock, yielder, db::kDefaultBusyTimeout)
                                         .esegui();
        if (esito.conteggio() != kDovuti) state.SkipWithError("wrong count");
    }
}

void RebuildPlainLoop(benchmark::State& state, Engine engine) {
    for (auto _ : state) workspace(engine).loopRebuild();
}

void RebuildOneStatement(benchmark::State& state, Engine engine) {
    for (auto _ : state) workspace(engine).limitRebuild();
}

void PollScadex(benchmark::State& state, Engine engine) {
    FixedClock clock;
    NoYield yielder;
    CountingLauncher launcher;
    Workspace& ws = workspace(engine);
    for (auto _ : state) {
        state.PauseTiming();
        ws.fillReminders();
        launcher.started = 0;
        state.ResumeTiming();
        ControlloPromemoria(ws.programWork(), "/tmp/Gestar.ini", clock, yielder, launcher).esegui();
        if (launcher.started != kScaduti) state.SkipWithError("wrong hand-overs");
    }
}

// Runs `poll` on reminders filled anew before each run.
void timedPoll(benchmark::State& state, Engine engine, void (Workspace::*poll)()) {
    for (auto _ : state) {
        state.PauseTiming();
        workspace(engine).fillReminders();
        state.ResumeTiming();
        (workspace(engine).*poll)();
    }
}

void PollPlainLoop(benchmark::State& state, Engine engine) {
    timedPoll(state, engine, &Workspace::loopPoll);
}

void PollOneStatement(benchmark::State& state, Engine engine) {
    timedPoll(state, engine, &Workspace::limitPoll);
}

// Registers each benchmark on each engine there is to measure; returns the comparisons.
std::vector<benchdb::Comparison> registerAll() {
    using Run = void (*)(benchmark::State&, Engine);
    std::vector<benchdb::Comparison> comparisons;
    for (const Engine engine : engines()) {
        const std::string prefix = std::string(engineName(engine)) + "/";
        for (const char* work : {"Rebuild", "Poll"}) {
            const bool rebuild = std::string(work) == "Rebuild";
            const std::pair<const char*, Run> runs[] = {
                {"Scadex", rebuild ? &RebuildScadex : &PollScadex},
                {"PlainLoop", rebuild ? &RebuildPlainLoop : &PollPlainLoop},
                {"OneStatement", rebuild ? &RebuildOneStatement : &PollOneStatement}};
            for (const auto& [kind, run] : runs)
                benchmark::RegisterBenchmark((prefix + work + kind).c_str(), run, engine)
                    ->Unit(benchmark::kMillisecond)
                    ->Iterations(1)
                    ->Repetitions(5);
            const std::string name = prefix + work;
            comparisons.push_back({name + "Scadex", name + "OneStatement"});
            comparisons.push_back({name + "Scadex", name + "PlainLoop"});
            comparisons.push_back({name + "PlainLoop", name + "OneStatement"});
        }
    }
    return comparisons;
}

// The process's peak resident memory over one rebuild of kDovuti reminders: the peak is set
// back to what is resident just before (freed memory given back first), then read after.
void printRebuildPeak(Engine engine) {
    FixedClock clock;
    NoYield yielder;
    Workspace& ws = workspace(engine);
    db::Database& visite = ws.programVisite();
    db::Database& work = ws.programWork();
    malloc_trim(0);
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (!clear.open(QIODevice::WriteOnly) || clear.write("5") != 1) return;
    clear.close();
    const double before = residentMegabytes("VmRSS:");
    SelezionaAppuntamenti(visite, work, clock, yielder, db::kDefaultBusyTimeout).esegui();
    std::printf(
        "%s: peak resident memory of one rebuild of %d reminders: %.1f MB (%.1f MB "
        "before it; target < 60)\n",
        engineName(engine), kDovuti, residentMegabytes("VmHWM:"), before);
}

// Each engine's peak in a process of its own, forked before anything else was made: neither
// finds what the other left resident.
void printRebuildPeaks() {
    for (const Engine engine : engines()) {
        std::fflush(stdout);
        const pid_t child = fork();
        if (child == 0) {
            printRebuildPeak(engine);
            std::exit(0);
        }
        if (child > 0) waitpid(child, nullptr, 0);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<benchdb::Comparison> comparisons = registerAll();
    printRebuildPeaks();
    return benchdb::runAndCompare(argc, argv, comparisons);
}
