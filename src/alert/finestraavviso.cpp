// Layout and showing of the alert window.
#include "alert/finestraavviso.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

#include "alert/elencoavvisi.h"
#include "alert/rinvio.h"
#include "platform/gui/accessibility.h"
#include "platform/gui/colors.h"
#include "platform/gui/fonts.h"

namespace {

constexpr int kLarghezza = 460;
// Beyond about three reminders the list scrolls instead of growing off the screen.
constexpr int kAltezzaMassimaSchede = 330;
constexpr double kPunti = 10;

QPushButton* pulsante(const QString& nome, const QString& testo) {
    auto* tasto = new QPushButton(testo);
    tasto->setObjectName(nome);
    tasto->setFont(fonts::sansSerif(kPunti, true));
    return tasto;
}

QLabel* etichetta(const QString& nome, const QString& testo, bool grassetto = false) {
    auto* label = new QLabel(testo);
    label->setObjectName(nome);
    label->setFont(fonts::sansSerif(kPunti, grassetto));
    return label;
}

// The action's colour on the window's background, or on black or white where it would not read.
void coloraAzione(QLabel& label, const QColor& colore) {
    colors::setText(label, colore, label.palette().color(QPalette::Window));
}

}  // namespace

FinestraAvviso::FinestraAvviso(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowStaysOnTopHint) {
    // A screen reader announces an alert as it appears, whatever the operator is doing.
    accessibility::setRole(*this, QAccessible::AlertMessage);
    setObjectName(QStringLiteral("FinestraAvviso"));
    setWindowTitle(QStringLiteral("SCADEX - AVVISO"));
    setFixedWidth(kLarghezza);
    // A reminder must not take the keyboard from whatever the operator is typing in.
    setAttribute(Qt::WA_ShowWithoutActivating);

    schede_ = new QScrollArea;
    schede_->setObjectName(QStringLiteral("schede"));
    schede_->setWidgetResizable(true);
    schede_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    schede_->setFrameShape(QFrame::NoFrame);
    schede_->setAccessibleName(QStringLiteral("Promemoria in scadenza"));
    schede_->setAccessibleDescription(
        QStringLiteral("Gli appuntamenti di cui avvisare, il più recente in alto"));
    auto* contenuto = new QWidget;
    colonna_ = new QVBoxLayout(contenuto);
    colonna_->setContentsMargins(0, 0, 0, 0);
    colonna_->addStretch();
    schede_->setWidget(contenuto);

    lbInAttesa_ = etichetta(QStringLiteral("lbInAttesa"), {});
    cmdChiudi_ = pulsante(QStringLiteral("cmdChiudi"), QStringLiteral("&CHIUDI"));
    cmdChiudi_->setDefault(true);
    cmdChiudi_->setAccessibleDescription(
        QStringLiteral("Chiude l'avviso senza rimandare i promemoria"));
    connect(cmdChiudi_, &QPushButton::clicked, this, &QWidget::close);

    auto* pulsanti = new QHBoxLayout;
    for (std::size_t rinvio = 0; rinvio < kRinvii.size(); ++rinvio) {
        pulsanti->addWidget(rimanda(rinvio));
    }
    pulsanti->addStretch();
    pulsanti->addWidget(cmdChiudi_);
    auto* colonna = new QVBoxLayout(this);
    colonna->addWidget(schede_);
    colonna->addWidget(lbInAttesa_);
    colonna->addLayout(pulsanti);
}

QPushButton* FinestraAvviso::rimanda(std::size_t rinvio) {
    QPushButton* cmdRimanda =
        pulsante(QString::fromLatin1(kRinvii.at(rinvio).nome), kRinvii.at(rinvio).testoPulsante());
    cmdRimanda->setAccessibleDescription(
        QStringLiteral("Nasconde i promemoria e li ripropone passato il tempo indicato"));
    connect(cmdRimanda, &QPushButton::clicked, this, [this, rinvio] { emit rinviata(rinvio); });
    return cmdRimanda;
}

void FinestraAvviso::mostra(const ElencoAvvisi& elenco, std::optional<qsizetype> aggiornato) {
    const qsizetype posto = aggiornato.value_or(0);
    QWidget* nuova = scheda(elenco.avvisi().at(posto));
    if (aggiornato) {
        delete colonna_->itemAt(static_cast<int>(posto))->widget();
    }
    colonna_->insertWidget(static_cast<int>(posto), nuova);
    lbInAttesa_->setText(QStringLiteral("Promemoria in attesa: %1").arg(elenco.inAttesa()));
    adattaAltezza();
    presenta();
}

void FinestraAvviso::presenta() {
    show();
    raise();
    cmdChiudi_->setFocus();
}

void FinestraAvviso::svuota() {
    while (colonna_->count() > 1) delete colonna_->itemAt(0)->widget();
}

void FinestraAvviso::richiama() {
    showNormal();
    raise();
    activateWindow();
}

void FinestraAvviso::closeEvent(QCloseEvent* evento) {
    QWidget::closeEvent(evento);
    emit chiusa();
}

// One reminder: the appointment's day and time, then client and action with their codes.
QWidget* FinestraAvviso::scheda(const AvvisoDescritto& avviso) const {
    auto* riquadro = new QFrame;
    riquadro->setFrameShape(QFrame::StyledPanel);
    auto* griglia = new QGridLayout(riquadro);
    griglia->setColumnStretch(2, 1);

    auto* quando = etichetta(
        QStringLiteral("lbData"),
        QStringLiteral("Appuntamento del %1 alle %2").arg(avviso.giorno(), avviso.ora()), true);
    griglia->addWidget(quando, 0, 0, 1, 3);

    griglia->addWidget(etichetta({}, QStringLiteral("Cliente")), 1, 0);
    griglia->addWidget(
        etichetta(QStringLiteral("lbCliCod"), QString::number(avviso.avviso.cliente), true), 1, 1);
    auto* nome = etichetta(QStringLiteral("lbCliDes"), avviso.nomeCliente);
    nome->setWordWrap(true);
    griglia->addWidget(nome, 1, 2);

    griglia->addWidget(etichetta({}, QStringLiteral("Intervento")), 2, 0);
    auto* codice = etichetta(QStringLiteral("lbAziCod"), avviso.avviso.azione, true);
    auto* descrizione = etichetta(QStringLiteral("LbAziDes"),
                                  avviso.azione ? avviso.azione->descrizione : QString());
    descrizione->setWordWrap(true);
    if (avviso.azione) {
        coloraAzione(*codice, avviso.azione->colore);
        coloraAzione(*descrizione, avviso.azione->colore);
    }
    griglia->addWidget(codice, 2, 1);
    griglia->addWidget(descrizione, 2, 2);
    return riquadro;
}

// As tall as the reminders need, up to a limit, and centred on the screen. Once the list
// scrolls, a further card changes nothing here: no layout of every card at each one.
void FinestraAvviso::adattaAltezza() {
    if (schede_->height() == kAltezzaMassimaSchede && isVisible()) return;
    QWidget* contenuto = schede_->widget();
    const int larghezzaUtile =
        kLarghezza - layout()->contentsMargins().left() - layout()->contentsMargins().right();
    const int piena = contenuto->hasHeightForWidth() ? contenuto->heightForWidth(larghezzaUtile)
                                                     : contenuto->sizeHint().height();
    schede_->setFixedHeight(std::min(piena, kAltezzaMassimaSchede));
    adjustSize();
    const QRect area = screen()->availableGeometry();
    move(area.center() - rect().center());
}
