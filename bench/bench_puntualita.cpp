// Hand-overs on time: how long after a reminder's alarm moment, and after another connection
// commits an appointment already due, the alert program is started; on each engine.
#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bench_server.h"
#include "db/database.h"
#include "db/schema.h"
#include "platform/clock.h"
#include "platform/eventyielder.h"
#include "platform/processlauncher.h"
#include "reminder/argomentoavviso.h"
#include "scan/puntualita.h"
#include "scan/scansione.h"
#include "util/dateserial.h"
#include "util/valori.h"

namespace {

constexpr int kProve = 100;
// The program's tick, as an operator would set it: the trials end long before it comes.
constexpr std::chrono::milliseconds kTick{60000};
// Alarm moments one every 0.6 s, each after a tick of its own.
constexpr qint64 kPassoMs = 600;
// A minute's lead is kept as 0.0007 days: the moment the rebuild computes is read back.
constexpr double kAnticipoGiorni = 0.0007;
// The host's commits come further apart than the rebuilds for a change of the book may.
constexpr qint64 kScrittureMs = 1200;
// How long the last trial's hand-over is waited for.
constexpr qint64 kCodaMs = 2000;
// The clients of the commits; the alarm moments' are 1 to kProve.
constexpr int kPrimoScritto = 1001;

using benchserver::Engine;
using benchserver::engineName;

qint64 epocaMs() {
    return QDateTime::currentMSecsSinceEpoch();
}

// The wall clock in microseconds since the epoch.
qint64 epocaUs() {
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

double serialeDi(qint64 ms) {
    return dateserial::fromDateTime(QDateTime::fromMSecsSinceEpoch(ms));
}

// How long before its alarm moment a trial's tick comes: 50 to 300 ms, varied.
qint64 anticipoTickMs(int prova) {
    return 50 + prova * 53 % 251;
}

// Runs the event loop until the wall clock reaches `ms` since the epoch.
void attendi(qint64 ms) {
    QEventLoop loop;
    QTimer::singleShot(std::chrono::milliseconds(std::max<qint64>(0, ms - epocaMs())),
                       Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// The load averages over 1, 5 and 15 minutes.
QByteArray carico() {
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly)) return "?";
    return file.readAll().split(' ').mid(0, 3).join(' ');
}

// The alert program's stand-in: when each client's reminder was first handed over, and
// whether a tick's poll did it.
class RecordingLauncher : public ProcessLauncher {
public:
    struct Consegna {
        qint64 quandoUs;
        bool daUnTick;
    };

    bool startDetached(const QString&, const QStringList& arguments) override {
        const qint64 adesso = epocaUs();
        consegne_.try_emplace(ArgomentoAvviso::leggi(arguments.value(0)).cliente,
                              Consegna{adesso, nelTick});
        return true;
    }
    std::optional<Consegna> consegna(int cliente) const {
        const auto trovata = consegne_.find(cliente);
        if (trovata == consegne_.end()) return std::nullopt;
        return trovata->second;
    }

    bool nelTick = false;

private:
    std::map<int, Consegna> consegne_;
};

// The host product's side of one engine: both databases, made empty, and a connection of its
// own that commits appointments.
class Host {
public:
    virtual ~Host() = default;
    // Runs one statement as a transaction of its own; it has been committed on return.
    virtual void commit(const std::string& sql) = 0;

    QString visite;
    QString work;
    std::string appuntamenti;  // the table as the host's connection names it
    QString fileIni() const { return dir_.filePath(QStringLiteral("Gestar.ini")); }

protected:
    QTemporaryDir dir_;
};

class SqliteHost : public Host {
public:
    SqliteHost() {
        visite = bench::sqliteDatabase(dir_, QStringLiteral("VisiteDV.mdb"), "visite.sql");
        work = bench::sqliteDatabase(dir_, QStringLiteral("WorkDV.mdb"), "work.sql");
        appuntamenti = "Appuntamenti";
        connection_ = std::make_unique<bench::SqlitePlain>(visite);
    }
    void commit(const std::string& sql) override { connection_->exec(sql); }

private:
    std::unique_ptr<bench::SqlitePlain> connection_;
};

class ServerHost : public Host {
public:
    ServerHost() {
        visite = benchserver::createSchema(dir_, QStringLiteral("bench_puntualita_visite"),
                                           "visite.sql");
        work = benchserver::createSchema(dir_, QStringLiteral("bench_puntualita_work"), "work.sql");
        appuntamenti = "bench_puntualita_visite.Appuntamenti";
    }
    void commit(const std::string& sql) override { connection_.exec(sql); }

private:
    benchserver::Plain connection_;
};

// The rows `valori` ("(...), (...)") added to the host's appointments.
std::string inserimento(const Host& host, const std::string& valori) {
    return "INSERT INTO " + host.appuntamenti +
           " (ApCliente, ApData, ApAzione, ApAllarm, ApDelete, ApStato, ApNote, ApCausa) "
           "VALUES " +
           valori;
}

// An appointment of `cliente` at `data` (a day serial), its alarm `minuti` minutes before.
std::string appuntamento(int cliente, double data, int minuti) {
    return "(" + std::to_string(cliente) + ", " + benchserver::sqlNumber(data) + ", 'VIS', " +
           std::to_string(minuti) + ", 'N', 'A', 'nota', 'Visita di controllo')";
}

// The program as its main window wires it: polls and rebuilds on the real clock and event
// loop, the wake-ups and the watch on the book, a tick every minute.
class Programma {
public:
    explicit Programma(const Host& host)
        : visite_(db::open(host.visite)),
          work_(db::open(host.work)),
          scansione_(*visite_, *work_, host.fileIni(), clock_, yielder_, launcher_,
                     [](const EsitoSelezione&) {}),
          puntualita_(scansione_, *visite_, *work_, clock_) {
        scansione_.seguiProssimoAllarme(
            [this](std::optional<double> momento) { puntualita_.armaSveglia(momento); });
        scansione_.SelezionaAppuntamenti();
        yielder_.yieldToEvents();
        scansione_.controllaPromemoria();
        QObject::connect(&tick_, &QTimer::timeout, &tick_, [this] { tick(); });
        tick_.start(kTick);
    }

    // One tick, as the main window's timer runs it.
    void tick() {
        launcher_.nelTick = true;
        scansione_.controllaPromemoria();
        launcher_.nelTick = false;
        puntualita_.dopoIlTick();
    }

    // Each client's alarm moment in the reminder table, in ms since the epoch.
    std::map<int, qint64> momenti() {
        using namespace db::schema;
        std::map<int, qint64> letti;
        const auto righe =
            work_->openQuery(QStringLiteral("SELECT PmCliente, PmAllarm FROM ") + kPromemoria);
        for (; !righe->eof(); righe->moveNext()) {
            const double allarme = ValoreNumero(righe->field(kPmAllarm));
            letti[static_cast<int>(ValoreNumero(righe->field(kPmCliente)))] =
                dateserial::toDateTime(allarme).toMSecsSinceEpoch();
        }
        return letti;
    }

    const RecordingLauncher& launcher() const { return launcher_; }

private:
    SystemClock clock_;
    QtEventYielder yielder_;
    RecordingLauncher launcher_;
    std::unique_ptr<db::Database> visite_;
    std::unique_ptr<db::Database> work_;
    Scansione scansione_;
    Puntualita puntualita_;
    QTimer tick_;
};

// One trial: whose hand-over is waited for, from when (µs since the epoch).
struct Prova {
    int cliente;
    qint64 dalUs;
};

struct Misure {
    std::vector<double> ritardiMs;
    int daUnTick = 0;
    int mancanti = 0;
};

Misure misura(const RecordingLauncher& launcher, const std::vector<Prova>& prove) {
    Misure misure;
    for (const Prova& prova : prove) {
        const auto consegna = launcher.consegna(prova.cliente);
        if (!consegna) {
            ++misure.mancanti;
            continue;
        }
        misure.ritardiMs.push_back(static_cast<double>(consegna->quandoUs - prova.dalUs) / 1000);
        if (consegna->daUnTick) ++misure.daUnTick;
    }
    return misure;
}

// The host commits kProve appointments at once; their alarm moments come one every kPassoMs,
// each 50 to 300 ms after a tick. The delay from each moment to its hand-over.
Misure dopoIlMomento(Programma& programma, Host& host) {
    const qint64 primo = epocaMs() + 3000;  // after the rebuild the commit brings
    std::string valori;
    for (int i = 0; i < kProve; ++i) {
        const qint64 momento = primo + i * kPassoMs + anticipoTickMs(i);
        valori += (i ? ", " : "") + appuntamento(i + 1, serialeDi(momento) + kAnticipoGiorni, 1);
    }
    host.commit(inserimento(host, valori));
    attendi(primo - 1000);
    const std::map<int, qint64> momenti = programma.momenti();
    std::vector<Prova> prove;
    for (int i = 0; i < kProve; ++i) {
        const qint64 momento = momenti.at(i + 1);
        attendi(momento - anticipoTickMs(i));
        programma.tick();
        prove.push_back({i + 1, momento * 1000});
    }
    attendi(prove.back().dalUs / 1000 + kCodaMs);
    return misura(programma.launcher(), prove);
}

// The host commits kProve appointments whose alarm moment has passed, kScrittureMs apart. The
// delay from each commit's return to its hand-over.
Misure dopoLaScrittura(Programma& programma, Host& host) {
    std::vector<Prova> prove;
    const qint64 inizio = epocaMs() + kScrittureMs;
    for (int i = 0; i < kProve; ++i) {
        attendi(inizio + i * kScrittureMs);
        // An hour's lead on an appointment a quarter of an hour away: due since 45 minutes.
        const int cliente = kPrimoScritto + i;
        host.commit(inserimento(host, appuntamento(cliente, serialeDi(epocaMs()) + 0.01, 60)));
        prove.push_back({cliente, epocaUs()});
    }
    attendi(epocaMs() + kCodaMs);
    return misura(programma.launcher(), prove);
}

void stampa(Engine engine, const char* dal, const Misure& misure) {
    std::printf(
        "%-8s hand-over after %-24s median %6.1f ms, 99th percentile %6.1f ms "
        "(%zu trials; %d by a tick, %d not handed over)\n",
        engineName(engine), dal, bench::percentile(misure.ritardiMs, 50),
        bench::percentile(misure.ritardiMs, 99), misure.ritardiMs.size(), misure.daUnTick,
        misure.mancanti);
}

void runEngine(Engine engine) {
    const QByteArray prima = carico();
    const std::unique_ptr<Host> host = engine == Engine::Sqlite
                                           ? std::unique_ptr<Host>(new SqliteHost)
                                           : std::unique_ptr<Host>(new ServerHost);
    Programma programma(*host);
    const Misure momento = dopoIlMomento(programma, *host);
    const Misure scrittura = dopoLaScrittura(programma, *host);
    stampa(engine, "the alarm moment:", momento);
    stampa(engine, "the host's commit:", scrittura);
    std::printf("%-8s load average %s before, %s after\n", engineName(engine), prima.constData(),
                carico().constData());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    for (const Engine engine : benchserver::engines()) runEngine(engine);
    return 0;
}
