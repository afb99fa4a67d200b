// Start of the alert program in either of its ways.
#include "alert/avvio.h"

#include <QApplication>
#include <QTextStream>
#include <optional>

#include "alert/avvisodescritto.h"
#include "alert/programmaavviso.h"
#include "app/chiusura.h"
#include "app/impostazioni.h"
#include "platform/desktopnotifier.h"
#include "platform/gui/accessibility.h"
#include "platform/gui/qtsoundplayer.h"
#include "platform/singleinstance.h"
#include "reminder/argomentoerrato.h"
#include "reminder/messaggi.h"

namespace {

constexpr int kAttesaRitiroMs = 2000;
// SCADEX answers at once when it runs; one that hangs must not hold the alert window up long.
constexpr int kAttesaScadexMs = 1000;

// The reminder of the argument, or nothing after telling why on standard error.
std::optional<Avviso> leggiOSegnala(const QString& argomento) {
    try {
        return LeggiAvviso(argomento);
    } catch (const ArgomentoErrato& errore) {
        QTextStream(stderr) << "SCADEX1.EXE: " << errore.messaggio() << Qt::endl;
        return std::nullopt;
    }
}

}  // namespace

int AvvisaSuTerminale(const QString& argomento) {
    const std::optional<Avviso> avviso = leggiOSegnala(argomento);
    if (!avviso) return kEsitoArgomentoErrato;
    QTextStream(stdout) << DescriviAvviso(*avviso).riga() << Qt::endl;
    return 0;
}

int AvvisaInFinestra(int& argc, char** argv, const QString& argomento, bool eco) {
    const std::optional<Avviso> avviso = leggiOSegnala(argomento);
    if (!avviso) return kEsitoArgomentoErrato;
    // A flood of hand-overs is one start each: those that find the window open cost a socket
    // round trip, not a GUI process holding a display connection.
    SingleInstance istanza(kIstanzaAvviso, impostazioni::postazione(avviso->fileIni));
    switch (istanza.deliverOrListen(argomento.toUtf8())) {
        case SingleInstance::Outcome::Delivered:
            return 0;
        case SingleInstance::Outcome::Unresponsive: {
            const QCoreApplication app(argc, argv);
            DesktopNotifier notifiche;
            return CopiaNonRisponde(notifiche);
        }
        case SingleInstance::Outcome::Elsewhere: {
            const QCoreApplication app(argc, argv);
            DesktopNotifier notifiche;
            return CopiaAltrove(notifiche);
        }
        case SingleInstance::Outcome::Listening:
        case SingleInstance::Outcome::Alone:
            break;
    }

    const QApplication app(argc, argv);
    accessibility::install();
    // The desktop groups the window with SCADEX's: by desktop file where it reads one
    // (Wayland), by window class on X11.
    QGuiApplication::setDesktopFileName(QStringLiteral("scadex"));
    QCoreApplication::setApplicationName(QStringLiteral("scadex"));
    QtSoundPlayer suono;
    QTextStream uscita(stdout);
    ProgrammaAvviso programma(suono, kDurateRinvio, eco ? &uscita : nullptr);
    // The program outlives its window while reminders are put off.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(&programma, &ProgrammaAvviso::concluso, qApp, &QCoreApplication::quit);
    // A message of a newer SCADEX that this copy does not know is left unanswered.
    QObject::connect(&istanza, &SingleInstance::messageReceived, &programma,
                     [&programma](const QByteArray& consegnato) {
                         if (const std::optional<messaggi::PerAvviso> messaggio =
                                 messaggi::leggiPerAvviso(consegnato))
                             programma.accogliMessaggio(*messaggio);
                     });
    const QByteArray postazione = impostazioni::postazione(avviso->fileIni);
    const auto scriviAScadex = [postazione](const messaggi::PerScadex& messaggio) {
        return SingleInstance::tell(kIstanzaScadex, postazione, messaggi::componi(messaggio),
                                    kAttesaScadexMs);
    };
    programma.scriviAScadex(scriviAScadex);
    // Where SCADEX's windows are comes back as a message, before or after the first card.
    scriviAScadex(messaggi::ChiediAree{});
    // A program about to end refuses first: a later start then shows its reminder itself, and
    // one already confirmed is taken in before the end is decided.
    programma.primaDiConcludere([&istanza] {
        istanza.stopListening();
        QCoreApplication::sendPostedEvents(&istanza, QEvent::MetaCall);
    });
    // Where the session has no notification service the window alone tells the operator.
    DesktopNotifier notifiche;
    if (notifiche.available()) programma.notificaSu(notifiche);
    programma.accogli(*avviso);
    const int esito = QApplication::exec();
    // A notification withdrawn as the window closed may still wait for its id.
    notifiche.waitForDelivery(kAttesaRitiroMs);
    return esito;
}
