// scadex-grab OUT.png X Y WIDTH HEIGHT [SCALE [HOVERX HOVERY]]: a picture of part of the
// screen for the README, optionally with the pointer resting at a point first (a tooltip).
#include <QCursor>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTextStream>
#include <QThread>

namespace {

constexpr int kAttesaSuggerimentoMs = 2500;

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);
    if (arguments.size() != 5 && arguments.size() != 6 && arguments.size() != 8) {
        QTextStream(stderr)
            << "usage: scadex-grab OUT.png X Y WIDTH HEIGHT [SCALE [HOVERX HOVERY]]\n";
        return 2;
    }
    QList<int> numeri;
    for (const QString& argomento : arguments.mid(1)) numeri.append(argomento.toInt());
    if (numeri.size() == 7) {
        QCursor::setPos(numeri[5], numeri[6]);
        QThread::msleep(kAttesaSuggerimentoMs);
    }
    QScreen* schermo = QGuiApplication::primaryScreen();
    QPixmap immagine = schermo->grabWindow(0, numeri[0], numeri[1], numeri[2], numeri[3]);
    // Tray icons are small: an enlarged picture keeps their pixels sharp.
    const int scala = numeri.size() > 4 ? numeri[4] : 1;
    if (scala > 1) {
        immagine =
            immagine.scaled(immagine.size() * scala, Qt::KeepAspectRatio, Qt::FastTransformation);
    }
    if (!immagine.save(arguments[0])) {
        QTextStream(stderr) << "scadex-grab: cannot write " << arguments[0] << "\n";
        return 1;
    }
    return 0;
}
