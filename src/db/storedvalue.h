// Values on their way into and out of the engine.
#pragma once

#include <QVariant>

namespace db {

// A value as the engine should store it: dates as day serials, every whole number as 64 bits.
QVariant toStorable(const QVariant& value);

}  // namespace db
