// Readable QRect values in the failure messages of these tests.
#pragma once

#include <QRect>
#include <ostream>

inline void PrintTo(const QRect& rettangolo, std::ostream* uscita) {
    *uscita << "QRect(" << rettangolo.x() << ", " << rettangolo.y() << ", " << rettangolo.width()
            << ", " << rettangolo.height() << ")";
}
