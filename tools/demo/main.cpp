// scadex-demo DIR [--force] [--server URI]: makes a demo workspace to try the program on.
#include <QCoreApplication>
#include <QDateTime>
#include <QStringList>
#include <QTextStream>
#include <exception>
#include <optional>

#include "demoworkspace.h"

namespace {

const QString kForce = QStringLiteral("--force");
const QString kServer = QStringLiteral("--server");

int usage(QTextStream& err) {
    err << "usage: scadex-demo DIR [--force] [--server URI]\n"
           "Makes DIR/Gestar.ini, both databases with demo clients, actions and appointments,\n"
           "an alert sound and a document. --force replaces an existing demo workspace.\n"
           "--server keeps both databases on the PostgreSQL server database named by the\n"
           "connection URI (postgresql://...), in schemas scadex_demo_visite and\n"
           "scadex_demo_work, and writes their descriptor files in place of the files.\n";
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
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList folders = app.arguments().mid(1);
    const bool force = folders.removeAll(kForce) > 0;
    const std::optional<QString> server = takeServer(folders);
    if (!server || folders.size() != 1 || folders.first().startsWith(u'-')) return usage(err);

    const DemoWorkspace workspace(folders.first(), server->toUtf8());
    const QStringList existing = workspace.existingFiles();
    if (!existing.isEmpty() && !force) {
        err << "scadex-demo: a workspace already exists (" << existing.join(QStringLiteral(", "))
            << "); use --force to replace it\n";
        return 1;
    }
    // The tool's one place for failures: report and give up.
    try {
        workspace.create(QDateTime::currentDateTime());
    } catch (const std::exception& error) {
        err << "scadex-demo: " << error.what() << '\n';
        return 1;
    }
    out << "Demo workspace ready: " << workspace.iniPath() << '\n';
    return 0;
}
