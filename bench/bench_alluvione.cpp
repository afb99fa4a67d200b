// A flood of hand-overs to the open alert window: CPU per delivering start, how long until
// the window has taken every reminder in, and how long a reminder due a minute later then
// takes from its hand-over to the screen.
#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench_server.h"
#include "reminder/argomentoavviso.h"
#include "util/dateserial.h"

namespace {

constexpr int kConsegne = 1000;
constexpr int kSuccessivi = 5;
constexpr int kAttesaMs = 120000;

// A Gestar.ini whose operator has a work database (the window looks reminders up there), and
// the private folder of the window's socket.
struct Postazione {
    Postazione() {
        QDir(dir.path()).mkpath(QStringLiteral("op"));
        QDir(dir.path()).mkpath(QStringLiteral("run"));
        QFile::setPermissions(dir.filePath(QStringLiteral("run")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        bench::sqliteDatabase(dir, QStringLiteral("op/WorkDV.mdb"), "work.sql");
        QFile ini(dir.filePath(QStringLiteral("Gestar.ini")));
        ini.open(QIODevice::WriteOnly);
        ini.write("[BASE]\r\nOPERATORE=op\r\n[PATH]\r\nFILE=" + dir.path().toUtf8() +
                  "\r\nWORK=" + dir.path().toUtf8() + "\r\n[AGENDA]\r\nSuonoSN=N\r\n");
    }
    // Today's appointment of `cliente`, `minuti` past midnight, its reminder row due since
    // yesterday: the window keeps its cards to the reminder table.
    QString argomento(int cliente, int minuti = 0) const {
        const double oggi = std::floor(dateserial::fromDateTime(QDateTime::currentDateTime()));
        const double data = oggi + minuti / (24.0 * 60.0);
        bench::SqlitePlain(dir.filePath(QStringLiteral("op/WorkDV.mdb")))
            .exec("INSERT OR REPLACE INTO Promemoria VALUES (" + std::to_string(cliente) + ", " +
                  QByteArray::number(data, 'g', 17).toStdString() + ", 'VIS', " +
                  std::to_string(oggi - 1) + ", 'S', NULL)");
        return ArgomentoAvviso{dir.filePath(QStringLiteral("Gestar.ini")), cliente, cliente,
                               QStringLiteral("VIS"), data}
            .componi();
    }
    // The window offscreen, printing what it takes in; a delivering start on a desktop whose
    // X display cannot be reached: it must deliver before it needs one.
    QProcessEnvironment ambiente(bool finestra) const {
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.filePath(QStringLiteral("run")));
        if (finestra) {
            ambiente.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            ambiente.insert(QStringLiteral("SCADEX_ALERT_ECHO"), QStringLiteral("1"));
        } else {
            ambiente.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
            ambiente.insert(QStringLiteral("DISPLAY"), QStringLiteral(":99999"));
        }
        return ambiente;
    }
    QTemporaryDir dir;
};

// Starts the hand-over of one reminder; the window is left to read.
std::unique_ptr<QProcess> consegna(const Postazione& postazione, const QString& argomento) {
    auto processo = std::make_unique<QProcess>();
    processo->setProcessEnvironment(postazione.ambiente(false));
    processo->setStandardOutputFile(QProcess::nullDevice());
    processo->setStandardErrorFile(QProcess::nullDevice());
    processo->start(QStringLiteral(SCADEX_ALERT_PROGRAM), {argomento});
    return processo;
}

// Reads the window's lines until it has taken `quanti` more reminders in.
int accogli(QProcess& finestra, int quanti) {
    int accolte = 0;
    while (accolte < quanti && (finestra.canReadLine() || finestra.waitForReadyRead(kAttesaMs))) {
        if (finestra.readLine().startsWith("AVVISO ")) ++accolte;
    }
    return accolte;
}

// Seconds from the hand-over of each later reminder to its card, the window already full.
std::vector<double> successivi(const Postazione& postazione, QProcess& finestra) {
    std::vector<double> secondi;
    for (int minuto = 1; minuto <= kSuccessivi; ++minuto) {
        QElapsedTimer orologio;
        orologio.start();
        const auto processo =
            consegna(postazione, postazione.argomento(kConsegne + minuto, minuto));
        if (accogli(finestra, 1) != 1) break;
        secondi.push_back(orologio.elapsed() / 1000.0);
        processo->waitForFinished(kAttesaMs);
    }
    std::sort(secondi.begin(), secondi.end());
    return secondi;
}

double cpuDeiFigli() {
    rusage uso{};
    ::getrusage(RUSAGE_CHILDREN, &uso);
    return static_cast<double>(uso.ru_utime.tv_sec + uso.ru_stime.tv_sec) +
           static_cast<double>(uso.ru_utime.tv_usec + uso.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const Postazione postazione;
    QProcess finestra;
    finestra.setProcessEnvironment(postazione.ambiente(true));
    finestra.start(QStringLiteral(SCADEX_ALERT_PROGRAM), {postazione.argomento(0)});
    if (!finestra.waitForReadyRead(kAttesaMs)) return 1;
    finestra.readLine();

    const double cpuPrima = cpuDeiFigli();
    QElapsedTimer orologio;
    orologio.start();
    std::vector<std::unique_ptr<QProcess>> consegne;
    for (int cliente = 1; cliente <= kConsegne; ++cliente) {
        consegne.push_back(consegna(postazione, postazione.argomento(cliente)));
    }
    for (const auto& processo : consegne) processo->waitForFinished(kAttesaMs);
    const double ultimaConsegna = orologio.elapsed() / 1000.0;
    const double cpu = cpuDeiFigli() - cpuPrima;
    const int accolte = accogli(finestra, kConsegne);
    const double tutte = orologio.elapsed() / 1000.0;
    std::printf(
        "%d starts at once: %.1f ms of CPU per delivering start, all delivered in %.1f s; "
        "%d on screen %.1f s after the last delivery\n",
        kConsegne, 1000 * cpu / kConsegne, ultimaConsegna, accolte, tutte - ultimaConsegna);
    const std::vector<double> dopo = successivi(postazione, finestra);
    if (!dopo.empty()) {
        std::printf(
            "%zu reminders due a minute apart, the flood on screen: on screen %.0f ms "
            "(median), %.0f ms (slowest) after their hand-over\n",
            dopo.size(), 1000 * dopo[dopo.size() / 2], 1000 * dopo.back());
    }
    finestra.kill();
    finestra.waitForFinished();
    return accolte == kConsegne && static_cast<int>(dopo.size()) == kSuccessivi ? 0 : 1;
}
