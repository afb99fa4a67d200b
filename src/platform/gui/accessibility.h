// What assistive technologies read where Qt's own accessible interfaces fall short.
#pragma once

#include <QAccessible>

class QWidget;

namespace accessibility {

// Installs the program's accessible interfaces: windows keep the role setRole gave them, and
// combo boxes are named after their label or accessible name. Called once the QApplication
// exists, before any window is made.
void install();

// The role assistive technologies give `window` (Window, Dialog, AlertMessage): a plain
// QWidget window would be a "filler". Set in the window's constructor.
void setRole(QWidget& window, QAccessible::Role role);

}  // namespace accessibility
