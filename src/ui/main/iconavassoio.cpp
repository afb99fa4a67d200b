// The tray icon of the main window.
#include "ui/main/iconavassoio.h"

#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QStyle>

#include "platform/clock.h"
#include "scan/selezionaappuntamenti.h"
#include "scan/statoscansione.h"
#include "util/dateserial.h"

namespace {

constexpr int kLatiIcona[] = {16, 22, 24, 32, 48, 64};
constexpr int kConteggioMassimo = 99;

QPixmap base(int lato) {
    return QPixmap(QStringLiteral(":/scadex/icone/%1x%1/scadex.png").arg(lato));
}

// The style's warning sign over the lower right of the icon.
QPixmap conAvvertimento(int lato) {
    QPixmap pixmap = base(lato);
    const int segno = lato * 3 / 4;
    QPainter pittore(&pixmap);
    pittore.drawPixmap(
        lato - segno, lato - segno,
        QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(segno));
    return pixmap;
}

// The count in a red disc over the lower right of the icon, as large as stays legible.
QPixmap conConteggio(int lato, int conteggio) {
    QPixmap pixmap = base(lato);
    if (conteggio <= 0) return pixmap;
    // Beyond two digits the disc would be unreadable: "99+" says there are more, the tooltip
    // tells how many.
    const QString testo = conteggio > kConteggioMassimo
                              ? QString::number(kConteggioMassimo) + QLatin1Char('+')
                              : QString::number(conteggio);
    QPainter pittore(&pixmap);
    pittore.setRenderHint(QPainter::Antialiasing);
    const qreal diametro = lato * 0.68;
    const QRectF disco(lato - diametro, lato - diametro, diametro, diametro);
    pittore.setPen(QPen(Qt::white, qMax(1.0, lato / 24.0)));
    pittore.setBrush(QColor(0xc6, 0x28, 0x28));
    pittore.drawEllipse(disco.adjusted(0.5, 0.5, -0.5, -0.5));
    QFont carattere = QApplication::font();
    carattere.setBold(true);
    const qreal scala = testo.size() == 1 ? 0.78 : testo.size() == 2 ? 0.58 : 0.42;
    carattere.setPixelSize(qMax(6, qRound(diametro * scala)));
    pittore.setFont(carattere);
    pittore.setPen(Qt::white);
    pittore.drawText(disco, Qt::AlignCenter, testo);
    return pixmap;
}

}  // namespace

IconaVassoio::IconaVassoio(QWidget& finestra, const Clock& clock, ComandiVassoio comandi)
    : QObject(&finestra),
      finestra_(finestra),
      clock_(clock),
      comandi_(std::move(comandi)),
      menu_(new QMenu(&finestra)) {
    elenca_ =
        menu_->addAction(QStringLiteral("&ELENCA"), this, [this] { esegui(comandi_.elenca); });
    parametri_ = menu_->addAction(QStringLiteral("&PARAMETRI"), this,
                                  [this] { esegui(comandi_.parametri); });
    menu_->addSeparator();
    chiudi_ = menu_->addAction(QStringLiteral("&CHIUDI PROMEMORIA"), this, comandi_.chiudi);
    icona_.setContextMenu(menu_);
    icona_.setIcon(disegna(0));
    aggiornaSuggerimento();
    connect(&icona_, &QSystemTrayIcon::activated, this, &IconaVassoio::attivata);
}

IconaVassoio::~IconaVassoio() = default;

void IconaVassoio::mostra() {
    icona_.show();
}

QIcon IconaVassoio::disegna(int conteggio, bool fermo) {
    QIcon icona;
    for (const int lato : kLatiIcona)
        icona.addPixmap(fermo ? conAvvertimento(lato) : conConteggio(lato, conteggio));
    return icona;
}

void IconaVassoio::mostraStato(const StatoScansione& stato) {
    guasto_ = stato.inGuasto() ? std::optional<QString>(stato.causa()) : std::nullopt;
    aggiornaIcona();
    aggiornaSuggerimento();
}

void IconaVassoio::mostraAvvertimento(const QString& avvertimento) {
    if (avvertimenti_.contains(avvertimento)) return;
    avvertimenti_.append(avvertimento);
    aggiornaSuggerimento();
}

void IconaVassoio::mostraSelezione(const EsitoSelezione& esito) {
    const bool cambiato = esito.conteggio() != riepilogo_.conteggio();
    riepilogo_.aggiorna(esito);
    if (cambiato) aggiornaIcona();
    elenca_->setEnabled(esito.elencoAbilitato());
    aggiornaSuggerimento();
}

void IconaVassoio::aggiornaIcona() {
    icona_.setIcon(disegna(riepilogo_.conteggio(), guasto_.has_value()));
}

void IconaVassoio::aggiornaSuggerimento() {
    QString suggerimento =
        guasto_ ? *guasto_ : riepilogo_.suggerimento(dateserial::fromDateTime(clock_.now()));
    for (const QString& avvertimento : avvertimenti_)
        suggerimento += QLatin1Char('\n') + avvertimento;
    icona_.setToolTip(suggerimento);
}

void IconaVassoio::attivata(QSystemTrayIcon::ActivationReason motivo) {
    if (motivo == QSystemTrayIcon::Trigger || motivo == QSystemTrayIcon::DoubleClick) {
        ripristinaFinestra();
    }
}

void IconaVassoio::ripristinaFinestra() {
    finestra_.showNormal();
    finestra_.raise();
    finestra_.activateWindow();
}

// A command of the main window, with the window in view. While a modal window is open the
// window's buttons cannot be reached: that window comes to the front instead.
void IconaVassoio::esegui(const std::function<void()>& comando) {
    if (QWidget* modale = QApplication::activeModalWidget()) {
        modale->raise();
        modale->activateWindow();
        return;
    }
    ripristinaFinestra();
    comando();
}
