// A combo box as assistive technologies read it: named after its label, its text as its value.
#pragma once

#include <QAccessibleWidget>

class QComboBox;

// Qt's own interface names a combo box after its current text on Linux, where it leaves the
// label to a relation that screen readers announce apart: the operator hears "S=Si" instead
// of what it is for.
class AccessibleComboBox : public QAccessibleWidget {
public:
    explicit AccessibleComboBox(QComboBox* combo);

    // Name: the accessible name, or the text of the label whose buddy it is; Value: the text
    // shown.
    QString text(QAccessible::Text t) const override;
    // Opening the list, beside Qt's actions of any widget.
    QStringList actionNames() const override;
    void doAction(const QString& action) override;

private:
    QComboBox* combo() const;
};
