// Layout, placing and showing of the alert window.
#include "alert/finestraavviso.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

#include "alert/elencoavvisi.h"
#include "alert/postoavviso.h"
#include "alert/rinvio.h"
#include "alert/schedaavviso.h"
#include "platform/gui/accessibility.h"
#include "platform/gui/fonts.h"

namespace {

constexpr int kLarghezza = 460;
// Beyond about two cards the list scrolls instead of growing off the screen.
constexpr int kAltezzaMassimaSchede = 330;
// More cards than this always fill that height: then a card more or less changes nothing.
constexpr qsizetype kSchedeOltreLAltezza = 4;
constexpr double kPunti = 10;

QPushButton* pulsante(const QString& nome, const QString& testo) {
    auto* tasto = new QPushButton(testo);
    tasto->setObjectName(nome);
    tasto->setFont(fonts::sansSerif(kPunti, true));
    return tasto;
}

QLabel* etichetta(const QString& nome) {
    auto* label = new QLabel;
    label->setObjectName(nome);
    label->setFont(fonts::sansSerif(kPunti, false));
    return label;
}

}  // namespace

FinestraAvviso::FinestraAvviso(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowStaysOnTopHint) {
    // A screen reader announces an alert as it appears, whatever the operator is doing.
    accessibility::setRole(*this, QAccessible::AlertMessage);
    setObjectName(QStringLiteral("FinestraAvviso"));
    setWindowTitle(QStringLiteral("SCADEX - AVVISO"));
    // A reminder must not take the keyboard from whatever the operator is typing in.
    setAttribute(Qt::WA_ShowWithoutActivating);

    area_ = new QScrollArea;
    area_->setObjectName(QStringLiteral("schede"));
    area_->setWidgetResizable(true);
    area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area_->setFrameShape(QFrame::NoFrame);
    area_->setAccessibleName(QStringLiteral("Promemoria in scadenza"));
    area_->setAccessibleDescription(
        QStringLiteral("Gli appuntamenti di cui avvisare, in ordine di avviso"));
    auto* contenuto = new QWidget;
    colonna_ = new QVBoxLayout(contenuto);
    colonna_->setContentsMargins(0, 0, 0, 0);
    colonna_->addStretch();
    area_->setWidget(contenuto);

    lbInAttesa_ = etichetta(QStringLiteral("lbInAttesa"));
    lbEsito_ = etichetta(QStringLiteral("lbEsito"));
    lbEsito_->setWordWrap(true);
    lbEsito_->hide();
    cmdChiudi_ = pulsante(QStringLiteral("cmdChiudi"), QStringLiteral("&CHIUDI TUTTI"));
    cmdChiudi_->setAccessibleDescription(
        QStringLiteral("Chiude l'avviso con tutti i promemoria senza rimandarli"));
    connect(cmdChiudi_, &QPushButton::clicked, this, &QWidget::close);

    auto* pulsanti = new QHBoxLayout;
    for (std::size_t rinvio = 0; rinvio < kRinvii.size(); ++rinvio) {
        pulsanti->addWidget(rimanda(rinvio));
    }
    pulsanti->addStretch();
    pulsanti->addWidget(cmdChiudi_);
    auto* colonna = new QVBoxLayout(this);
    colonna->addWidget(area_);
    colonna->addWidget(lbInAttesa_);
    colonna->addWidget(lbEsito_);
    colonna->addLayout(pulsanti);
    // Wide enough for the buttons whole, whatever the font.
    setFixedWidth(std::max(kLarghezza, colonna->sizeHint().width()));

    // The frame follows the keyboard from card to card and into a card's buttons.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* prima, QWidget* dopo) {
        for (QWidget* widget : {prima, dopo}) {
            for (; widget && widget != this; widget = widget->parentWidget()) {
                if (qobject_cast<SchedaAvviso*>(widget)) widget->update();
            }
        }
    });
}

QPushButton* FinestraAvviso::rimanda(std::size_t rinvio) {
    QPushButton* cmdRimanda =
        pulsante(QString::fromLatin1(kRinvii.at(rinvio).nome), kRinvii.at(rinvio).testoPulsante());
    cmdRimanda->setAccessibleDescription(
        QStringLiteral("Nasconde tutti i promemoria e li ripropone passato il tempo indicato"));
    connect(cmdRimanda, &QPushButton::clicked, this, [this, rinvio] { emit rinviata(rinvio); });
    return cmdRimanda;
}

SchedaAvviso* FinestraAvviso::nuovaScheda(const ElencoAvvisi& elenco, qsizetype indice) {
    auto* scheda = new SchedaAvviso(elenco.voci().at(indice).descritto);
    const auto posto = [this, scheda] { return schede_.indexOf(scheda); };
    connect(scheda, &SchedaAvviso::chiusa, this, [this, posto] { emit schedaChiusa(posto()); });
    connect(scheda, &SchedaAvviso::aperta, this, [this, posto] { emit schedaAperta(posto()); });
    connect(scheda, &SchedaAvviso::rinviata, this,
            [this, posto](std::size_t rinvio) { emit schedaRinviata(posto(), rinvio); });
    connect(scheda, &SchedaAvviso::passo, this,
            [this, scheda](int verso) { passo(scheda, verso); });
    return scheda;
}

