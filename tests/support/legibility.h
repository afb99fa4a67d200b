// How well a window's texts stand out from what they are painted on.
#pragma once

#include <QString>

class QWidget;

// The texts shown by the visible, enabled controls of `window` (labels, buttons, edit
// fields, drop-downs, frame titles, list lines) whose colour stands out from their background
// by less than 4.5 to 1: "name \"text\" ratio" each, joined with "; ".
QString illegibleTexts(QWidget& window);
