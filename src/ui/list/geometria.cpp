// RipristinaFinestra and SalvaFinestra: a window's frame and state to and from twips.
#include "ui/list/geometria.h"

#include <QWidget>

#include "platform/screen.h"
#include "ui/list/adattamentocornice.h"
#include "ui/list/geometriafinestra.h"

namespace {

bool ridimensionabile(const QWidget& finestra) {
    return !finestra.windowFlags().testFlag(Qt::MSWindowsFixedSizeDialogHint) &&
           finestra.minimumSize() != finestra.maximumSize();
}

StatoFinestra statoDi(const QWidget& finestra) {
    const Qt::WindowStates stato = finestra.windowState();
    if (stato.testFlag(Qt::WindowMinimized)) return StatoFinestra::Minimizzata;
    if (stato & (Qt::WindowMaximized | Qt::WindowFullScreen)) return StatoFinestra::Massimizzata;
    return StatoFinestra::Normale;
}

GeometriaFinestra geometriaDi(const QWidget& finestra, const QString& fileIni,
                              const Screen& schermo) {
    return {fileIni, finestra.objectName(), schermo.sizeTwips()};
}

}  // namespace

void RipristinaFinestra(QWidget& finestra, const QString& fileIni, const Screen& schermo) {
    const QSizeF progetto = schermo.rectToTwips(finestra.frameGeometry()).size();
    const std::optional<QRect> esterno = geometriaDi(finestra, fileIni, schermo)
                                             .daRipristinare(progetto, ridimensionabile(finestra));
    if (!esterno) {
        finestra.setWindowState((finestra.windowState() & ~Qt::WindowMinimized) |
                                Qt::WindowMaximized);
        return;
    }
    AdattamentoCornice::applica(finestra, schermo.rectFromTwips(*esterno));
}

std::optional<QString> SalvaFinestra(const QWidget& finestra, const QString& fileIni,
                                     const Screen& schermo) {
    return geometriaDi(finestra, fileIni, schermo)
        .salva(statoDi(finestra), ridimensionabile(finestra),
               schermo.rectToTwips(finestra.frameGeometry()));
}
