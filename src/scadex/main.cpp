// Program entry: finds Gestar.ini, loads the main window and runs until ChiudiProgramma.
#include <QApplication>

#include "app/chiusura.h"
#include "app/configurazione.h"
#include "app/globali.h"
#include "platform/gui/qtplatform.h"
#include "platform/singleinstance.h"
#include "ui/main/startup.h"

int main(int argc, char** argv) {
    // The command line is the configuration path as typed, Qt's own options included.
    QStringList argomenti;
    for (int i = 0; i < argc; ++i) argomenti.append(QString::fromLocal8Bit(argv[i]));
    QApplication app(argc, argv);
    QtPlatform platform;
    const std::optional<QString> fileIni =
        CercaFileIni({RigaDiComando(argomenti), QCoreApplication::applicationDirPath(),
                      QCoreApplication::applicationFilePath()},
                     platform.messages);
    if (!fileIni) return 1;
    // One copy per user and Gestar.ini: a later start brings the running copy's window up.
    SingleInstance istanza(QStringLiteral("scadex"), *fileIni);
    if (istanza.deliverOrListen({}) == SingleInstance::Outcome::Delivered) return 0;

    Globali globali;
    globali.FileIni = *fileIni;
    PlatformServices services = platform.services();
    Startup startup(globali, services);
    QObject::connect(&istanza, &SingleInstance::messageReceived, &startup, [&startup] {
        startup.showNormal();
        startup.raise();
        startup.activateWindow();
    });
    if (startup.avvia() != Startup::Avvio::Avviato)
        TerminaAvvioFallito(globali, startup.causaMancatoAvvio(), platform.notifications);
    startup.showMinimized();
    return QApplication::exec();
}
