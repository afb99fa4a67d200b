// Window pictures with their captions.
#include "screenshotter.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include "platform/gui/fonts.h"

namespace {

constexpr int kTitleHeight = 24;
constexpr int kSettleMs = 300;
const QColor kTitleBackground(0, 50, 120);
const QColor kBorder(90, 90, 90);

// Layouts, fonts and the X server's exposures all arrive as events.
void settle() {
    QEventLoop loop;
    QTimer::singleShot(kSettleMs, &loop, &QEventLoop::quit);
    loop.exec();
}

// grab() leaves out the window manager's frame, where the caption is; draw one instead.
QImage withTitleBar(const QPixmap& content, const QString& title) {
    const QSize size(content.width() + 2, content.height() + kTitleHeight + 1);
    QImage image(size, QImage::Format_RGB32);
    image.fill(kBorder);
    QPainter painter(&image);
    const QRect bar(1, 1, content.width(), kTitleHeight - 1);
    painter.fillRect(bar, kTitleBackground);
    painter.setPen(Qt::white);
    painter.setFont(fonts::sansSerif(9, true));
    painter.drawText(bar.adjusted(8, 0, -8, 0), Qt::AlignLeft | Qt::AlignVCenter, title);
    painter.drawPixmap(1, kTitleHeight, content);
    return image;
}

}  // namespace

bool Screenshotter::save(QWidget& window, const QString& name) const {
    settle();
    const QImage image = withTitleBar(window.grab(), window.windowTitle());
    return image.save(QDir(folder_).filePath(name + QStringLiteral(".png")));
}
