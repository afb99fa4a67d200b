// Yielding through the Qt event loop.
#include "platform/eventyielder.h"

#include <QCoreApplication>

void QtEventYielder::yieldToEvents() { QCoreApplication::processEvents(); }
