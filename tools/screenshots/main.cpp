// scadex-screenshots OUTDIR WORKSPACE_DIR: pictures of every window for the README.
#include <QApplication>
#include <QDir>
#include <QTextStream>

#include "demoscreens.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);
    if (arguments.size() != 2) {
        QTextStream(stderr) << "usage: scadex-screenshots OUTDIR WORKSPACE_DIR\n"
                               "Takes the PNGs of every window on a workspace made by "
                               "scadex-demo.\n";
        return 2;
    }
    QDir().mkpath(arguments[0]);
    DemoScreens screens(QDir(arguments[1]).filePath(QStringLiteral("Gestar.ini")), arguments[0]);
    return screens.takeAll() ? 0 : 1;
}
