// Program entry: finds Gestar.ini, loads the main window and runs until ChiudiProgramma.
#include <QApplication>
#include <QFileInfo>
#include <cstdio>

#include "app/chiusura.h"
#include "app/configurazione.h"
#include "app/impostazioni.h"
#include "app/ini.h"
#include "app/sessione.h"
#include "db/instancelock.h"
#include "platform/gui/accessibility.h"
#include "platform/gui/displayconnection.h"
#include "platform/gui/qtplatform.h"
#include "platform/gui/qttranslations.h"
#include "platform/notifier.h"
#include "platform/singleinstance.h"
#include "reminder/messaggi.h"
#include "ui/main/iconavassoio.h"
#include "ui/main/startup.h"
#include "util/diagnostic.h"

namespace {

// The configuration file, or nothing when the program must end. At login a user without
// SCADEX settings gets one diagnostic line and no box.
std::optional<QString> fileIniDiAvvio(const Opzioni& opzioni, MessageBox& messaggi) {
    const AvvioProgramma avvio{opzioni.rigaDiComando, QCoreApplication::applicationDirPath(),
                               QCoreApplication::applicationFilePath()};
    if (!opzioni.avvioAutomatico) return CercaFileIni(avvio, messaggi);
    std::optional<QString> fileIni = TrovaFileIni(avvio);
    if (!fileIni)
        std::fputs("SCADEX NON AVVIATO: nessun Gestar.ini da usare all'accesso\n", stderr);
    return fileIni;
}

// A copy that could not lock its work database may remind beside another workstation's: the
// operator is told where they look, in the tray and in one notification; `causa` goes to the
// diagnostic output.
void avvisaSenzaBlocco(IconaVassoio& vassoio, Notifier& notifiche, const QString& luogo,
                       const QString& causa) {
    logDiagnostic(QStringLiteral("copia unica non garantita: ") + causa);
    const QString testo =
        QStringLiteral(
            "Impossibile bloccare %1: un'altra postazione potrebbe dare gli stessi "
            "promemoria.")
            .arg(luogo);
    vassoio.mostraAvvertimento(testo);
    notifiche.notify(NotificationKind::Critical, QStringLiteral("COPIA UNICA NON GARANTITA"),
                     testo);
}

}  // namespace

int main(int argc, char** argv) {
    // The command line is the configuration path as typed, Qt's own options included.
    QStringList argomenti;
    for (int i = 0; i < argc; ++i) argomenti.append(QString::fromLocal8Bit(argv[i]));
    const Opzioni opzioni = LeggiOpzioni(argomenti);
    if (opzioni.richiesta != Opzioni::Richiesta::Avvio) {
        return RispondiARichiesta(opzioni.richiesta, QStringLiteral("scadex"),
                                  TestoAiuto(QFileInfo(argomenti.first()).fileName()));
    }
    std::optional<DisplayConnection> schermo;
    schermo.emplace(QStringLiteral("SCADEX NON AVVIATO: nessuno schermo a cui collegarsi"),
                    opzioni.avvioAutomatico ? 0 : 1);
    QApplication app(argc, argv);
    schermo.reset();
    loadQtTranslations(app);
    accessibility::install();
    QtPlatform platform;
    const std::optional<QString> fileIni = fileIniDiAvvio(opzioni, platform.messages);
    if (!fileIni) return opzioni.avvioAutomatico ? 0 : 1;
    // One copy per work database, on whichever workstation: the copy holding the database's
    // lock reminds, and a later start on its workstation brings its window up. The lock is
    // held until the process ends.
    const std::optional<Percorsi> percorsi = impostazioni::leggiPercorsi(IniLetto(*fileIni));
    std::optional<db::InstanceLock> blocco;
    SingleInstance::TakeLock prendiBlocco;
    if (percorsi) {
        blocco.emplace(percorsi->fileWork());
        prendiBlocco = [&blocco] { return blocco->tryTake(); };
    }
    SingleInstance istanza(kIstanzaScadex, impostazioni::postazione(*fileIni), prendiBlocco);
    switch (istanza.deliverOrListen({})) {
        case SingleInstance::Outcome::Delivered:
            return 0;
        case SingleInstance::Outcome::Unresponsive:
            return CopiaNonRisponde(platform.notifications);
        case SingleInstance::Outcome::Elsewhere:
            return CopiaAltrove(platform.notifications);
        case SingleInstance::Outcome::Listening:
        case SingleInstance::Outcome::Alone:
            break;
    }

    Sessione sessione(*fileIni);
    PlatformServices services = platform.services();
    Startup startup(sessione, services);
    QObject::connect(&istanza, &SingleInstance::messageReceived, &startup,
                     [&startup](const QByteArray& messaggio) {
                         if (const auto letto = messaggi::leggiPerScadex(messaggio))
                             startup.accogli(*letto);
                     });
    if (startup.avvia() != Startup::Avvio::Avviato)
        TerminaAvvioFallito(sessione, startup.causaMancatoAvvio(), startup.dettaglioMancatoAvvio(),
                            platform.notifications);
    if (istanza.lockFailure())
        avvisaSenzaBlocco(startup.vassoio(), platform.notifications, blocco->place(),
                          *istanza.lockFailure());
    startup.showMinimized();
    return QApplication::exec();
}
