// The reminder window: its controls in the host's layout, wired to the reminder's load,
// the operator's answers and the attached document.
#include "ui/reminder/gesprome.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "platform/gui/colors.h"
#include "platform/gui/fonts.h"
#include "platform/messagebox.h"
#include "platform/screen.h"
#include "platform/services.h"
#include "reminder/rispostapromemoria.h"
#include "reminder/schedapromemoria.h"
#include "ui/reminder/apridocumento.h"
#include "ui/reminder/campoquantita.h"

namespace {

const QColor kBluScuro(0, 0, 128);
const QColor kSfondoRiquadro(Qt::white);

int larghezzaTesto(const QLabel* label) {
    return label->fontMetrics().horizontalAdvance(label->text()) + 2;
}

// Installed fonts may run wider than the layout allows for: a caption that does not fit grows to
// its left, so that it still ends beside its box, and where the window's edge stops it, its
// font shrinks until it fits.
void adattaDidascalia(QLabel* didascalia) {
    QRect area = didascalia->geometry();
    area.setLeft(std::clamp(area.right() + 1 - larghezzaTesto(didascalia), 0, area.left()));
    didascalia->setGeometry(area);
    fonts::shrinkToFit(*didascalia, didascalia->text(), area.width());
}

}  // namespace

GesProme::GesProme(db::Database& visite, db::Database& work, PlatformServices& platform,
                   const ChiavePromemoria& chiave, QWidget* parent)
    : QDialog(parent), visite_(visite), work_(work), platform_(platform), chiave_(chiave) {
    setObjectName(QStringLiteral("GesProme"));
    setWindowTitle(QStringLiteral("Form1"));
    setFont(fonts::sansSerif(8.25));
    setFixedSize(pixel(0, 0, 7680, 2955).size());
    creaRiquadriPromemoria();
    creaDocumento();
    creaAvviso();
    collega();
}

GesProme::~GesProme() = default;

// Loading before Qt's own exec() lets a load error reach the caller before the window shows.
int GesProme::exec() {
    carica();
    return QDialog::exec();
}

void GesProme::setVisible(bool visible) {
    if (visible && !scheda_) carica();
    QDialog::setVisible(visible);
    if (!visible) scheda_.reset();
}

void GesProme::carica() {
    centra();
    scheda_ = std::make_unique<SchedaPromemoria>(visite_, work_, chiave_);
    documentoStaccato_ = false;
    mostra(scheda_->vista());
    cmdCli(Comando::Uscita)->setFocus();
}

// Client, action and appointment moment.
void GesProme::creaRiquadriPromemoria() {
    Label3_[1] = etichetta(this, QStringLiteral("Label3(1)"), QStringLiteral("Cliente"),
                           pixel(345, 45, 615, 240));
    lbCliCod_ = riquadro(QStringLiteral("lbCliCod"), pixel(1035, 45, 780, 285));
    lbCliDes_ = riquadro(QStringLiteral("lbCliDes"), pixel(1845, 45, 5775, 285));
    Label3_[0] = etichetta(this, QStringLiteral("Label3(0)"), QStringLiteral("Intervento"),
                           pixel(90, 360, 870, 240));
    lbAziCod_ = riquadro(QStringLiteral("lbAziCod"), pixel(1035, 360, 780, 285));
    LbAziDes_ = riquadro(QStringLiteral("LbAziDes"), pixel(1845, 360, 5775, 690));
    LbAziDes_->setWordWrap(true);
    LbAziDes_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label3_[2] = etichetta(this, QStringLiteral("Label3(2)"), QStringLiteral("Appuntamento del"),
                           pixel(45, 1080, 1680, 240));
    lbScadDD_ = riquadro(QStringLiteral("lbScadDD"), pixel(1845, 1080, 1095, 285));
    lbScadDD_->setAlignment(Qt::AlignCenter);
    Label3_[3] = etichetta(this, QStringLiteral("Label3(3)"), QStringLiteral("alle ore"),
                           pixel(3345, 1080, 675, 240));
    lbScadHH_ = riquadro(QStringLiteral("lbScadHH"), pixel(4140, 1080, 690, 285));
    lbScadHH_->setAlignment(Qt::AlignCenter);
    for (QLabel* valore : {lbCliCod_, lbCliDes_, lbAziCod_, LbAziDes_, lbScadDD_, lbScadHH_}) {
        valore->setFont(fonts::sansSerif(8.25, true));
    }
    lbCliCod_->setAccessibleDescription(QStringLiteral("Codice del cliente"));
    lbCliDes_->setAccessibleDescription(QStringLiteral("Cliente"));
    lbAziCod_->setAccessibleDescription(QStringLiteral("Codice dell'intervento"));
    LbAziDes_->setAccessibleDescription(QStringLiteral("Intervento"));
    lbScadDD_->setAccessibleDescription(QStringLiteral("Data dell'appuntamento"));
    lbScadHH_->setAccessibleDescription(QStringLiteral("Ora dell'appuntamento"));
}

