// The main window: layout, load and the scanning it owns.
#include "ui/main/startup.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "app/chiusura.h"
#include "app/impostazioni.h"
#include "app/ini.h"
#include "app/sessione.h"
#include "app/suonaavviso.h"
#include "db/dberror.h"
#include "platform/clock.h"
#include "platform/eventyielder.h"
#include "platform/gui/accessibility.h"
#include "platform/gui/fonts.h"
#include "platform/messagebox.h"
#include "platform/notifier.h"
#include "platform/screen.h"
#include "platform/services.h"
#include "ui/list/listaapp.h"
#include "ui/main/areefinestre.h"
#include "ui/main/filtrotastonumerico.h"
#include "ui/main/gestioneparametri.h"
#include "ui/main/iconavassoio.h"
#include "ui/main/pannelloparametri.h"
#include "ui/reminder/gesprome.h"
#include "util/diagnostic.h"
#include "util/texts.h"

namespace {

constexpr int kIntervalloIniziale = 10000;  // until the configured interval is known
constexpr int kLarghezzaClient = 5175;
constexpr int kAltezzaClient = 1980;

}  // namespace

Startup::Startup(Sessione& sessione, PlatformServices& platform, QWidget* parent)
    : QWidget(parent),
      sessione_(sessione),
      platform_(platform),
      parametri_(std::make_unique<GestioneParametri>(sessione.fileIni(), sessione.impostazioni())),
      chiusura_([&sessione] { ChiudiProgramma(sessione); }),
      canale_(platform.copies, sessione.fileIni()),
      aree_(std::make_unique<AreeFinestre>(canale_)) {
    // Read as the program's window, not as a pane.
    accessibility::setRole(*this, QAccessible::Window);
    setObjectName(QStringLiteral("Startup"));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(platform.screen.pixelsFromTwips(kLarghezzaClient),
                 platform.screen.pixelsFromTwips(kAltezzaClient));
    creaControlli();
    Timer1_ = new QTimer(this);
    Timer1_->setObjectName(QStringLiteral("Timer1"));
    Timer1_->setInterval(kIntervalloIniziale);
    connect(Timer1_, &QTimer::timeout, this, &Startup::ControllaPromemoria);
    collegaComandi();
    osservaTasti(this);
    vassoio_ = new IconaVassoio(*this, platform.clock,
                                {.elenca = [this] { command1_[3]->click(); },
                                 .parametri = [this] { command1_[1]->click(); },
                                 .chiudi = [this] { chiediChiusura(); }});
    // The next alarm moves on as time passes: the tray follows it at every poll.
    connect(Timer1_, &QTimer::timeout, vassoio_, &IconaVassoio::aggiornaSuggerimento);
}

Startup::~Startup() = default;

void Startup::creaControlli() {
    const Screen& screen = platform_.screen;
    const auto place = [&](QWidget* control, const char* name, QRect twips) {
        control->setObjectName(QString::fromLatin1(name));
        control->setGeometry(screen.rectFromTwips(twips));
    };
    pctBase_ = new QWidget(this);
    place(pctBase_, "pctBase", {0, 45, 5190, 1905});
    Label1_ =
        new QLabel(QStringLiteral("ANALIZZA GLI APPUNTAMENTI IN SCADENZA DI GESTAR"), pctBase_);
    Label1_->setAlignment(Qt::AlignCenter);
    Label1_->setWordWrap(true);
    Label1_->setFont(fonts::sansSerif(9.75, true));
    place(Label1_, "Label1", {45, 0, 5100, 600});
    command1_[3] = new QPushButton(QStringLiteral("&ELENCA"), pctBase_);
    place(command1_[3], "Command1_3", {540, 810, 2040, 420});
    command1_[1] = new QPushButton(QStringLiteral("&PARAMETRI"), pctBase_);
    place(command1_[1], "Command1_1", {2565, 810, 2040, 420});
    command1_[0] = new QPushButton(QStringLiteral("&CHIUDI PROMEMORIA"), pctBase_);
    place(command1_[0], "Command1_0", {540, 1275, 4065, 420});
    for (QPushButton* button : command1_) {
        if (button) button->setFont(fonts::sansSerif(9.75));
    }
    command1_[3]->setAccessibleDescription(QStringLiteral("Elenca gli appuntamenti in scadenza"));
    command1_[1]->setAccessibleDescription(
        QStringLiteral("Apre i parametri: intervallo dell'analisi e suono dell'avviso"));
    command1_[0]->setAccessibleDescription(QStringLiteral("Chiude SCADEX"));
    setTabOrder(command1_[3], command1_[0]);
    setTabOrder(command1_[0], command1_[1]);
    pctParam_ = new PannelloParametri(screen, this);
    pctParam_->setGeometry(screen.rectFromTwips({0, 0, 5145, 1950}));
}

