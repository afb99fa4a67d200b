// Where the alert window goes so that it covers none of SCADEX's open windows.
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

struct PostoAvviso {
    QPoint angolo;      // the window's top-left corner
    bool sopra = true;  // it may stay on top of other windows: it covers none of SCADEX's

    bool operator==(const PostoAvviso&) const = default;
};

// The first corner of `area` (the screen less its panels), bottom-right, bottom-left, top-right,
// top-left, where a window of size `finestra` overlaps none of `occupate`. Where every corner
// overlaps one, the bottom-right, not kept on top.
PostoAvviso ScegliPostoAvviso(const QRect& area, const QSize& finestra,
                              const QList<QRect>& occupate);
