// An office: operators' databases of 10 000 appointments each, every one polled once a second
// by its own workstation; prints the 99th percentile of a poll's time and the server's CPU.
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

class WallClock : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

class NoYield : public EventYielder {
public:
    void yieldToEvents() override {}
};

class NoLaunch : public ProcessLauncher {
public:
    bool startDetached(const QString&, const QStringList&) override { return true; }
};

using benchserver::Engine;

// The appointments: alarms spread over the next eight hours, each with a whole day's lead.
std::string appointments(const std::string& table) {
    const double adesso = dateserial::fromDateTime(QDateTime::currentDateTime());
    return "INSERT INTO " + table +
           " (ApCliente, ApData, ApAzione, ApAllarm, ApDelete, ApStato, ApNote, ApCausa) "
           "SELECT value, " +
           benchserver::sqlNumber(adesso + 1) + " + value * (8.0 / 24 / " +
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
    op->scansione->selezionaAppuntamenti();
    return op;
}

// CPU seconds used so far by the server's processes (every process named "postgres").
double serverCpuSeconds() {
    double seconds = 0;
    const double tick = static_cast<double>(sysconf(_SC_CLK_TCK));
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/") + pid + QStringLiteral("/stat"));
        if (!pid.at(0).isDigit() || !stat.open(QIODevice::ReadOnly)) continue;
        const QByteArray line = stat.readAll();
        if (!line.contains("(postgres)")) continue;
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        seconds += (fields.value(11).toDouble() + fields.value(12).toDouble()) / tick;
    }
    return seconds;
}

void runOffice(Engine engine, int operatori) {
    QTemporaryDir dir;
    std::vector<std::unique_ptr<Operatore>> ufficio;
    for (int i = 0; i < operatori; ++i) ufficio.push_back(operatore(engine, dir, i));
    const double cpuPrima = serverCpuSeconds();
    const auto inizio = SteadyClock::now();
    std::vector<std::thread> postazioni;
    for (auto& op : ufficio) {
        postazioni.emplace_back([&inizio, o = op.get()] {
            for (auto prossimo = inizio; prossimo < inizio + kDurata; prossimo += kIntervallo) {
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
    const double cpu = serverCpuSeconds() - cpuPrima;
    // Every fifteenth poll ends with a rebuild of the operator's reminder table: those ticks
    // are counted apart.
    std::vector<double> poll;
    std::vector<double> conRicostruzione;
    for (const auto& op : ufficio)
        for (std::size_t n = 0; n < op->tempi.size(); ++n)
            ((n + 1) % 15 == 0 ? conRicostruzione : poll).push_back(op->tempi[n]);
    std::printf(
        "%-8s, %2d operators: poll median %.1f ms, 99th percentile %.1f ms (%zu polls); "
        "poll ending in a rebuild median %.1f ms, slowest %.1f ms",
        benchserver::engineName(engine), operatori, bench::percentile(poll, 50) * 1000,
        bench::percentile(poll, 99) * 1000, poll.size(),
        bench::percentile(conRicostruzione, 50) * 1000,
        bench::percentile(conRicostruzione, 100) * 1000);
    if (engine == Engine::Postgres)
        std::printf(", server CPU %.1f%% of one core (%.1f%% of %ld)", 100 * cpu / secondi,
                    100 * cpu / secondi / sysconf(_SC_NPROCESSORS_ONLN),
                    sysconf(_SC_NPROCESSORS_ONLN));
    std::printf("\n");
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    for (const Engine engine : benchserver::engines())
        for (const int operatori : {1, 5, 20}) runOffice(engine, operatori);
    return 0;
}
