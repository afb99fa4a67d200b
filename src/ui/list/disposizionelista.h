// Where the list window's resizable controls go for a given client area, in twips.
#pragma once

#include <QRect>
#include <QSize>

struct DisposizioneLista {
    QRect lstApp;
    QRect Command1;

    // The list fills the area under the header, the exit button runs along the bottom; in an
    // area too small for them, widths and heights stop at zero.
    static DisposizioneLista perArea(QSize areaTwips);
};
