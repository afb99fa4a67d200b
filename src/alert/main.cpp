// Entry of the alert program SCADEX1.EXE, started by scadex for each due reminder.
#include <QApplication>
#include <QProcessEnvironment>

#include "alert/avvio.h"
#include "alert/modoavviso.h"
#include "app/configurazione.h"

int main(int argc, char** argv) {
    // scadex passes one argument; typed by hand, a path with blanks may arrive in pieces.
    QStringList argomenti;
    for (int i = 0; i < argc; ++i) argomenti.append(QString::fromLocal8Bit(argv[i]));
    const QString argomento = RigaDiComando(argomenti);

    const ModoAvviso modo = ModoAvviso::daAmbiente(QProcessEnvironment::systemEnvironment());
    if (!modo.finestra) {
        // Action colours may name palette colours, which need the GUI: without a display the
        // offscreen platform provides it.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        return AvvisaSuTerminale(argomento);
    }
    QApplication app(argc, argv);
    return AvvisaInFinestra(argomento, modo.eco);
}
