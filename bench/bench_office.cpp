// An office: operators' databases of 10 000 appointments each, every one polled once a second
// by its own workstation, all in the same millisecond or spread over the second; prints the
// 99th percentile of a poll's time and the server's CPU per poll.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "bench_server.h"
#include "db/database.h"
#include "db/dberror.h"
#include "db/schema.h"
#include "db/writewatch.h"
#include "platform/clock.h"
#include "platform/eventyielder.h"
#include "platform/processlauncher.h"
#include "scan/scansione.h"
#include "util/dateserial.h"

namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr int kAppuntamenti = 10000;
constexpr auto kDurata = std::chrono::seconds(20);
constexpr auto kIntervallo = std::chrono::seconds(1);
constexpr int kPollPerCiclo = 15;  // the fifteenth poll of each ends in a rebuild

using WallClock = SystemClock;

class NoYield : public EventYielder {
public:
    void yieldToEvents() override {}
};

class NoLaunch : public ProcessLauncher {
public:
    bool startDetached(const QString&, const QStringList&) override { return true; }
};

using benchserver::Engine;

// The appointments: alarms spread over eight hours from an hour ahead, each with a whole day's
// lead: nothing falls due while the office runs.
std::string appointments(const std::string& table) {
    const double adesso = dateserial::fromDateTime(QDateTime::currentDateTime());
    return "INSERT INTO " + table +
           " (ApCliente, ApData, ApAzione, ApAllarm, ApDelete, ApStato, ApNote, ApCausa) "
           "SELECT value, " +
           benchserver::sqlNumber(adesso + 1 + 1.0 / 24) + " + value * (8.0 / 24 / " +
           std::to_string(kAppuntamenti) +
           "), 'VIS', 1440, 'N', 'A', 'nota', 'Visita di controllo' FROM ";
}

struct Operatore {
    std::unique_ptr<db::Database> visite;
    std::unique_ptr<db::Database> work;
    WallClock clock;
    NoYield yielder;
    NoLaunch launcher;
    std::unique_ptr<Scansione> scansione;
    // As the program follows the writes of others to the book and to the reminders.
    std::unique_ptr<db::WriteWatch> libro;
    std::unique_ptr<db::WriteWatch> promemoria;
    std::vector<double> tempi;  // each poll's seconds
};

void fillSqlite(const QString& path) {
    sqlite3* handle = nullptr;
    sqlite3_open(path.toUtf8().constData(), &handle);
    // SQLite has no generate_series without its extension: a recursive count instead.
    const std::string counted =
        "WITH RECURSIVE s(value) AS (SELECT 0 UNION ALL SELECT value + 1 FROM s WHERE value < " +
        std::to_string(kAppuntamenti - 1) + ") " + appointments("Appuntamenti") + "s";
    sqlite3_exec(handle, counted.c_str(), nullptr, nullptr, nullptr);
    sqlite3_close(handle);
}

std::unique_ptr<Operatore> operatore(Engine engine, const QTemporaryDir& dir, int numero) {
    auto op = std::make_unique<Operatore>();
    QString visite;
    QString work;
    if (engine == Engine::Sqlite) {
        visite = bench::sqliteDatabase(dir, QStringLiteral("v%1.mdb").arg(numero), "visite.sql");
        work = bench::sqliteDatabase(dir, QStringLiteral("w%1.mdb").arg(numero), "work.sql");
        fillSqlite(visite);
    } else {
        const QString schema = QStringLiteral("office_%1").arg(numero);
        visite = benchserver::createSchema(dir, schema + QStringLiteral("_visite"), "visite.sql");
        work = benchserver::createSchema(dir, schema + QStringLiteral("_work"), "work.sql");
        benchserver::Plain plain;
        plain.exec(appointments(schema.toStdString() + "_visite.Appuntamenti") +
                   "generate_series(0, " + std::to_string(kAppuntamenti - 1) + ") AS value");
    }
    op->visite = db::open(visite);
    op->work = db::open(work);
    op->scansione = std::make_unique<Scansione>(
        *op->visite, *op->work, dir.filePath(QStringLiteral("Gestar.ini")), op->clock, op->yielder,
        op->launcher, [](const EsitoSelezione&) {});
    op->libro = op->visite->watchWrites(db::schema::kAppuntamenti);
    op->promemoria = op->work->watchWrites(db::schema::kPromemoria);
    if (op->libro && op->promemoria) {
        op->scansione->seguiLibro([o = op.get()] {
            try {
                if (!o->libro->written() && !o->promemoria->written() && o->libro->intact() &&
                    o->promemoria->intact())
                    return true;
            } catch (const db::DbError&) {
            }
            o->scansione->libroCambiato();
            return false;
        });
    }
    op->scansione->SelezionaAppuntamenti();
    // As the server's autovacuum does within a minute of a table's first rows: the planner
    // then knows how few reminders fall due at a time, and looks them up by their index.
    if (engine == Engine::Postgres) {
        benchserver::Plain().exec("ANALYZE office_" + std::to_string(numero) + "_work.Promemoria");
    }
    return op;
}

