// Placing a window by its outer (frame) rectangle, even before the frame's thickness is known.
#pragma once

#include <QObject>
#include <QRect>
#include <QSize>

class QWidget;

class AdattamentoCornice : public QObject {
    Q_OBJECT

public:
    // Moves and sizes `finestra` so that its frame covers `esterno` (pixels). A window not
    // shown yet may have no frame: its size is then corrected once the frame appears.
    static void applica(QWidget& finestra, const QRect& esterno);

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    AdattamentoCornice(QWidget& finestra, QSize esterno);

    QWidget& finestra_;
    QSize esterno_;
};