void FinestraAvviso::aggiungi(const ElencoAvvisi& elenco, qsizetype indice) {
    SchedaAvviso* scheda = nuovaScheda(elenco, indice);
    schede_.insert(indice, scheda);
    colonna_->insertWidget(static_cast<int>(indice), scheda);
    // Shown now, not at the next turn of the event loop: the height counts it.
    scheda->show();
    conta(elenco);
    adattaAltezza();
}

void FinestraAvviso::aggiorna(const ElencoAvvisi& elenco, qsizetype indice) {
    schede_.at(indice)->aggiorna(elenco.voci().at(indice).descritto);
}

void FinestraAvviso::togli(const ElencoAvvisi& elenco, qsizetype indice) {
    SchedaAvviso* scheda = schede_.takeAt(indice);
    const QWidget* attivo = QApplication::focusWidget();
    if (attivo && (attivo == scheda || scheda->isAncestorOf(attivo)) && !schede_.isEmpty())
        schede_.at(std::min(indice, schede_.size() - 1))->setFocus();
    colonna_->removeWidget(scheda);
    scheda->hide();
    // It may be the card whose button is still telling of the click.
    scheda->deleteLater();
    conta(elenco);
    adattaAltezza();
}

void FinestraAvviso::riordina(const QList<qsizetype>& prima) {
    QList<SchedaAvviso*> ordinate;
    ordinate.reserve(prima.size());
    for (const qsizetype posto : prima) ordinate.append(schede_.at(posto));
    for (SchedaAvviso* scheda : std::as_const(schede_)) colonna_->removeWidget(scheda);
    schede_ = std::move(ordinate);
    for (qsizetype i = 0; i < schede_.size(); ++i)
        colonna_->insertWidget(static_cast<int>(i), schede_.at(i));
}

void FinestraAvviso::passo(SchedaAvviso* scheda, int verso) {
    const qsizetype dove = schede_.indexOf(scheda) + verso;
    if (dove < 0 || dove >= schede_.size()) return;
    schede_.at(dove)->setFocus(Qt::OtherFocusReason);
    area_->ensureWidgetVisible(schede_.at(dove));
}

void FinestraAvviso::conta(const ElencoAvvisi& elenco) {
    lbInAttesa_->setText(
        QStringLiteral("Promemoria in questa finestra: %1").arg(elenco.mostrati()));
}

void FinestraAvviso::presenta() {
    show();
    if (sopra_) raise();
    const QWidget* attivo = focusWidget();
    if (!schede_.isEmpty() && (!attivo || attivo == cmdChiudi_)) schede_.first()->setFocus();
}

void FinestraAvviso::svuota() {
    for (SchedaAvviso* scheda : std::exchange(schede_, {})) {
        colonna_->removeWidget(scheda);
        scheda->hide();
        scheda->deleteLater();
    }
    lbEsito_->hide();
}

void FinestraAvviso::richiama() {
    showNormal();
    raise();
    activateWindow();
}

void FinestraAvviso::evita(const QList<QRect>& finestre) {
    evitate_ = finestre;
    colloca();
}

void FinestraAvviso::segnala(const QString& testo) {
    lbEsito_->setText(testo);
    lbEsito_->show();
    adattaAltezza();
}

void FinestraAvviso::closeEvent(QCloseEvent* evento) {
    QWidget::closeEvent(evento);
    emit chiusa();
}

// As tall as the cards need, up to a limit. Once the list scrolls, a further card changes
// nothing here: no layout of every card at each one.
void FinestraAvviso::adattaAltezza() {
    if (area_->height() == kAltezzaMassimaSchede && schede_.size() > kSchedeOltreLAltezza) return;
    QWidget* contenuto = area_->widget();
    const int larghezzaUtile =
        width() - layout()->contentsMargins().left() - layout()->contentsMargins().right();
    const int piena = contenuto->hasHeightForWidth() ? contenuto->heightForWidth(larghezzaUtile)
                                                     : contenuto->sizeHint().height();
    area_->setFixedHeight(std::min(piena, kAltezzaMassimaSchede));
    adjustSize();
    colloca();
}

// A corner clear of SCADEX's windows, kept on top of others only while it covers none of them.
void FinestraAvviso::colloca() {
    const PostoAvviso posto =
        ScegliPostoAvviso(screen()->availableGeometry(), frameGeometry().size(), evitate_);
    if (posto.sopra != sopra_) {
        sopra_ = posto.sopra;
        const bool visibile = isVisible();
        // Changing the flags hides the window.
        setWindowFlag(Qt::WindowStaysOnTopHint, sopra_);
        if (visibile) show();
    }
    move(posto.angolo);
}
