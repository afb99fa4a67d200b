// The accessible interface factory of the program's windows and combo boxes.
#include "platform/gui/accessibility.h"

#include <QAccessibleWidget>
#include <QComboBox>
#include <QVariant>

#include "platform/gui/accessiblecombobox.h"

namespace accessibility {

namespace {

constexpr char kRoleProperty[] = "scadexAccessibleRole";

// Asked for each class of an object's hierarchy, most derived first, before Qt's own factory.
QAccessibleInterface* factory(const QString& className, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget) return nullptr;
    const QVariant role = widget->property(kRoleProperty);
    if (role.isValid()) return new QAccessibleWidget(widget, role.value<QAccessible::Role>());
    if (className == u"QComboBox") return new AccessibleComboBox(static_cast<QComboBox*>(widget));
    return nullptr;
}

}  // namespace

void install() {
    QAccessible::installFactory(factory);
}

void setRole(QWidget& window, QAccessible::Role role) {
    window.setProperty(kRoleProperty, QVariant::fromValue(role));
}

}  // namespace accessibility