// CPU seconds used so far by the server's processes (every process named "postgres"), and by
// those of them that serve a connection (the rest keep the server itself: the autovacuum,
// the checkpoints, the log of its writes).
struct ServerCpu {
    double all = 0;
    double sessions = 0;

    ServerCpu operator-(const ServerCpu& before) const {
        return {all - before.all, sessions - before.sessions};
    }
};

ServerCpu serverCpuSeconds() {
    ServerCpu cpu;
    const double tick = static_cast<double>(sysconf(_SC_CLK_TCK));
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/") + pid + QStringLiteral("/stat"));
        if (!pid.at(0).isDigit() || !stat.open(QIODevice::ReadOnly)) continue;
        const QByteArray line = stat.readAll();
        if (!line.contains("(postgres)")) continue;
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        const double seconds = (fields.value(11).toDouble() + fields.value(12).toDouble()) / tick;
        // With what its children that have ended used (the postmaster's autovacuum workers).
        cpu.all += seconds + (fields.value(13).toDouble() + fields.value(14).toDouble()) / tick;
        QFile commandLine(QStringLiteral("/proc/") + pid + QStringLiteral("/cmdline"));
        if (commandLine.open(QIODevice::ReadOnly) && commandLine.readAll().contains("[local]"))
            cpu.sessions += seconds;
    }
    return cpu;
}

// When the workstations tick: all in the same millisecond, or spread evenly over the interval.
enum class Ticks { Together, Spread };

void runOffice(Engine engine, int operatori, Ticks ticks) {
    QTemporaryDir dir;
    std::vector<std::unique_ptr<Operatore>> ufficio;
    for (int i = 0; i < operatori; ++i) ufficio.push_back(operatore(engine, dir, i));
    // A new session's first statements fill the server's caches and make its plans: a whole
    // cycle of polls first, so that the figures are those of a working day.
    for (const auto& op : ufficio)
        for (int poll = 0; poll < kPollPerCiclo; ++poll) op->scansione->controllaPromemoria();
    const ServerCpu cpuPrima = serverCpuSeconds();
    const auto inizio = SteadyClock::now();
    std::vector<std::thread> postazioni;
    for (int i = 0; i < operatori; ++i) {
        const auto primo = ticks == Ticks::Together
                               ? inizio
                               : inizio + std::chrono::microseconds(kIntervallo) * i / operatori;
        postazioni.emplace_back([primo, fine = inizio + kDurata, o = ufficio[i].get()] {
            for (auto prossimo = primo; prossimo < fine; prossimo += kIntervallo) {
                std::this_thread::sleep_until(prossimo);
                const auto prima = SteadyClock::now();
                o->scansione->controllaPromemoria();
                o->tempi.push_back(
                    std::chrono::duration<double>(SteadyClock::now() - prima).count());
            }
        });
    }
    for (auto& postazione : postazioni) postazione.join();
    const double secondi = std::chrono::duration<double>(SteadyClock::now() - inizio).count();
    const ServerCpu cpu = serverCpuSeconds() - cpuPrima;
    // Every fifteenth poll ends with a rebuild of the operator's reminder table: those ticks
    // are counted apart.
    std::vector<double> poll;
    std::vector<double> conRicostruzione;
    for (const auto& op : ufficio)
        for (std::size_t n = 0; n < op->tempi.size(); ++n)
            ((n + 1) % kPollPerCiclo == 0 ? conRicostruzione : poll).push_back(op->tempi[n]);
    std::printf(
        "%-8s, %3d operators %s: poll median %.1f ms, 99th percentile %.1f ms (%zu polls); "
        "poll ending in a rebuild median %.1f ms, slowest %.1f ms",
        benchserver::engineName(engine), operatori,
        ticks == Ticks::Together ? "together" : "spread  ", bench::percentile(poll, 50) * 1000,
        bench::percentile(poll, 99) * 1000, poll.size(),
        bench::percentile(conRicostruzione, 50) * 1000,
        bench::percentile(conRicostruzione, 100) * 1000);
    const auto tick = static_cast<double>(poll.size() + conRicostruzione.size());
    if (engine == Engine::Postgres)
        std::printf(", server CPU %.1f%% of one core, per tick %.2f ms (its sessions %.2f ms)",
                    100 * cpu.all / secondi, 1000 * cpu.all / tick, 1000 * cpu.sessions / tick);
    std::printf("\n");
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    for (const Engine engine : benchserver::engines())
        for (const int operatori : {1, 5, 20}) runOffice(engine, operatori, Ticks::Together);
    // A server's office; its 200 workstations hold 600 connections (the server's
    // max_connections must allow them).
    if (benchserver::available()) runOffice(Engine::Postgres, 200, Ticks::Spread);
    return 0;
}