void GesProme::creaDocumento() {
    cmdDocumento_ = pulsante(this, QStringLiteral("cmdDocumento"), QStringLiteral("&Documento"),
                             pixel(45, 1425, 1455, 360));
    cmdDocumento_->setToolTip(QStringLiteral("Apri il Documento abbinato"));
    Command1_ = pulsante(this, QStringLiteral("Command1"), QStringLiteral("X"),
                         pixel(1485, 1425, 330, 360));
    Command1_->setFont(fonts::sansSerif(8.25, true));
    Command1_->setToolTip(QStringLiteral("Disabbina il Documento allegato"));
    Command1_->setAccessibleName(QStringLiteral("Stacca documento"));
    lbDocumento_ = riquadro(QStringLiteral("lbDocumento"), pixel(1845, 1440, 5775, 330));
    colors::setText(*lbDocumento_, kBluScuro, kSfondoRiquadro);
    lbDocumento_->setAccessibleDescription(QStringLiteral("Documento abbinato"));
}

// The frame reads as one sentence: "Avvisare" (amount) (unit) "prima", then the alarm moment.
void GesProme::creaAvviso() {
    Frame1_ = new QGroupBox(QStringLiteral("Avvisare"), this);
    Frame1_->setObjectName(QStringLiteral("Frame1"));
    Frame1_->setGeometry(pixel(0, 1800, 7665, 690));
    Txt1_ = new CampoQuantita(Frame1_);
    Txt1_->setObjectName(QStringLiteral("Txt(1)"));
    Txt1_->setFont(fonts::monospace(9.75));
    Txt1_->setGeometry(pixel(90, 270, 740, 360));
    Txt1_->setAccessibleName(QStringLiteral("Avvisare quanto prima"));
    Txt1_->setAccessibleDescription(
        QStringLiteral("Quanti minuti, ore o giorni prima dell'appuntamento avvisare"));
    cmbAllarm_ = new QComboBox(Frame1_);
    cmbAllarm_->setObjectName(QStringLiteral("cmbAllarm"));
    cmbAllarm_->setGeometry(pixel(840, 300, 1005, 315));
    cmbAllarm_->addItems(
        {QStringLiteral("minuti"), QStringLiteral("ore"), QStringLiteral("giorni")});
    cmbAllarm_->setAccessibleName(QStringLiteral("Unità dell'anticipo"));
    cmbAllarm_->setAccessibleDescription(QStringLiteral("Minuti, ore o giorni prima"));
    Label3_[4] = etichetta(Frame1_, QStringLiteral("Label3(4)"), QStringLiteral("prima"),
                           pixel(1905, 330, 615, 240));
    lbSveglia_ = new QLabel(Frame1_);
    lbSveglia_->setObjectName(QStringLiteral("lbSveglia"));
    lbSveglia_->setGeometry(pixel(2655, 180, 1380, 465));
    lbSveglia_->setAlignment(Qt::AlignCenter);
    lbSveglia_->setAccessibleDescription(QStringLiteral("Giorno e ora dell'avviso"));
    colors::setText(*lbSveglia_, kBluScuro, palette().color(QPalette::Window));
    cmdCli_ = {pulsante(Frame1_, QStringLiteral("cmdCli(0)"), QStringLiteral("&IMPOSTA AVVISO"),
                        pixel(4095, 225, 1770, 375)),
               pulsante(Frame1_, QStringLiteral("cmdCli(1)"), QStringLiteral("&NON AVVISARE PIU'"),
                        pixel(5850, 225, 1770, 375)),
               pulsante(this, QStringLiteral("cmdCli(2)"), QStringLiteral("&USCITA"),
                        pixel(90, 2565, 7530, 375))};
    cmdCli(Comando::ImpostaAvviso)
        ->setAccessibleDescription(QStringLiteral("Salva il nuovo anticipo e chiude"));
    cmdCli(Comando::NonAvvisarePiu)
        ->setAccessibleDescription(
            QStringLiteral("Non avvisa più di questo appuntamento e chiude"));
    cmdCli(Comando::Uscita)
        ->setAccessibleDescription(QStringLiteral("Chiude senza cambiare nulla"));
}

