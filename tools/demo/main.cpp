// scadex-demo DIR [--force] [--server URI]: makes a demo workspace to try the program on.
#include <QCoreApplication>
#include <QDateTime>
#include <QStringList>
#include <QTextStream>
#include <exception>
#include <optional>

#include "app/configurazione.h"
#include "demoworkspace.h"

namespace {

const QString kForce = QStringLiteral("--force");
const QString kServer = QStringLiteral("--server");
const QString kAiuto = QStringLiteral(
    "Uso: scadex-demo CARTELLA [--force] [--server URI]\n"
    "Prepara in CARTELLA un'area di prova di SCADEX: Gestar.ini, i due archivi con\n"
    "clienti, azioni e appuntamenti di prova, un suono d'avviso e un documento.\n"
    "\n"
    "  --force        sostituisce un'area di prova già presente\n"
    "  --server URI   tiene i due archivi sul database PostgreSQL indicato dall'URI\n"
    "                 di connessione (postgresql://...), negli schemi\n"
    "                 scadex_demo_visite e scadex_demo_work, e scrive i loro file\n"
    "                 descrittori al posto dei file\n"
    "  -h, --help     mostra questo aiuto ed esce\n"
    "  -V, --version  mostra la versione ed esce\n");

// A command line the tool cannot follow: the usage on standard error.
int usage(QTextStream& err) {
    err << kAiuto;
    return 2;
}

// Takes "--server URI" out of the arguments; an empty text when absent, nothing when the URI
// is missing.
std::optional<QString> takeServer(QStringList& arguments) {
    const qsizetype at = arguments.indexOf(kServer);
    if (at < 0) return QString();
    if (at + 1 >= arguments.size()) return std::nullopt;
    const QString uri = arguments.at(at + 1);
    arguments.remove(at, 2);
    return uri;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (const std::optional<Opzioni::Richiesta> richiesta =
            RichiestaDiOpzione(RigaDiComando(app.arguments())))
        return RispondiARichiesta(*richiesta, QStringLiteral("scadex-demo"), kAiuto);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList folders = app.arguments().mid(1);
    const bool force = folders.removeAll(kForce) > 0;
    const std::optional<QString> server = takeServer(folders);
    if (!server || folders.size() != 1 || folders.first().startsWith(u'-')) return usage(err);

    const DemoWorkspace workspace(folders.first(), server->toUtf8());
    const QStringList existing = workspace.existingFiles();
    if (!existing.isEmpty() && !force) {
        err << "scadex-demo: un'area di prova c'è già (" << existing.join(QStringLiteral(", "))
            << "); --force la sostituisce\n";
        return 1;
    }
    // The tool's one place for failures: report and give up.
    try {
        workspace.create(QDateTime::currentDateTime());
    } catch (const std::exception& error) {
        err << "scadex-demo: " << error.what() << '\n';
        return 1;
    }
    out << "Area di prova pronta: " << workspace.iniPath() << '\n';
    return 0;
}
