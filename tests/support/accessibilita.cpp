// A walk over a window's accessibility tree.
#include "support/accessibilita.h"

#include <QAccessible>
#include <QStringList>
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

// Controls whose value is what the operator typed or chose: their name must say what it is for.
bool conValore(QAccessible::Role ruolo) {
    return ruolo == QAccessible::ComboBox || ruolo == QAccessible::EditableText ||
           ruolo == QAccessible::SpinBox;
}

// The roles of a window; Qt presents a plain QWidget window as a pane (Client, a "filler").
bool diFinestra(QAccessible::Role ruolo) {
    switch (ruolo) {
        case QAccessible::Window:
        case QAccessible::Dialog:
        case QAccessible::AlertMessage:
            return true;
        default:
            return false;
    }
}

QStringList difetti(const QAccessibleInterface& controllo) {
    QStringList trovati;
    const QString nome = controllo.text(QAccessible::Name);
    // A screen reader reads a run of blanks, such as a caption's gap for its box, as a pause.
    if (nome.contains(QStringLiteral("  "))) trovati << "spazi nel nome";
    if (!interattivo(controllo)) return trovati;
    // A name of one character, such as "X", says nothing.
    if (nome.trimmed().size() < 2) {
        trovati << "nome";
    } else if (conValore(controllo.role()) && nome == controllo.text(QAccessible::Value)) {
        trovati << "nome dal valore";
    }
    if (controllo.text(QAccessible::Description).trimmed().isEmpty()) trovati << "descrizione";
    return trovati;
}

void cerca(QAccessibleInterface& controllo, QStringList& trovati) {
    if (controllo.state().invisible) return;
    // Only the widgets themselves: the lines of a list are its data, not controls.
    if (!qobject_cast<QWidget*>(controllo.object())) return;
    const QStringList suoi = difetti(controllo);
    if (!suoi.isEmpty()) trovati << controllo.object()->objectName() + " (" + suoi.join(", ") + ")";
    for (int i = 0; i < controllo.childCount(); ++i) {
        if (QAccessibleInterface* figlio = controllo.child(i)) cerca(*figlio, trovati);
    }
}

}  // namespace

QString DifettiAccessibili(QWidget& finestra) {
    QAccessibleInterface* radice = QAccessible::queryAccessibleInterface(&finestra);
    if (!radice) return finestra.objectName() + " (nessuna interfaccia)";
    QStringList trovati;
    if (finestra.isWindow() && !diFinestra(radice->role()))
        trovati << finestra.objectName() + " (ruolo della finestra)";
    cerca(*radice, trovati);
    return trovati.join(QStringLiteral("; "));
}