Startup::Avvio Startup::avvia() {
    // Read once: nothing writes the file while the window loads.
    const IniLetto ini(sessione_.fileIni());
    if (!sessione_.caricaPercorsi(ini)) {
        causaMancatoAvvio_ =
            QStringLiteral("OPERATORE MANCANTE NELLA SEZIONE BASE DI ") + sessione_.fileIni();
        return Avvio::SenzaOperatore;
    }
    centraSulloSchermo();
    try {
        sessione_.apriDatabase();
        avviaScansione(ini);
    } catch (const DataError& errore) {
        causaMancatoAvvio_ = db::causeOf(errore);
        dettaglioMancatoAvvio_ = db::detailsOf(errore);
        return Avvio::Errore;
    }
    vassoio_->mostra();
    return Avvio::Avviato;
}

void Startup::avviaScansione(const IniLetto& ini) {
    pctParam_->hide();
    const Impostazioni& lette = sessione_.caricaAgenda(ini);
    pctParam_->mostraSuono(lette.suonoAttivo);
    pctParam_->raise();
    pctParam_->lbFile->setText(lette.suono.percorso());
    pctParam_->mostraSecondi(lette.testoSecondi);
    parametri_ = std::make_unique<GestioneParametri>(sessione_.fileIni(), lette);
    setWindowTitle(QStringLiteral("PROMEMORIA "));
    scansione_ = std::make_unique<Scansione>(
        *sessione_.visite(), *sessione_.work(), sessione_.fileIni(), platform_.clock,
        platform_.yielder, platform_.launcher,
        [this](const EsitoSelezione& esito) { mostraSelezione(esito); });
    scansione_->seguiStato([this](const StatoScansione& stato) { mostraStato(stato); });
    scansione_->SelezionaAppuntamenti();
    // Once the databases have proved usable: a start that fails says why, and nothing else.
    // The first fifteenth poll reads the book, covering a write made meanwhile.
    puntualita_ = std::make_unique<Puntualita>(*scansione_, *sessione_.visite(), *sessione_.work(),
                                               platform_.clock);
    scansione_->seguiProssimoAllarme(
        [this](std::optional<double> momento) { puntualita_->armaSveglia(momento); });
    platform_.yielder.yieldToEvents();
    scansione_->controllaPromemoria();
    Timer1_->start(sessione_.impostazioni().secondi * 1000);
}

