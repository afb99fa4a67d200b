// Opening the list window over many due appointments: its lines made from the last rebuild.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include "platform/clock.h"
#include "platform/copymessenger.h"
#include "platform/desktopnotifier.h"
#include "platform/eventyielder.h"
#include "platform/gui/qtfiledialog.h"
#include "platform/gui/qtmessagebox.h"
#include "platform/gui/qtscreen.h"
#include "platform/gui/qtsoundplayer.h"
#include "platform/processlauncher.h"
#include "platform/qtdocumentopener.h"
#include "platform/services.h"
#include "scan/selezionaappuntamenti.h"
#include "ui/list/listaapp.h"
#include "widgetsmain.h"

namespace {

// A rebuild's result: appointments in the slots of a few days, as a book has them.
EsitoSelezione selezioneDimostrativa(qsizetype quanti) {
    EsitoSelezione esito;
    esito.appuntamenti.reserve(quanti);
    for (qsizetype i = 0; i < quanti; ++i) {
        const double momento = 46362 + static_cast<double>(i % 960) / 96;  // 15-minute slots
        esito.appuntamenti.append(
            {static_cast<qint32>(i % 9999999), QStringLiteral("nota %1").arg(i),
             QStringLiteral("VISITA DI CONTROLLO"), momento, QStringLiteral("VIS")});
    }
    return esito;
}

void BM_AperturaListaApp(benchmark::State& stato) {
    const EsitoSelezione selezione = selezioneDimostrativa(stato.range(0));

    QTemporaryDir cartella;
    const QString fileIni = cartella.filePath(QStringLiteral("Gestar.ini"));
    SystemClock orologio;
    QtProcessLauncher avvio;
    QtEventYielder eventi;
    QtMessageBox messaggi;
    QtScreen schermo;
    QtSoundPlayer suono;
    QtFileDialog dialogo;
    QtDocumentOpener documenti{QStringLiteral("xdg-open")};
    DesktopNotifier notifiche;
    SocketCopyMessenger copie;
    PlatformServices piattaforma{orologio, avvio,   eventi,    messaggi,  schermo,
                                 suono,    dialogo, documenti, notifiche, copie};

    for (auto _ : stato) {
        auto* lista = new ListaApp(
            fileIni, piattaforma, selezione.righe(), selezione.chiavi(),
            [](const ChiavePromemoria&) { return Comando::ImpostaAvviso; }, [] {});
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
    return runWidgetBenchmarks(argc, argv);
}
