// Typing into the amount box: at most five characters, either decimal key gives the separator.
#include "ui/reminder/campoquantita.h"

#include <QKeyEvent>
#include <QTimer>

#include "util/regionalformats.h"

namespace {

// Typing is limited; a longer lead shown at load keeps all its digits.
constexpr qsizetype kCaratteriDigitabili = 5;
// Entering the box selects this much of it, so typing replaces the amount.
constexpr int kCaratteriSelezionati = 10;

// The full stop and the comma both type the region's decimal separator: the number format
// would otherwise read "1.5" as fifteen and silently set a wrong alarm.
QChar tastoDecimale(QChar tasto) {
    const bool decimale = tasto == QLatin1Char('.') || tasto == QLatin1Char(',');
    return decimale ? RegionalFormats::current().decimalSeparator : tasto;
}

}  // namespace

CampoQuantita::CampoQuantita(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textEdited, this, &CampoQuantita::limitaModifica);
}

// Pasted or dropped text obeys the typing limit: an edit that leaves more than five
// characters is taken back, unless it shortens a longer lead shown at load.
void CampoQuantita::limitaModifica(const QString& modificato) {
    // Taking an edit back and giving it again are edits too.
    if (correggendo_ || modificato.size() <= kCaratteriDigitabili || !isUndoAvailable()) return;
    correggendo_ = true;
    undo();
    if (modificato.size() < text().size()) redo();
    correggendo_ = false;
}

void CampoQuantita::keyPressEvent(QKeyEvent* event) {
    const QString digitato = event->text();
    if (digitato.size() != 1 || !digitato.at(0).isPrint()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    if (text().size() - selectedText().size() >= kCaratteriDigitabili) return;
    insert(QString(tastoDecimale(digitato.at(0))));
}

void CampoQuantita::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // After the focus change a mouse press would move the cursor; select once it is done.
    QTimer::singleShot(0, this, [this] { setSelection(0, kCaratteriSelezionati); });
}
