// Opening the list window over many due appointments (the main window's lines already built).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include "platform/clock.h"
#include "platform/desktopnotifier.h"
#include "platform/eventyielder.h"
#include "platform/gui/qtfiledialog.h"
#include "platform/gui/qtmessagebox.h"
#include "platform/gui/qtscreen.h"
#include "platform/gui/qtsoundplayer.h"
#include "platform/processlauncher.h"
#include "platform/qtdocumentopener.h"
#include "platform/services.h"
#include "ui/list/listaapp.h"

namespace {

// Display lines and keys laid out as the rebuild makes them.
void righeDimostrative(qsizetype quante, QStringList& righe, QList<ChiavePromemoria>& chiavi) {
    righe.reserve(quante);
    chiavi.reserve(quante);
    for (qsizetype i = 0; i < quante; ++i) {
        const QString cliente = QString::number(i % 9999999);
        righe << QStringLiteral("06/12/26 09:05 %1 %2 nota %3")
                     .arg(cliente, 7)
                     .arg(QStringLiteral("VISITA DI CONTROLLO"), -50)
                     .arg(i);
        chiavi.append({static_cast<qint32>(i % 9999999), 46362.378472222, QStringLiteral("VIS")});
    }
}

void BM_AperturaListaApp(benchmark::State& stato) {
    QStringList righe;
    QList<ChiavePromemoria> chiavi;
    righeDimostrative(stato.range(0), righe, chiavi);

    QTemporaryDir cartella;
    const QString fileIni = cartella.filePath(QStringLiteral("Gestar.ini"));
    SystemClock orologio;
    QtProcessLauncher avvio;
    QtEventYielder eventi;
    QtMessageBox messaggi;
    QtScreen schermo;
    QtSoundPlayer suono;
    QtFileDialog dialogo;
    QtDocumentOpener documenti;
    DesktopNotifier notifiche;
    PlatformServices piattaforma{orologio, avvio,   eventi,    messaggi, schermo,
                                 suono,    dialogo, documenti, notifiche};

    for (auto _ : stato) {
        auto* lista = new ListaApp(
            fileIni, piattaforma, righe, chiavi,
            [](const ChiavePromemoria&) -> qint16 { return 0; }, [] {});
        lista->show();
        QCoreApplication::processEvents();  // layout and first paint
        stato.PauseTiming();
        delete lista;
        stato.ResumeTiming();
    }
    stato.SetItemsProcessed(stato.iterations() * stato.range(0));
}

BENCHMARK(BM_AperturaListaApp)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
