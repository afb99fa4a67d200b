// What an assistive technology reads of a window's controls.
#pragma once

#include <QStringList>

class QWidget;

// The visible interactive controls of `finestra`, as QAccessible presents them, that lack an
// accessible name (of two characters at least) or a description: "objectName (what is
// missing)" each, joined with "; ".
QString ControlliSenzaNome(QWidget& finestra);
