// Asynchronous window-system input for tests.
#include "support/userinput.h"

#include <qpa/qwindowsysteminterface.h>
#include <QWidget>
#include <QWindow>

void queueClick(QWidget* widget) {
    QWidget* window = widget->window();
    const QPointF local = widget->mapTo(window, widget->rect().center());
    const QPointF global = widget->mapToGlobal(widget->rect().center());
    using Async = QWindowSystemInterface::AsynchronousDelivery;
    QWindowSystemInterface::handleMouseEvent<Async>(window->windowHandle(), local, global,
                                                    Qt::LeftButton, Qt::LeftButton,
                                                    QEvent::MouseButtonPress);
    QWindowSystemInterface::handleMouseEvent<Async>(window->windowHandle(), local, global,
                                                    Qt::NoButton, Qt::LeftButton,
                                                    QEvent::MouseButtonRelease);
}
