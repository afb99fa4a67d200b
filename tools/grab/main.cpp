// scadex-grab OUT.png X Y WIDTH HEIGHT [SCALE]: a picture of part of the screen, for the README.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTextStream>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);
    if (arguments.size() != 5 && arguments.size() != 6) {
        QTextStream(stderr) << "usage: scadex-grab OUT.png X Y WIDTH HEIGHT [SCALE]\n";
        return 2;
    }
    int zona[4];
    for (int i = 0; i < 4; ++i) zona[i] = arguments[i + 1].toInt();
    const int scala = arguments.size() == 6 ? arguments[5].toInt() : 1;
    QPixmap immagine =
        QGuiApplication::primaryScreen()->grabWindow(0, zona[0], zona[1], zona[2], zona[3]);
    // Tray icons are small: an enlarged picture keeps their pixels sharp.
    if (scala > 1)
        immagine =
            immagine.scaled(immagine.size() * scala, Qt::KeepAspectRatio, Qt::FastTransformation);
    if (!immagine.save(arguments[0])) {
        QTextStream(stderr) << "scadex-grab: cannot write " << arguments[0] << "\n";
        return 1;
    }
    return 0;
}