// Buttons, tab order (from "&USCITA" round to "X") and the key preview.
void GesProme::collega() {
    for (Comando comando : {Comando::ImpostaAvviso, Comando::NonAvvisarePiu, Comando::Uscita}) {
        connect(cmdCli(comando), &QPushButton::clicked, this,
                [this, comando] { eseguiComando(comando); });
    }
    connect(cmdDocumento_, &QPushButton::clicked, this, [this] {
        ApriDocumento(lbDocumento_->text(), platform_.documents, platform_.messages);
    });
    connect(Command1_, &QPushButton::clicked, this, [this] {
        lbDocumento_->clear();
        documentoStaccato_ = true;
    });

    const QList<QWidget*> ordine = {cmdCli(Comando::Uscita),
                                    cmdDocumento_,
                                    Txt1_,
                                    cmbAllarm_,
                                    cmdCli(Comando::ImpostaAvviso),
                                    cmdCli(Comando::NonAvvisarePiu),
                                    Command1_};
    for (qsizetype i = 1; i < ordine.size(); ++i) setTabOrder(ordine[i - 1], ordine[i]);

    // The unit's drop-down list is a window of its own while it is open.
    installEventFilter(this);
    for (QWidget* figlio : findChildren<QWidget*>()) figlio->installEventFilter(this);
    cmbAllarm_->view()->installEventFilter(this);
}

void GesProme::centra() {
    const QRect area = platform_.screen.geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void GesProme::mostra(const VistaPromemoria& vista) {
    lbCliCod_->setText(vista.codiceCliente);
    lbCliDes_->setText(vista.descrizioneCliente);
    lbAziCod_->setText(vista.codiceAzione);
    LbAziDes_->setText(vista.descrizioneAzione);
    // The action keeps its colour; one too light for the white box gets a black box instead.
    colors::setText(*lbAziCod_, vista.coloreAzione, kSfondoRiquadro);
    colors::setText(*LbAziDes_, vista.coloreAzione, kSfondoRiquadro);
    lbScadDD_->setText(vista.dataAppuntamento);
    lbScadHH_->setText(vista.oraAppuntamento);
    Txt1_->setText(vista.quantita);
    cmbAllarm_->setCurrentIndex(static_cast<int>(vista.unita));
    lbSveglia_->setText(vista.sveglia);
    // Read aloud, the line break and the blanks that lay the moment out are one blank each.
    lbSveglia_->setAccessibleName(vista.sveglia.simplified());
    lbDocumento_->setText(vista.documento);
    const std::initializer_list<QWidget*> documento = {cmdDocumento_, Command1_, lbDocumento_};
    for (QWidget* controllo : documento) controllo->setVisible(vista.documentoPresente());
    setWindowTitle(vista.titolo);
}

// Every button closes the window once its answer is saved; the list window decides on a
// rebuild from the command. An answer the databases refused stays on screen.
void GesProme::eseguiComando(Comando comando) {
    comandoScelto_ = comando;
    if (!salvaRisposta(comando)) {
        platform_.messages.show(
            {QStringLiteral("RISPOSTA NON SALVATA: ARCHIVIO OCCUPATO O MODIFICATO. RIPROVARE."),
             QString(), MessageIcon::Stop, MessageButtons::Ok});
        return;
    }
    accept();
}

bool GesProme::salvaRisposta(Comando comando) {
    RispostaPromemoria risposta(scheda_->appuntamento(), scheda_->promemoria());
    switch (comando) {
        case Comando::ImpostaAvviso:
            return risposta.impostaAvviso(Txt1_->text(),
                                          static_cast<UnitaAllarme>(cmbAllarm_->currentIndex()),
                                          documentoStaccato_);
        case Comando::NonAvvisarePiu:
            return risposta.nonAvvisarePiu();
        case Comando::Uscita:
            break;
    }
    return true;
}

// F2, with any modifiers and wherever the focus is, closes the window without a command.
bool GesProme::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F2) {
        cmbAllarm_->hidePopup();
        reject();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// Escape is left to the controls like any other key: it does not close this window.
void GesProme::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

QPushButton* GesProme::cmdCli(Comando comando) const {
    return cmdCli_.at(static_cast<std::size_t>(comando));
}

QRect GesProme::pixel(int left, int top, int width, int height) const {
    return platform_.screen.rectFromTwips({left, top, width, height});
}

QLabel* GesProme::etichetta(QWidget* parent, const QString& nome, const QString& testo,
                            const QRect& r) {
    auto* label = new QLabel(testo, parent);
    label->setObjectName(nome);
    label->setGeometry(r);
    label->setFont(fonts::sansSerif(9.75));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    adattaDidascalia(label);
    return label;
}

// A value box: a label in black on white with a single-line border.
QLabel* GesProme::riquadro(const QString& nome, const QRect& r) {
    auto* label = new QLabel(this);
    label->setObjectName(nome);
    label->setGeometry(r);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    colors::setBackground(*label, kSfondoRiquadro);
    return label;
}

QPushButton* GesProme::pulsante(QWidget* parent, const QString& nome, const QString& testo,
                                const QRect& r) {
    auto* button = new QPushButton(testo, parent);
    button->setObjectName(nome);
    button->setGeometry(r);
    // Enter belongs to the controls: no button is pressed by it.
    button->setAutoDefault(false);
    return button;
}
