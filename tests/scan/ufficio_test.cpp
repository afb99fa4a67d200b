// An office on one server: five operators' pollers while the host keeps changing appointments.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QHash>
#include <QRandomGenerator>
#include <QSet>
#include <atomic>
#include <chrono>
#include <thread>

#include "reminder/argomentoavviso.h"
#include "scan/scansione.h"
#include "support/engineworkspace.h"
#include "support/fakes.h"
#include "util/dateserial.h"
#include "util/texts.h"

namespace {

using namespace std::chrono_literals;
using Clock_ = std::chrono::steady_clock;

constexpr int kOperatori = 5;
constexpr auto kDurata = 60s;
constexpr auto kIntervallo = 200ms;
// Every appointment's lead is a whole day: its alarm moment is its moment less one day.
constexpr int kAnticipo = 1440;

// An appointment as the hand-overs name it: client and moment (every action is VIS).
QString chiave(qint32 cliente, double momento) {
    return QString::number(cliente) + QLatin1Char(' ') + texts::generalDateText(momento);
}

using WallClock = SystemClock;

// Records each hand-over's key with the rebuild generation it happened in.
class GenerationLauncher : public ProcessLauncher {
public:
    int generazione = 0;
    QList<std::pair<int, QString>> consegne;
    bool startDetached(const QString&, const QStringList& arguments) override {
        const ArgomentoAvviso avviso = ArgomentoAvviso::leggi(arguments.value(0));
        consegne.append({generazione, chiave(avviso.cliente, avviso.data)});
        return true;
    }
};

struct Postazione {
    explicit Postazione(EngineWorkspace& ws)
        : scansione(*ws.visiteDb, *ws.workDb, ws.fileIni, clock, yielder, launcher,
                    [this](const EsitoSelezione&) { ++launcher.generazione; }) {}

    WallClock clock;
    FakeYielder yielder;
    GenerationLauncher launcher;
    Scansione scansione;
    int poll = 0;
    Clock_::duration pollPiuLungo{};
};

double tra(std::chrono::milliseconds durata) {
    return dateserial::fromDateTime(QDateTime::currentDateTime().addMSecs(durata.count()));
}

TEST(Ufficio, NoReminderHandedOverTwiceNoneLostNoPollStuck) {
    if (testedEngines().size() < 2) GTEST_SKIP() << "no test server";
    std::vector<std::unique_ptr<EngineWorkspace>> uffici;
    std::vector<std::unique_ptr<DirectSql>> host;
    for (int i = 0; i < kOperatori; ++i) {
        uffici.push_back(std::make_unique<EngineWorkspace>(Engine::Postgres));
        host.push_back(directSql(Engine::Postgres, uffici.back()->visitePath));
    }
    // Per operator, each appointment's key as the hand-over names it, and its alarm moment.
    std::vector<QHash<QString, double>> allarmi(kOperatori);
    int prossimoCliente = 1;
    auto aggiungi = [&](int operatore, std::chrono::milliseconds allarmeTra) {
        const int cliente = prossimoCliente++;
        const double allarme = tra(allarmeTra);
        const double momento = allarme + 1;
        host[operatore]->exec(
            "INSERT INTO Appuntamenti (ApCliente, ApData, ApAzione, ApAllarm, ApDelete, ApStato) "
            "VALUES (?, ?, 'VIS', ?, 'N', 'A')",
            {cliente, momento, kAnticipo});
        allarmi[operatore].insert(chiave(cliente, momento), allarme);
    };
    QRandomGenerator caso(20261206);
    const auto durata = std::chrono::duration_cast<std::chrono::milliseconds>(kDurata);
    for (int operatore = 0; operatore < kOperatori; ++operatore)
        for (int i = 0; i < 20; ++i)
            aggiungi(operatore, std::chrono::milliseconds(caso.bounded(int(durata.count()))));

    std::vector<std::unique_ptr<Postazione>> postazioni;
    for (auto& ws : uffici) postazioni.push_back(std::make_unique<Postazione>(*ws));
    for (auto& postazione : postazioni) postazione->scansione.SelezionaAppuntamenti();

    std::atomic<bool> fine{false};
    std::vector<std::thread> pollers;
    for (auto& postazione : postazioni) {
        pollers.emplace_back([&fine, p = postazione.get()] {
            while (!fine) {
                const auto inizio = Clock_::now();
                p->scansione.controllaPromemoria();
                const auto tempo = Clock_::now() - inizio;
                p->pollPiuLungo = std::max(p->pollPiuLungo, tempo);
                ++p->poll;
                std::this_thread::sleep_for(kIntervallo);
            }
        });
    }
    // The host: four changes a second, a new appointment or a changed note, anywhere.
    const auto inizio = Clock_::now();
    int cambi = 0;
    while (Clock_::now() - inizio < kDurata) {
        const int operatore = caso.bounded(kOperatori);
        if (cambi++ % 2 == 0) {
            const auto resto = durata - std::chrono::duration_cast<std::chrono::milliseconds>(
                                            Clock_::now() - inizio);
            aggiungi(operatore, std::chrono::milliseconds(caso.bounded(int(resto.count()) + 1)));
        } else {
            host[operatore]->exec("UPDATE Appuntamenti SET ApNote = ? WHERE ApCliente % 7 = ?",
                                  {QStringLiteral("nota %1").arg(cambi), caso.bounded(7)});
        }
        std::this_thread::sleep_for(250ms);
    }
    // One more rebuild and poll each, after the host has stopped, before the checks.
    fine = true;
    for (auto& poller : pollers) poller.join();
    const double finePrevista = tra(0ms);
    for (auto& postazione : postazioni) {
        postazione->scansione.richiediSelezione();
        postazione->scansione.controllaPromemoria();
    }

    for (int operatore = 0; operatore < kOperatori; ++operatore) {
        const Postazione& p = *postazioni[operatore];
        QSet<std::pair<int, QString>> viste;
        QSet<QString> consegnate;
        for (const auto& consegna : p.launcher.consegne) {
            EXPECT_FALSE(viste.contains(consegna))
                << "operator " << operatore
                << " handed over twice before a rebuild: " << consegna.second.toStdString();
            viste.insert(consegna);
            consegnate.insert(consegna.second);
        }
        for (auto allarme = allarmi[operatore].cbegin(); allarme != allarmi[operatore].cend();
             ++allarme) {
            if (allarme.value() > finePrevista) continue;
            EXPECT_TRUE(consegnate.contains(allarme.key()))
                << "operator " << operatore << " lost " << allarme.key().toStdString();
        }
        // A poll that waited on a lock gives up after a brief wait; none hangs.
        EXPECT_LT(p.pollPiuLungo, 5s) << "operator " << operatore;
        EXPECT_GT(p.poll, int(kDurata / kIntervallo) / 4) << "operator " << operatore;
    }
}

}  // namespace
