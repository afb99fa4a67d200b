// Frame-rectangle placement of a window, with the late size correction.
#include "ui/list/adattamentocornice.h"

#include <QEvent>
#include <QWidget>

namespace {

QSize spessoreCornice(const QWidget& finestra) {
    return finestra.frameGeometry().size() - finestra.size();
}

}  // namespace

void AdattamentoCornice::applica(QWidget& finestra, const QRect& esterno) {
    const QSize cornice = spessoreCornice(finestra);
    finestra.move(esterno.topLeft());  // a window's position is that of its frame
    finestra.resize(esterno.size() - cornice);
    if (cornice.isNull())
        finestra.installEventFilter(new AdattamentoCornice(finestra, esterno.size()));
}

AdattamentoCornice::AdattamentoCornice(QWidget& finestra, QSize esterno)
    : QObject(&finestra), finestra_(finestra), esterno_(esterno) {}

// Watches the window until the window system has given it a frame, then takes the frame's
// thickness out of the client size; gives up when the window is hidden again.
bool AdattamentoCornice::eventFilter(QObject* /*oggetto*/, QEvent* evento) {
    const QEvent::Type tipo = evento->type();
    if (tipo == QEvent::Hide) {
        deleteLater();
        return false;
    }
    if (tipo != QEvent::Show && tipo != QEvent::Move && tipo != QEvent::Resize) return false;
    const QSize cornice = spessoreCornice(finestra_);
    if (cornice.isNull() || finestra_.windowState() != Qt::WindowNoState) return false;
    finestra_.removeEventFilter(this);
    deleteLater();
    finestra_.resize(esterno_ - cornice);
    return false;
}
