// A walk over a window's accessibility tree.
#include "support/accessibilita.h"

#include <QAccessible>
#include <QWidget>

namespace {

// Roles the operator acts on; labels, panes and frames only tell.
bool interattivo(const QAccessibleInterface& controllo) {
    switch (controllo.role()) {
        case QAccessible::PushButton:
        case QAccessible::ComboBox:
        case QAccessible::EditableText:
        case QAccessible::List:
        case QAccessible::CheckBox:
        case QAccessible::RadioButton:
        case QAccessible::SpinBox:
            return true;
        default:
            return controllo.state().focusable;
    }
}

void cerca(QAccessibleInterface& controllo, QStringList& senzaNome) {
    if (controllo.state().invisible) return;
    // Only the widgets themselves: the lines of a list are its data, not controls.
    if (!qobject_cast<QWidget*>(controllo.object())) return;
    if (interattivo(controllo)) {
        QStringList manca;
        // A name of one character, such as "X", says nothing.
        if (controllo.text(QAccessible::Name).trimmed().size() < 2) manca << "nome";
        if (controllo.text(QAccessible::Description).trimmed().isEmpty()) manca << "descrizione";
        if (!manca.isEmpty())
            senzaNome << controllo.object()->objectName() + " (" + manca.join(", ") + ")";
    }
    for (int i = 0; i < controllo.childCount(); ++i) {
        if (QAccessibleInterface* figlio = controllo.child(i)) cerca(*figlio, senzaNome);
    }
}

}  // namespace

QString ControlliSenzaNome(QWidget& finestra) {
    QStringList senzaNome;
    if (QAccessibleInterface* radice = QAccessible::queryAccessibleInterface(&finestra))
        cerca(*radice, senzaNome);
    return senzaNome.join(QStringLiteral("; "));
}
