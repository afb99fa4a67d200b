// What an assistive technology reads of a window and its controls.
#pragma once

#include <QString>

class QWidget;

// What an assistive technology would read amiss in `window`, "objectName (what)" each,
// joined with "; ": a window presented as a plain pane instead of a window, dialog or alert; a
// visible interactive control without a name (of two characters at least) or a description,
// or named after its value instead of its label; a name that holds a run of blanks.
QString accessibilityDefects(QWidget& window);
