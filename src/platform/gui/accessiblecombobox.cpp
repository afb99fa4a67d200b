// The accessible interface of a combo box.
#include "platform/gui/accessiblecombobox.h"

#include <QComboBox>

AccessibleComboBox::AccessibleComboBox(QComboBox* combo)
    : QAccessibleWidget(combo, QAccessible::ComboBox) {}

QComboBox* AccessibleComboBox::combo() const {
    return static_cast<QComboBox*>(widget());
}

QString AccessibleComboBox::text(QAccessible::Text t) const {
    if (t == QAccessible::Value) return combo()->currentText();
    return QAccessibleWidget::text(t);
}

QStringList AccessibleComboBox::actionNames() const {
    return QAccessibleWidget::actionNames() << showMenuAction();
}

void AccessibleComboBox::doAction(const QString& action) {
    if (action == showMenuAction()) {
        combo()->showPopup();
    } else {
        QAccessibleWidget::doAction(action);
    }
}
