// Layout of the parameters panel.
#include "ui/main/pannelloparametri.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "platform/gui/fonts.h"
#include "platform/screen.h"

namespace {

constexpr int kCifreDigitabili = 2;

}  // namespace

PannelloParametri::PannelloParametri(const Screen& screen, QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("pctParam"));
    setAutoFillBackground(true);
    setFont(fonts::sansSerif(9.75));
    const auto place = [&](QWidget* control, const char* name, QRect twips) {
        control->setObjectName(QString::fromLatin1(name));
        control->setGeometry(screen.rectFromTwips(twips));
    };
    Label2_0 = new QLabel(QStringLiteral("Analizza ogni            secondi"), this);
    place(Label2_0, "Label2_0", {180, 180, 2625, 285});
    Text1 = new QLineEdit(this);
    Text1->setMaxLength(kCifreDigitabili);
    // The limit is for typing: an edit never makes the text longer than two characters or
    // than it was, so a longer value read at start-up is shown whole until it is edited.
    connect(Text1, &QLineEdit::textChanged, this, &PannelloParametri::consentiLunghezza);
    place(Text1, "Text1", {1440, 120, 420, 360});
    Label2_1 = new QLabel(QStringLiteral("Abilita suono"), this);
    place(Label2_1, "Label2_1", {180, 675, 1275, 285});
    Combo1 = new QComboBox(this);
    Combo1->setEditable(true);
    place(Combo1, "Combo1", {1440, 630, 870, 360});
    lbFile = new QLabel(this);
    lbFile->setFrameStyle(QFrame::Box | QFrame::Plain);
    lbFile->setCursor(Qt::PointingHandCursor);
    place(lbFile, "lbFile", {0, 1200, 5145, 330});
    cmdTest = new QPushButton(QStringLiteral("&PROVA AVVISO"), this);
    place(cmdTest, "cmdTest", {0, 1575, 2310, 330});
    Command2_0 = new QPushButton(QStringLiteral("&CONFERMA"), this);
    place(Command2_0, "Command2_0", {3645, 90, 1410, 375});
    Command2_1 = new QPushButton(QStringLiteral("&ABBANDONA"), this);
    place(Command2_1, "Command2_1", {3645, 450, 1410, 375});
    descriviControlli();
    adattaDidascalie();
    setTabOrder(Text1, Combo1);
    setTabOrder(Combo1, Command2_0);
    setTabOrder(Command2_0, Command2_1);
    setTabOrder(Command2_1, cmdTest);
}

// What an assistive technology reads: the boxes are named after their captions, the buttons
// by their own. The interval's caption leaves a gap of blanks where its box sits: caption and
// box are both read as the caption with the gap put in words.
void PannelloParametri::descriviControlli() {
    const QString intervallo = QStringLiteral("Analizza ogni quanti secondi");
    Label2_0->setAccessibleName(intervallo);
    Label2_0->setBuddy(Text1);
    Text1->setAccessibleName(intervallo);
    Text1->setAccessibleDescription(
        QStringLiteral("Intervallo dell'analisi degli appuntamenti, da 1 a 60 secondi"));
    // The combo box takes its name from its caption; its edit field is named after it too.
    Label2_1->setBuddy(Combo1);
    Combo1->lineEdit()->setAccessibleName(Label2_1->text());
    for (QWidget* suono :
         {static_cast<QWidget*>(Combo1), static_cast<QWidget*>(Combo1->lineEdit())}) {
        suono->setAccessibleDescription(QStringLiteral("S suona l'avviso, N lo tace"));
    }
    lbFile->setAccessibleDescription(
        QStringLiteral("File del suono dell'avviso: un clic o F4 lo sceglie"));
    cmdTest->setAccessibleDescription(QStringLiteral("Suona il file scelto per provarlo"));
    Command2_0->setAccessibleDescription(QStringLiteral("Salva i parametri e chiude il pannello"));
    Command2_1->setAccessibleDescription(QStringLiteral("Chiude il pannello senza salvare"));
}

// The captions must stay clear of the boxes they introduce, whatever the substitute font.
void PannelloParametri::adattaDidascalie() {
    fonts::shrinkToFit(*Label2_0, Label2_0->text(), Label2_0->width());
    fonts::shrinkToFit(*Label2_0, QStringLiteral("Analizza ogni "), Text1->x() - Label2_0->x());
    fonts::shrinkToFit(*Label2_1, Label2_1->text(), Combo1->x() - Label2_1->x());
}

void PannelloParametri::mostraSecondi(const QString& testo) {
    consentiLunghezza(testo);
    Text1->setText(testo);
}

void PannelloParametri::consentiLunghezza(const QString& testo) {
    Text1->setMaxLength(std::max(kCifreDigitabili, static_cast<int>(testo.size())));
}

void PannelloParametri::mostraSuono(bool attivo) {
    Combo1->clear();
    Combo1->addItem(QStringLiteral("S=Si"));
    Combo1->addItem(QStringLiteral("N=No"));
    Combo1->setCurrentIndex(attivo ? 0 : 1);
}
