// Yielding through the Qt event loop.
#include "platform/eventyielder.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>

// The operator's input waits for the event loop: a click that opened a modal window here
// would hold the poll or rebuild that yields until the window closed, and every tick
// meanwhile would find the poll still running. The input left waiting needs the event
// loop woken again: some dispatchers look at the window system's queue only when woken.
void QtEventYielder::yieldToEvents() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (QAbstractEventDispatcher* dispatcher = QCoreApplication::eventDispatcher()) {
        dispatcher->wakeUp();
    }
}
