// Following the application's windows for the alert program.
#include "ui/main/areefinestre.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include "ui/main/canaleavviso.h"

namespace {

constexpr int kRaccoltaMs = 100;

bool cambiaArea(const QEvent& evento) {
    switch (evento.type()) {
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WindowStateChange:
            return true;
        default:
            return false;
    }
}

// A window the operator works in: not a menu, a tooltip or a minimised one.
bool finestraAperta(const QWidget& finestra) {
    const Qt::WindowType tipo = finestra.windowType();
    return (tipo == Qt::Window || tipo == Qt::Dialog) && finestra.isVisible() &&
           !finestra.isMinimized();
}

}  // namespace

AreeFinestre::AreeFinestre(CanaleAvviso& canale, QObject* parent)
    : QObject(parent), canale_(canale) {
    raccolta_.setSingleShot(true);
    raccolta_.setInterval(kRaccoltaMs);
    connect(&raccolta_, &QTimer::timeout, this, [this] { canale_.aree(aperte()); });
    qApp->installEventFilter(this);
}

AreeFinestre::~AreeFinestre() {
    qApp->removeEventFilter(this);
}

void AreeFinestre::dichiara() {
    canale_.aree(aperte(), true);
}

bool AreeFinestre::eventFilter(QObject* oggetto, QEvent* evento) {
    if (cambiaArea(*evento) && oggetto->isWidgetType() &&
        static_cast<QWidget*>(oggetto)->isWindow() && !raccolta_.isActive()) {
        raccolta_.start();
    }
    return QObject::eventFilter(oggetto, evento);
}

QList<QRect> AreeFinestre::aperte() {
    QList<QRect> aree;
    for (const QWidget* finestra : QApplication::topLevelWidgets()) {
        if (finestraAperta(*finestra)) aree.append(finestra->frameGeometry());
    }
    return aree;
}
