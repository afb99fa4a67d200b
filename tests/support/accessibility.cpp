// A walk over a window's accessibility tree.
#include "support/accessibility.h"

#include <QAccessible>
#include <QStringList>
#include <QWidget>

namespace {

// Roles the operator acts on; labels, panes and frames only tell.
bool interactive(const QAccessibleInterface& control) {
    switch (control.role()) {
        case QAccessible::PushButton:
        case QAccessible::ComboBox:
        case QAccessible::EditableText:
        case QAccessible::List:
        case QAccessible::CheckBox:
        case QAccessible::RadioButton:
        case QAccessible::SpinBox:
            return true;
        default:
            return control.state().focusable;
    }
}

// Controls whose value is what the operator typed or chose: their name must say what it is for.
bool holdsValue(QAccessible::Role role) {
    return role == QAccessible::ComboBox || role == QAccessible::EditableText ||
           role == QAccessible::SpinBox;
}

// The roles of a window; Qt presents a plain QWidget window as a pane (Client, a "filler").
bool windowRole(QAccessible::Role role) {
    switch (role) {
        case QAccessible::Window:
        case QAccessible::Dialog:
        case QAccessible::AlertMessage:
            return true;
        default:
            return false;
    }
}

QStringList defects(const QAccessibleInterface& control) {
    QStringList found;
    const QString name = control.text(QAccessible::Name);
    // A screen reader reads a run of blanks, such as a caption's gap for its box, as a pause.
    if (name.contains(QStringLiteral("  "))) found << "blanks in the name";
    if (!interactive(control)) return found;
    // A name of one character, such as "X", says nothing.
    if (name.trimmed().size() < 2) {
        found << "name";
    } else if (holdsValue(control.role()) && name == control.text(QAccessible::Value)) {
        found << "name from the value";
    }
    if (control.text(QAccessible::Description).trimmed().isEmpty()) found << "description";
    return found;
}

void search(QAccessibleInterface& control, QStringList& found) {
    if (control.state().invisible) return;
    // Only the widgets themselves: the lines of a list are its data, not controls.
    if (!qobject_cast<QWidget*>(control.object())) return;
    const QStringList own = defects(control);
    if (!own.isEmpty()) found << control.object()->objectName() + " (" + own.join(", ") + ")";
    for (int i = 0; i < control.childCount(); ++i) {
        if (QAccessibleInterface* child = control.child(i)) search(*child, found);
    }
}

}  // namespace

QString accessibilityDefects(QWidget& window) {
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(&window);
    if (!root) return window.objectName() + " (no interface)";
    QStringList found;
    if (window.isWindow() && !windowRole(root->role()))
        found << window.objectName() + " (the window's role)";
    search(*root, found);
    return found.join(QStringLiteral("; "));
}
