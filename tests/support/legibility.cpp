// Text and background colours of a window's controls, as the palette paints them.
#include "support/legibility.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/gui/colors.h"

namespace {

constexpr double kLeastContrast = 4.5;  // ordinary text, WCAG level AA

struct ShownText {
    QString name;
    QString text;
    QColor color;
    QColor background;
};

// What the control shows as text, empty when it shows none of its own.
QString textOf(const QWidget& control) {
    if (auto* label = qobject_cast<const QLabel*>(&control)) return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(&control)) return button->text();
    if (auto* edit = qobject_cast<const QLineEdit*>(&control)) return edit->text();
    if (auto* group = qobject_cast<const QGroupBox*>(&control)) return group->title();
    // An editable drop-down shows its text in its own edit field.
    auto* combo = qobject_cast<const QComboBox*>(&control);
    return combo && !combo->isEditable() ? combo->currentText() : QString();
}

// Windows, filled widgets and the controls whose style draws a face of their own.
bool paintsBackground(const QWidget& widget) {
    return widget.isWindow() || widget.autoFillBackground() ||
           qobject_cast<const QPushButton*>(&widget) || qobject_cast<const QLineEdit*>(&widget) ||
           qobject_cast<const QComboBox*>(&widget);
}

// The colour behind the control: its own face, else that of the nearest widget under it.
QColor backgroundOf(const QWidget& control) {
    const QWidget* under = &control;
    while (!paintsBackground(*under)) under = under->parentWidget();
    return under->palette().color(under->backgroundRole());
}

// A brush the model gives for the line, else the view's colour for it.
QColor itemColor(const QModelIndex& item, int dataRole, const QColor& fallback) {
    const QVariant data = item.data(dataRole);
    return data.canConvert<QBrush>() ? data.value<QBrush>().color() : fallback;
}

void addItems(const QAbstractItemView& view, QList<ShownText>& texts) {
    const QPalette& palette = view.palette();
    for (int row = 0; row < view.model()->rowCount(); ++row) {
        const QModelIndex item = view.model()->index(row, 0);
        const bool selected = view.selectionModel()->isSelected(item);
        const QColor color = palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
        const QColor background = palette.color(selected ? QPalette::Highlight : QPalette::Base);
        texts.append({view.objectName(), item.data().toString(),
                      itemColor(item, Qt::ForegroundRole, color),
                      itemColor(item, Qt::BackgroundRole, background)});
    }
}

QList<ShownText> shownTexts(QWidget& window) {
    QList<ShownText> texts;
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (!control->isVisible() || !control->isEnabled()) continue;
        if (auto* view = qobject_cast<QAbstractItemView*>(control)) addItems(*view, texts);
        const QString text = textOf(*control);
        if (text.trimmed().isEmpty()) continue;
        texts.append({control->objectName(), text,
                      control->palette().color(control->foregroundRole()), backgroundOf(*control)});
    }
    return texts;
}

}  // namespace

QString illegibleTexts(QWidget& window) {
    window.ensurePolished();
    QStringList illegible;
    for (const ShownText& shown : shownTexts(window)) {
        const double ratio = colors::contrastRatio(shown.color, shown.background);
        if (ratio >= kLeastContrast) continue;
        illegible << QStringLiteral("%1 \"%2\" %3")
                         .arg(shown.name, shown.text.simplified())
                         .arg(ratio, 0, 'f', 2);
    }
    return illegible.join(QStringLiteral("; "));
}
