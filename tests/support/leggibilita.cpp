// Text and background colours of a window's controls, as the palette paints them.
#include "support/leggibilita.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/gui/colori.h"

namespace {

constexpr double kContrastoMinimo = 4.5;  // ordinary text, WCAG level AA

struct Testo {
    QString nome;
    QString testo;
    QColor colore;
    QColor sfondo;
};

// What the control shows as text, empty when it shows none of its own.
QString testoDi(const QWidget& controllo) {
    if (auto* label = qobject_cast<const QLabel*>(&controllo)) return label->text();
    if (auto* pulsante = qobject_cast<const QAbstractButton*>(&controllo)) return pulsante->text();
    if (auto* campo = qobject_cast<const QLineEdit*>(&controllo)) return campo->text();
    if (auto* gruppo = qobject_cast<const QGroupBox*>(&controllo)) return gruppo->title();
    // An editable drop-down shows its text in its own edit field.
    auto* combo = qobject_cast<const QComboBox*>(&controllo);
    return combo && !combo->isEditable() ? combo->currentText() : QString();
}

// Windows, filled widgets and the controls whose style draws a face of their own.
bool dipingeSfondo(const QWidget& widget) {
    return widget.isWindow() || widget.autoFillBackground() ||
           qobject_cast<const QPushButton*>(&widget) || qobject_cast<const QLineEdit*>(&widget) ||
           qobject_cast<const QComboBox*>(&widget);
}

// The colour behind the control: its own face, else that of the nearest widget under it.
QColor sfondoDi(const QWidget& controllo) {
    const QWidget* sotto = &controllo;
    while (!dipingeSfondo(*sotto)) sotto = sotto->parentWidget();
    return sotto->palette().color(sotto->backgroundRole());
}

// A brush the model gives for the line, else the view's colour for it.
QColor coloreVoce(const QModelIndex& voce, int ruoloDati, const QColor& predefinito) {
    const QVariant dato = voce.data(ruoloDati);
    return dato.canConvert<QBrush>() ? dato.value<QBrush>().color() : predefinito;
}

void aggiungiVoci(const QAbstractItemView& vista, QList<Testo>& testi) {
    const QPalette& palette = vista.palette();
    for (int riga = 0; riga < vista.model()->rowCount(); ++riga) {
        const QModelIndex voce = vista.model()->index(riga, 0);
        const bool scelta = vista.selectionModel()->isSelected(voce);
        const QColor colore = palette.color(scelta ? QPalette::HighlightedText : QPalette::Text);
        const QColor sfondo = palette.color(scelta ? QPalette::Highlight : QPalette::Base);
        testi.append({vista.objectName(), voce.data().toString(),
                      coloreVoce(voce, Qt::ForegroundRole, colore),
                      coloreVoce(voce, Qt::BackgroundRole, sfondo)});
    }
}

QList<Testo> testiMostrati(QWidget& finestra) {
    QList<Testo> testi;
    for (QWidget* controllo : finestra.findChildren<QWidget*>()) {
        if (!controllo->isVisible() || !controllo->isEnabled()) continue;
        if (auto* vista = qobject_cast<QAbstractItemView*>(controllo)) aggiungiVoci(*vista, testi);
        const QString testo = testoDi(*controllo);
        if (testo.trimmed().isEmpty()) continue;
        testi.append({controllo->objectName(), testo,
                      controllo->palette().color(controllo->foregroundRole()),
                      sfondoDi(*controllo)});
    }
    return testi;
}

}  // namespace

QString TestiIlleggibili(QWidget& finestra) {
    finestra.ensurePolished();
    QStringList illeggibili;
    for (const Testo& testo : testiMostrati(finestra)) {
        const double rapporto = colori::rapportoContrasto(testo.colore, testo.sfondo);
        if (rapporto >= kContrastoMinimo) continue;
        illeggibili << QStringLiteral("%1 \"%2\" %3")
                           .arg(testo.nome, testo.testo.simplified())
                           .arg(rapporto, 0, 'f', 2);
    }
    return illeggibili.join(QStringLiteral("; "));
}