void Startup::centraSulloSchermo() {
    const QRect area = platform_.screen.geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

// Before the load has opened the databases there is nothing to rebuild or poll.
void Startup::SelezionaAppuntamenti() {
    if (scansione_) scansione_->richiediSelezione();
}

void Startup::ControllaPromemoria() {
    if (!scansione_) return;
    scansione_->controllaPromemoria();
    puntualita_->dopoIlTick();
}

void Startup::mostraSelezione(const EsitoSelezione& esito) {
    selezione_ = esito;
    command1_[3]->setEnabled(esito.elencoAbilitato());
    setWindowTitle(esito.didascalia());
    vassoio_->mostraSelezione(esito);
    canale_.tabellaCambiata();
}

// The tray and one notification tell the operator when the reminders stop and start again;
// the poll itself never shows a box. The stop stays on the desktop until the resume replaces
// it: the reminders are stopped for as long as that takes.
void Startup::mostraStato(const StatoScansione& stato) {
    vassoio_->mostraStato(stato);
    if (stato.inGuasto()) {
        platform_.notifications.notify(NotificationKind::Critical,
                                       QStringLiteral("PROMEMORIA SOSPESI"), stato.causa());
    } else {
        platform_.notifications.notify(NotificationKind::Information,
                                       QStringLiteral("PROMEMORIA RIPRESI"),
                                       QStringLiteral("I PROMEMORIA FUNZIONANO DI NUOVO"));
    }
}

void Startup::closeEvent(QCloseEvent* event) {
    event->accept();
    canale_.fine();
    chiusura_();
}

// The list window over copies of the hidden lists; a double-click shows the reminder window.
void Startup::mostraElenco() {
    ListaApp elenco(
        sessione_.fileIni(), platform_, righe(), chiavi(),
        [this](const ChiavePromemoria& chiave) { return mostraPromemoria(chiave); },
        [this] { SelezionaAppuntamenti(); }, this);
    elenco.exec();
}

// The reminder window, modally; then the command in force. Database errors propagate.
Comando Startup::mostraPromemoria(const ChiavePromemoria& chiave) {
    GesProme promemoria(*sessione_.visite(), *sessione_.work(), platform_, chiave, this);
    promemoria.exec();
    ultimoComando_ = promemoria.comandoScelto().value_or(ultimoComando_);
    return ultimoComando_;
}

void Startup::accogli(const messaggi::PerScadex& messaggio) {
    struct {
        Startup& finestra;
        void operator()(const messaggi::Richiama&) { finestra.richiama(); }
        void operator()(const messaggi::Apri& m) { finestra.rispondiDaAvviso(m.chiave); }
        void operator()(const messaggi::SuonoFallito& m) {
            finestra.vassoio_->mostraAvvertimento(
                QStringLiteral("Il suono di avviso non si sente: %1").arg(m.motivo));
        }
        void operator()(const messaggi::ChiediAree&) { finestra.aree_->dichiara(); }
    } risposta{*this};
    std::visit(risposta, messaggio);
}

void Startup::richiama() {
    showNormal();
    raise();
    activateWindow();
}

// The operator chose a card of the alert window: its reminder window, answered there as from
// the list. One already open is brought forward instead of a second on top of it.
void Startup::rispondiDaAvviso(const ChiavePromemoria& chiave) {
    if (!scansione_) return;
    if (QWidget* aperta = QApplication::activeModalWidget(); qobject_cast<GesProme*>(aperta)) {
        aperta->raise();
        aperta->activateWindow();
        return;
    }
    try {
        if (mostraPromemoria(chiave) != Comando::Uscita) SelezionaAppuntamenti();
    } catch (const std::exception& errore) {
        logDiagnostic(QStringLiteral("promemoria dell'avviso non aperto"), errore);
        platform_.messages.show({QStringLiteral("IMPOSSIBILE APRIRE IL PROMEMORIA"), QString(),
                                 MessageIcon::Stop, MessageButtons::Ok});
    }
}

void Startup::collegaComandi() {
    connect(command1_[0], &QPushButton::clicked, this, &QWidget::close);
    connect(command1_[1], &QPushButton::clicked, this, &Startup::mostraParametri);
    connect(command1_[3], &QPushButton::clicked, this, &Startup::mostraElenco);
    connect(pctParam_->cmdTest, &QPushButton::clicked, this, [this] {
        ProvaAvviso(parametri_->suono().percorso(), platform_.sound, platform_.messages);
    });
    connect(pctParam_->Command2_0, &QPushButton::clicked, this, &Startup::confermaParametri);
    connect(pctParam_->Command2_1, &QPushButton::clicked, this, &Startup::nascondiParametri);
}

// Key preview: the window sees every key of its controls before they do.
void Startup::osservaTasti(QWidget* radice) {
    radice->installEventFilter(this);
    for (QWidget* figlio : radice->findChildren<QWidget*>()) figlio->installEventFilter(this);
}

bool Startup::eventFilter(QObject* oggetto, QEvent* evento) {
    switch (evento->type()) {
        case QEvent::KeyPress:
            return tastoPremuto(oggetto, static_cast<QKeyEvent*>(evento));
        case QEvent::FocusIn:
            if (oggetto == pctParam_->Text1) {
                QTimer::singleShot(0, pctParam_->Text1, [this] { pctParam_->Text1->selectAll(); });
            }
            break;
        case QEvent::FocusOut: {
            const auto motivo = static_cast<QFocusEvent*>(evento)->reason();
            const bool allInterno =
                motivo != Qt::ActiveWindowFocusReason && motivo != Qt::PopupFocusReason;
            if (oggetto == pctParam_->Text1 && allInterno) controllaIntervallo();
            break;
        }
        case QEvent::MouseButtonRelease:
            if (oggetto == pctParam_->lbFile) scegliFileSuono();
            break;
        default:
            break;
    }
    return QWidget::eventFilter(oggetto, evento);
}

bool Startup::tastoPremuto(QObject* destinatario, QKeyEvent* tasto) {
    switch (tasto->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            focusNextChild();
            return true;  // the filter drops the Enter character itself
        case Qt::Key_F2:
            if (pctParam_->isVisible()) {
                nascondiParametri();
            } else {
                chiediChiusura();
            }
            return true;
        case Qt::Key_F4:
            scegliFileSuono();
            return true;
        default:
            return filtraCarattere(destinatario, tasto);
    }
}

// Typed characters pass through FiltraTastoNumerico; navigation keys are not characters.
bool Startup::filtraCarattere(QObject* destinatario, QKeyEvent* tasto) {
    const int key = tasto->key();
    if (tasto->text().size() != 1 || key == Qt::Key_Tab || key == Qt::Key_Backtab ||
        key == Qt::Key_Delete) {
        return false;
    }
    const int carattere = tasto->text().at(0).unicode();
    const int filtrato = FiltraTastoNumerico(carattere);
    if (filtrato == carattere) return false;
    if (filtrato != 0) {
        const QString testo(QChar(static_cast<char16_t>(filtrato)));
        QKeyEvent sostituto(QEvent::KeyPress, filtrato, tasto->modifiers(), testo);
        QApplication::sendEvent(destinatario, &sostituto);
    }
    return true;
}

void Startup::chiediChiusura() {
    const MessageAnswer risposta =
        platform_.messages.show({QStringLiteral("Confermi la chiusura de SCADEX"), QString(),
                                 MessageIcon::Question, MessageButtons::YesNo});
    if (risposta == MessageAnswer::Yes) close();
}

void Startup::mostraParametri() {
    // Only the panel can be reached while it is shown: no clicks or access keys behind it.
    pctBase_->setEnabled(false);
    pctParam_->show();
    pctParam_->Text1->setFocus();
}

void Startup::nascondiParametri() {
    pctParam_->hide();
    pctBase_->setEnabled(true);
}

void Startup::controllaIntervallo() {
    if (controlloInCorso_ || parametri_->testoAccettabile(pctParam_->Text1->text())) {
        return;
    }
    controlloInCorso_ = true;
    platform_.messages.show({QStringLiteral("DA 1 A 60 SECONDI POSSIBILI"), QString(),
                             MessageIcon::None, MessageButtons::Ok});
    pctParam_->Text1->setFocus();
    controlloInCorso_ = false;
}

void Startup::scegliFileSuono() {
    if (parametri_->scegliFileSuono(platform_.fileDialog)) {
        pctParam_->lbFile->setText(parametri_->suono().percorso());
    }
}

void Startup::confermaParametri() {
    const QComboBox* combo = pctParam_->Combo1;
    // Text typed into the combo's edit field leaves no entry selected.
    const int posizione = combo->findText(combo->currentText(), Qt::MatchExactly);
    std::optional<Impostazioni> confermate =
        parametri_->conferma(pctParam_->Text1->text(), posizione, platform_.messages);
    if (!confermate) {
        controllaIntervallo();
        return;
    }
    sessione_.sostituisciImpostazioni(std::move(*confermate));
    Timer1_->start(sessione_.impostazioni().secondi * 1000);
    nascondiParametri();
}
