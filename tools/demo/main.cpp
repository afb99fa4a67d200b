// scadex-demo DIR [--force]: makes a demo workspace to try the program on.
#include <QCoreApplication>
#include <QDateTime>
#include <QStringList>
#include <QTextStream>
#include <exception>

#include "demoworkspace.h"

namespace {

const QString kForce = QStringLiteral("--force");

int usage(QTextStream& err) {
    err << "usage: scadex-demo DIR [--force]\n"
           "Makes DIR/Gestar.ini, both databases with demo clients, actions and appointments,\n"
           "an alert sound and a document. --force replaces an existing demo workspace.\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList folders = app.arguments().mid(1);
    const bool force = folders.removeAll(kForce) > 0;
    if (folders.size() != 1 || folders.first().startsWith(u'-')) return usage(err);

    const DemoWorkspace workspace(folders.first());
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
