// Screen measures from QGuiApplication's primary screen.
#include "platform/gui/qtscreen.h"

#include <QGuiApplication>
#include <QScreen>

QRect QtScreen::geometry() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

double QtScreen::logicalDpi() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return dpi > 0 ? dpi : 96.0;
}
