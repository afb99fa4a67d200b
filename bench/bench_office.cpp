// An office: operators' databases of 10 000 appointments each, every one polled once a second
// by its own workstation, all in the same millisecond or spread over the second; prints the
// 99th percentile of a poll's time and the server's CPU per poll. Then an office on a server
// whose books a host writes all day: 20 operators each following a book of its own, written
// every 2 s, and 20 following one shared book, written every second; prints the server's and
// the program's CPU per host write per operator, and the time from a commit to the hand-over
// of the appointment it brought. The books' sizes are the arguments (100000 and 1000000 by
// default): a large book takes minutes to load.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <map>
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
#include "scan/puntualita.h"
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
        op->scansione->seguiLibro([o = op.get()](bool catalogo) {
            try {
                if (o->libro->written()) o->scansione->libroCambiato(o->libro->takeWrittenRows());
                if (!o->promemoria->written() &&
                    (!catalogo || (o->libro->intact() && o->promemoria->intact())))
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

// A book of `righe` appointments in `schema`, a tenth of them tomorrow with an alarm an hour
// before (none falls due while the bench runs: what it measures is the writes), the rest in
// the past.
void libroScritto(const std::string& schema, qint64 righe) {
    const double adesso = dateserial::fromDateTime(QDateTime::currentDateTime());
    benchserver::Plain plain;
    plain.exec("INSERT INTO " + schema +
               ".Appuntamenti (ApCliente, ApData, ApAzione, ApAllarm, ApDelete, ApStato, ApNote, "
               "ApCausa) SELECT value, CASE WHEN value % 10 = 0 THEN " +
               benchserver::sqlNumber(adesso + 1) + " + value / 1e7 ELSE " +
               benchserver::sqlNumber(adesso - 400) +
               " + value / 1e7 END, 'VIS', 60, 'N', "
               "'A', 'nota', 'Visita di controllo' FROM generate_series(1, " +
               std::to_string(righe) + ") AS value");
    plain.exec("ANALYZE " + schema + ".Appuntamenti");
}

// One workstation as the program runs it: the scanning, its wake-ups and the book's changes,
// and the list the main window keeps.
struct Postazione {
    Postazione(const QString& visitePath, const QString& workPath, const QTemporaryDir& dir,
               ProcessLauncher& launcher)
        : visite(db::open(visitePath)),
          work(db::open(workPath)),
          scansione(*visite, *work, dir.filePath(QStringLiteral("Gestar.ini")), clock, yielder,
                    launcher, [this](const EsitoSelezione& esito) { selezione = esito; }),
          puntualita(scansione, *visite, *work, clock) {
        scansione.seguiProssimoAllarme(
            [this](std::optional<double> momento) { puntualita.armaSveglia(momento); });
        scansione.SelezionaAppuntamenti();
    }

    std::unique_ptr<db::Database> visite;
    std::unique_ptr<db::Database> work;
    WallClock clock;
    NoYield yielder;
    Scansione scansione;
    Puntualita puntualita;
    EsitoSelezione selezione;
};

// The moments the alert program was started for each client: the hand-overs.
class Consegne : public ProcessLauncher {
public:
    bool startDetached(const QString&, const QStringList& argomenti) override {
        const QStringList campi = argomenti.value(0).split(QLatin1Char('|'));
        quando_[campi.value(campi.size() - 3).toInt()].push_back(SteadyClock::now());
        return true;
    }
    const std::vector<SteadyClock::time_point>& di(int cliente) { return quando_[cliente]; }

private:
    std::map<int, std::vector<SteadyClock::time_point>> quando_;
};

double cpuProgramma() {
    timespec tempo{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &tempo);
    return static_cast<double>(tempo.tv_sec) + static_cast<double>(tempo.tv_nsec) / 1e9;
}

// 20 operators: each with a book of its own written every 2 s, or all on one book written every
// second. Each host write adds an appointment due at once for a client of its own.
void runLibroScritto(qint64 righe, bool condiviso) {
    constexpr int kOperatori = 20;
    const auto intervallo =
        condiviso ? std::chrono::milliseconds(1000) : std::chrono::milliseconds(100);
    QTemporaryDir dir;
    Consegne consegne;
    std::vector<QString> libri;
    for (int i = 0; i < (condiviso ? 1 : kOperatori); ++i) {
        const QString schema = QStringLiteral("libro_%1").arg(i);
        libri.push_back(benchserver::createSchema(dir, schema, "visite.sql"));
        libroScritto(schema.toStdString(), righe);
    }
    std::vector<std::unique_ptr<Postazione>> ufficio;
    for (int i = 0; i < kOperatori; ++i) {
        const QString work =
            benchserver::createSchema(dir, QStringLiteral("libro_work_%1").arg(i), "work.sql");
        ufficio.push_back(
            std::make_unique<Postazione>(libri[condiviso ? 0 : i], work, dir, consegne));
        // As the server's autovacuum does within a minute of a table's first rows.
        benchserver::Plain().exec("ANALYZE libro_work_" + std::to_string(i) + ".Promemoria");
    }
    benchserver::Plain host;
    int cliente = 1000000000;
    std::vector<std::pair<int, SteadyClock::time_point>> scritture;
    const auto scrivi = [&] {
        const std::size_t libro = scritture.size() % libri.size();
        host.exec("INSERT INTO libro_" + std::to_string(libro) +
                  ".Appuntamenti (ApCliente, ApData, ApAzione, ApAllarm, ApDelete, ApStato) "
                  "VALUES (" +
                  std::to_string(++cliente) + ", " +
                  benchserver::sqlNumber(dateserial::fromDateTime(QDateTime::currentDateTime())) +
                  ", 'VIS', 1, 'N', 'A')");
        scritture.push_back({cliente, SteadyClock::now()});
    };
    QTimer scrittore;
    QObject::connect(&scrittore, &QTimer::timeout, scrivi);
    const auto gira = [&](std::chrono::milliseconds durata) {
        QTimer fine;
        fine.setSingleShot(true);
        QEventLoop ciclo;
        QObject::connect(&fine, &QTimer::timeout, &ciclo, &QEventLoop::quit);
        fine.start(durata);
        ciclo.exec();
    };
    // The first write of each book has it read once more, and held: until the program is idle
    // again.
    for (std::size_t libro = 0; libro < libri.size(); ++libro) scrivi();
    for (double prima = -1; cpuProgramma() - prima > 0.1;) {
        prima = cpuProgramma();
        gira(std::chrono::milliseconds(2000));
    }
    scrittore.start(intervallo);
    const std::size_t primaScrittura = scritture.size();
    const ServerCpu serverPrima = serverCpuSeconds();
    const double programmaPrima = cpuProgramma();
    gira(kDurata);
    scrittore.stop();
    const double programma = cpuProgramma() - programmaPrima;
    const ServerCpu server = serverCpuSeconds() - serverPrima;
    gira(std::chrono::milliseconds(3000));  // the last hand-overs
    std::vector<double> attese;
    std::size_t mancate = 0;
    const std::size_t seguite = condiviso ? kOperatori : 1;  // operators following each book
    for (std::size_t n = primaScrittura; n < scritture.size(); ++n) {
        const auto& [chi, quando] = scritture[n];
        mancate += seguite - std::min(seguite, consegne.di(chi).size());
        for (const auto consegna : consegne.di(chi))
            attese.push_back(std::chrono::duration<double>(consegna - quando).count());
    }
    const double perOperatore = static_cast<double>(scritture.size() - primaScrittura) * seguite;
    std::printf(
        "Postgres, written book of %lld, %s: %zu host writes; per host write per operator "
        "server CPU %.2f ms (its sessions %.2f ms), program CPU %.2f ms; commit to hand-over "
        "median %.0f ms, 99th percentile %.0f ms, %zu not handed over\n",
        static_cast<long long>(righe),
        condiviso ? "20 operators on one book" : "20 operators, a book each",
        scritture.size() - primaScrittura, 1000 * server.all / perOperatore,
        1000 * server.sessions / perOperatore, 1000 * programma / perOperatore,
        1000 * bench::percentile(attese, 50), 1000 * bench::percentile(attese, 99), mancate);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (benchserver::available()) {
        const qint64 proprio = argc > 1 ? QByteArray(argv[1]).toLongLong() : 100000;
        const qint64 condiviso = argc > 2 ? QByteArray(argv[2]).toLongLong() : 1000000;
        runLibroScritto(proprio, false);
        runLibroScritto(condiviso, true);
        // Sizes given: only the written books are measured.
        if (argc > 1) return 0;
    }
    for (const Engine engine : benchserver::engines())
        for (const int operatori : {1, 5, 20}) runOffice(engine, operatori, Ticks::Together);
    // A server's office; its 200 workstations hold 600 connections (the server's
    // max_connections must allow them).
    if (benchserver::available()) runOffice(Engine::Postgres, 200, Ticks::Spread);
    return 0;
}
