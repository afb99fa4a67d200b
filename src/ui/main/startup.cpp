// The main window: layout, load and the scanning it owns.
#include "ui/main/startup.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "app/chiusura.h"
#include "app/globali.h"
#include "db/dberror.h"
#include "platform/clock.h"
#include "platform/eventyielder.h"
#include "platform/fonts.h"
#include "platform/screen.h"
#include "platform/services.h"
#include "ui/main/pannelloparametri.h"
#include "util/testi.h"

namespace {

constexpr int kIntervalloIniziale = 10000;  // until the configured interval is known
constexpr int kLarghezzaClient = 5175;
constexpr int kAltezzaClient = 1980;

}  // namespace

Startup::Startup(Globali& globali, PlatformServices& platform, QWidget* parent)
    : QWidget(parent),
      globali_(globali),
      platform_(platform),
      scansione_(globali, platform.clock, platform.yielder, platform.launcher,
                 [this](const EsitoSelezione& esito) { mostraSelezione(esito); }) {
    setObjectName(QStringLiteral("Startup"));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(platform.screen.pixelsFromTwips(kLarghezzaClient),
                 platform.screen.pixelsFromTwips(kAltezzaClient));
    creaControlli();
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kIntervalloIniziale);
    connect(Timer1, &QTimer::timeout, this, &Startup::ControllaPromemoria);
}

Startup::~Startup() = default;

void Startup::creaControlli() {
    const Screen& screen = platform_.screen;
    const auto place = [&](QWidget* control, const char* name, QRect twips) {
        control->setObjectName(QString::fromLatin1(name));
        control->setGeometry(
            screen.rectFromTwips(twips.x(), twips.y(), twips.width(), twips.height()));
    };
    pctBase = new QWidget(this);
    place(pctBase, "pctBase", {0, 45, 5190, 1905});
    Label1 = new QLabel(QStringLiteral("ANALIZZA GLI APPUNTAMENTI IN SCADENZA DI GESTAR"), pctBase);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    Label1->setFont(fonts::sansSerif(9.75, true));
    place(Label1, "Label1", {45, 0, 5100, 600});
    List1 = new QListWidget(pctBase);
    place(List1, "List1", {0, 360, 1635, 255});
    List2 = new QListWidget(pctBase);
    place(List2, "List2", {3465, 315, 1635, 255});
    List2->hide();
    command1_[3] = new QPushButton(QStringLiteral("&ELENCA"), pctBase);
    place(command1_[3], "Command1_3", {540, 810, 2040, 420});
    command1_[1] = new QPushButton(QStringLiteral("&PARAMETRI"), pctBase);
    place(command1_[1], "Command1_1", {2565, 810, 2040, 420});
    command1_[0] = new QPushButton(QStringLiteral("&CHIUDI PROMEMORIA"), pctBase);
    place(command1_[0], "Command1_0", {540, 1275, 4065, 420});
    for (QPushButton* button : command1_) {
        if (button) button->setFont(fonts::sansSerif(9.75));
    }
    setTabOrder(command1_[3], command1_[0]);
    setTabOrder(command1_[0], command1_[1]);
    pctParam = new PannelloParametri(screen, this);
    pctParam->setGeometry(screen.rectFromTwips(0, 0, 5145, 1950));
}

Startup::Avvio Startup::avvia() {
    if (!impostazioni::leggiPercorsi(globali_)) return Avvio::SenzaOperatore;
    centraSulloSchermo();
    try {
        impostazioni::apriDatabase(globali_);
        avviaScansione();
    } catch (const db::DbError&) {
        return Avvio::Errore;
    } catch (const ConversionError&) {
        return Avvio::Errore;
    }
    return Avvio::Avviato;
}

void Startup::avviaScansione() {
    pctParam->hide();
    impostazioni_ = impostazioni::leggiAgenda(globali_);
    pctParam->mostraSuono(impostazioni_.suonoAttivo);
    List1->hide();
    pctParam->raise();
    pctParam->lbFile->setText(globali_.FileSuono);
    pctParam->Text1->setText(impostazioni_.testoSecondi);
    setWindowTitle(QStringLiteral("PROMEMORIA "));
    scansione_.azzeraContaCicli();
    scansione_.selezionaAppuntamenti();
    platform_.yielder.yieldToEvents();
    scansione_.controllaPromemoria();
    Timer1->start(globali_.SecondiAnalisi * 1000);
}

void Startup::centraSulloSchermo() {
    const QRect area = platform_.screen.availableGeometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void Startup::SelezionaAppuntamenti() {
    scansione_.richiediSelezione();
}

void Startup::ControllaPromemoria() {
    scansione_.controllaPromemoria();
}

void Startup::mostraSelezione(const EsitoSelezione& esito) {
    List1->clear();
    List2->clear();
    List1->addItems(esito.righe);
    List2->addItems(esito.chiavi);
    command1_[3]->setEnabled(esito.elencoAbilitato());
    setWindowTitle(esito.didascalia());
}

void Startup::closeEvent(QCloseEvent* event) {
    event->accept();
    ChiudiProgramma(globali_);
}
