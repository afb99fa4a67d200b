// Layout, keys and focus frame of one card of the alert window.
#include "alert/schedaavviso.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "alert/rinvio.h"
#include "platform/gui/colors.h"
#include "platform/gui/fonts.h"

namespace {

constexpr double kPunti = 10;
constexpr int kSpessoreCornice = 3;

// The action's colour on the card's background, or on black or white where it would not read.
void coloraAzione(QLabel& label, const std::optional<DatiAzione>& azione) {
    const QColor testo = azione ? azione->colore : label.palette().color(QPalette::WindowText);
    colors::setText(label, testo, label.palette().color(QPalette::Window));
}

}  // namespace

SchedaAvviso::SchedaAvviso(const AvvisoDescritto& avviso, QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("scheda"));
    setFrameShape(QFrame::StyledPanel);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleDescription(
        QStringLiteral("Canc chiude il promemoria, Invio lo apre in SCADEX, le frecce passano "
                       "agli altri promemoria"));
    auto* griglia = new QGridLayout(this);
    griglia->setContentsMargins(kSpessoreCornice * 3, kSpessoreCornice * 3, kSpessoreCornice * 3,
                                kSpessoreCornice * 3);
    griglia->setColumnStretch(2, 1);
    lbData_ = etichetta("lbData", true);
    griglia->addWidget(lbData_, 0, 0, 1, 3);
    griglia->addWidget(etichetta("", false, QStringLiteral("Cliente")), 1, 0);
    lbCliCod_ = etichetta("lbCliCod", true);
    griglia->addWidget(lbCliCod_, 1, 1);
    lbCliDes_ = etichetta("lbCliDes");
    lbCliDes_->setWordWrap(true);
    griglia->addWidget(lbCliDes_, 1, 2);
    griglia->addWidget(etichetta("", false, QStringLiteral("Intervento")), 2, 0);
    lbAziCod_ = etichetta("lbAziCod", true);
    griglia->addWidget(lbAziCod_, 2, 1);
    lbAziDes_ = etichetta("LbAziDes");
    lbAziDes_->setWordWrap(true);
    griglia->addWidget(lbAziDes_, 2, 2);
    aggiungiPulsanti(*griglia);
    aggiorna(avviso);
}

void SchedaAvviso::aggiorna(const AvvisoDescritto& avviso) {
    setAccessibleName(QStringLiteral("Promemoria ") + avviso.descrizione());
    lbData_->setText(
        QStringLiteral("Appuntamento del %1 alle %2").arg(avviso.giorno(), avviso.ora()));
    lbCliCod_->setText(QString::number(avviso.avviso.cliente));
    lbCliDes_->setText(avviso.nomeCliente);
    lbAziCod_->setText(avviso.avviso.azione);
    lbAziDes_->setText(avviso.azione ? avviso.azione->descrizione : QString());
    coloraAzione(*lbAziCod_, avviso.azione);
    coloraAzione(*lbAziDes_, avviso.azione);
}

QLabel* SchedaAvviso::etichetta(const char* nome, bool grassetto, const QString& testo) {
    auto* label = new QLabel(testo);
    label->setObjectName(QString::fromLatin1(nome));
    label->setFont(fonts::sansSerif(kPunti, grassetto));
    return label;
}

QPushButton* SchedaAvviso::pulsante(const QString& nome, const QString& testo,
                                    const QString& descrizione) {
    auto* tasto = new QPushButton(testo);
    tasto->setObjectName(nome);
    tasto->setAccessibleDescription(descrizione);
    // Invio on a button of the card presses it rather than opening the reminder.
    tasto->setAutoDefault(true);
    return tasto;
}

void SchedaAvviso::aggiungiPulsanti(QGridLayout& griglia) {
    auto* riga = new QHBoxLayout;
    QPushButton* chiudi =
        pulsante(QStringLiteral("cmdChiudiScheda"), QStringLiteral("CHIUDI"),
                 QStringLiteral("Toglie questo promemoria dall'avviso senza rimandarlo"));
    connect(chiudi, &QPushButton::clicked, this, &SchedaAvviso::chiusa);
    riga->addWidget(chiudi);
    for (std::size_t rinvio = 0; rinvio < kRinvii.size(); ++rinvio) {
        QPushButton* rimanda =
            pulsante(kRinvii.at(rinvio).nomeScheda(), kRinvii.at(rinvio).testoScheda(),
                     QStringLiteral("Nasconde questo promemoria e lo ripropone passati %1 minuti")
                         .arg(kRinvii.at(rinvio).durata.count()));
        connect(rimanda, &QPushButton::clicked, this, [this, rinvio] { emit rinviata(rinvio); });
        riga->addWidget(rimanda);
    }
    riga->addStretch();
    QPushButton* apri = pulsante(QStringLiteral("cmdApri"), QStringLiteral("APRI"),
                                 QStringLiteral("Apre il promemoria in SCADEX per rispondere"));
    connect(apri, &QPushButton::clicked, this, &SchedaAvviso::aperta);
    riga->addWidget(apri);
    griglia.addLayout(riga, 3, 0, 1, 3);
}

void SchedaAvviso::keyPressEvent(QKeyEvent* evento) {
    switch (evento->key()) {
        case Qt::Key_Up:
            emit passo(-1);
            return;
        case Qt::Key_Down:
            emit passo(1);
            return;
        case Qt::Key_Delete:
            emit chiusa();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            emit aperta();
            return;
        default:
            QFrame::keyPressEvent(evento);
    }
}

// The frame is drawn in the text colour: it stands out from the background as the text does,
// on a light palette and on a dark one.
void SchedaAvviso::paintEvent(QPaintEvent* evento) {
    QFrame::paintEvent(evento);
    const QWidget* attivo = QApplication::focusWidget();
    if (!attivo || (attivo != this && !isAncestorOf(attivo))) return;
    QPainter pittore(this);
    pittore.setPen(QPen(palette().color(QPalette::WindowText), kSpessoreCornice));
    pittore.drawRect(rect().adjusted(1, 1, -2, -2));
}
