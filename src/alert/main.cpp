// Entry of the alert program SCADEX1.EXE, started by scadex for each due reminder.
#include <QApplication>
#include <QProcessEnvironment>

#include "alert/avvio.h"
#include "alert/modoavviso.h"
#include "app/configurazione.h"

namespace {

const QString kAiuto = QStringLiteral(
    "Uso: SCADEX1.EXE ARGOMENTO\n"
    "Mostra in una finestra sopra le altre un promemoria in scadenza di SCADEX:\n"
    "scadex lo avvia per ogni promemoria che scade.\n"
    "\n"
    "ARGOMENTO è un testo di cinque campi separati da \"|\", preso com'è (gli spazi\n"
    "ne fanno parte): file di configurazione|promemoria in attesa|cliente|azione|\n"
    "data e ora. Senza schermo il promemoria è stampato su una riga.\n"
    "\n"
    "  -h, --help     mostra questo aiuto ed esce\n"
    "  -V, --version  mostra la versione ed esce\n");

}  // namespace

int main(int argc, char** argv) {
    // scadex passes one argument; typed by hand, a path with blanks may arrive in pieces.
    QStringList argomenti;
    for (int i = 0; i < argc; ++i) argomenti.append(QString::fromLocal8Bit(argv[i]));
    const QString argomento = RigaDiComando(argomenti);
    // The argument is data: only an option word that is all of it is an option.
    if (const std::optional<Opzioni::Richiesta> richiesta = RichiestaDiOpzione(argomento))
        return RispondiARichiesta(*richiesta, QStringLiteral("SCADEX1.EXE"), kAiuto);

    const ModoAvviso modo = ModoAvviso::daAmbiente(QProcessEnvironment::systemEnvironment());
    if (!modo.finestra) {
        // Action colours may name palette colours, which need the GUI: without a display the
        // offscreen platform provides it.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        return AvvisaSuTerminale(argomento);
    }
    return AvvisaInFinestra(argc, argv, argomento, modo.eco);
}
