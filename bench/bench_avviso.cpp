// The alert window with 1 000 cards: how long each of the operator's actions, a repeated
// hand-over and a reading of the reminder table take, events processed.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <cmath>
#include <memory>
#include <string>

#include "alert/programmaavviso.h"
#include "alert/schedaavviso.h"
#include "bench_server.h"
#include "platform/soundplayer.h"
#include "reminder/argomentoavviso.h"
#include "util/dateserial.h"
#include "widgetsmain.h"

namespace {

constexpr int kSchede = 1000;
// Each action takes a card away: this many leave most of the thousand.
constexpr int kRipetizioni = 100;

class Muto : public SoundPlayer {
public:
    void play(const QString&, FailureHandler) override {}
};

// A Gestar.ini whose reminder table holds the rows of kSchede reminders due since yesterday,
// and the program showing them all.
struct Finestra {
    Finestra() {
        QDir(dir.path()).mkpath(QStringLiteral("op"));
        const QString work =
            bench::sqliteDatabase(dir, QStringLiteral("op/WorkDV.mdb"), "work.sql");
        QFile ini(dir.filePath(QStringLiteral("Gestar.ini")));
        ini.open(QIODevice::WriteOnly);
        ini.write("[BASE]\r\nOPERATORE=op\r\n[PATH]\r\nFILE=" + dir.path().toUtf8() +
                  "\r\nWORK=" + dir.path().toUtf8() + "\r\n[AGENDA]\r\nSuonoSN=N\r\n");
        ini.close();
        const double oggi = std::floor(dateserial::fromDateTime(QDateTime::currentDateTime()));
        bench::SqlitePlain righe(work);
        righe.exec("BEGIN");
        for (int cliente = 1; cliente <= kSchede; ++cliente) {
            righe.exec("INSERT INTO Promemoria VALUES (" + std::to_string(cliente) + ", " +
                       std::to_string(oggi) + ", 'VIS', " + std::to_string(oggi - 1) +
                       ", 'S', NULL)");
        }
        righe.exec("COMMIT");
        for (int cliente = 1; cliente <= kSchede; ++cliente) {
            argomenti.append(
                ArgomentoAvviso{ini.fileName(), cliente, cliente, QStringLiteral("VIS"), oggi}
                    .componi());
            programma.accogliArgomento(argomenti.back());
        }
        QApplication::processEvents();
    }
    SchedaAvviso& mezzo() { return *programma.finestra().schede().at(kSchede / 2 - 50); }

    QTemporaryDir dir;
    Muto suono;
    ProgrammaAvviso programma{suono, kDurateRinvio};
    QStringList argomenti;
};

// Runs `azione` once per iteration and lets the window take it in.
template <typename Azione>
void misura(benchmark::State& state, Finestra& finestra, Azione azione) {
    for (auto _ : state) {
        azione(finestra);
        QApplication::processEvents();
    }
    state.counters["schede"] = static_cast<double>(finestra.programma.finestra().schede().size());
}

void BM_ChiudiUna(benchmark::State& state) {
    Finestra finestra;
    misura(state, finestra, [](Finestra& f) {
        f.mezzo().findChild<QPushButton*>(QStringLiteral("cmdChiudiScheda"))->click();
    });
}

void BM_RimandaUna(benchmark::State& state) {
    Finestra finestra;
    misura(state, finestra, [](Finestra& f) {
        f.mezzo().findChild<QPushButton*>(QStringLiteral("cmdRimandaScheda5"))->click();
    });
}

void BM_ConsegnaRipetuta(benchmark::State& state) {
    Finestra finestra;
    misura(state, finestra,
           [](Finestra& f) { f.programma.accogliArgomento(f.argomenti.at(kSchede / 2)); });
}

void BM_Rileggi(benchmark::State& state) {
    Finestra finestra;
    misura(state, finestra, [](Finestra& f) { f.programma.verifica(); });
}

void BM_FrecciaGiu(benchmark::State& state) {
    Finestra finestra;
    int scheda = 0;
    misura(state, finestra, [&scheda](Finestra& f) {
        QKeyEvent giu(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QApplication::sendEvent(f.programma.finestra().schede().at(scheda++ % (kSchede - 1)), &giu);
    });
}

BENCHMARK(BM_ChiudiUna)->Iterations(kRipetizioni)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RimandaUna)->Iterations(kRipetizioni)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConsegnaRipetuta)->Iterations(kRipetizioni)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rileggi)->Iterations(kRipetizioni / 10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrecciaGiu)->Iterations(kRipetizioni)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return runWidgetBenchmarks(argc, argv);
}
