// The list window: its controls, keys, resize and the opening of a reminder window.
#include "ui/list/listaapp.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>
#include <QStringListModel>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <exception>
#include <initializer_list>

#include "platform/gui/colors.h"
#include "platform/gui/fonts.h"
#include "platform/messagebox.h"
#include "platform/screen.h"
#include "platform/services.h"
#include "ui/list/disposizionelista.h"
#include "ui/list/geometria.h"
#include "util/diagnostic.h"

namespace {

constexpr int kLarghezzaProgetto = 9525;
constexpr int kAltezzaProgetto = 5970;
constexpr int kAltezzaIntestazione = 285;
constexpr int kColonnaNote = 74;  // characters before the note in a display line

QFont fontFisso() {
    return fonts::monospace(8.25);
}

QLabel* creaIntestazione(const QString& testo, const QString& nome, QWidget* parent) {
    auto* label = new QLabel(testo, parent);
    label->setObjectName(nome);
    label->setFont(fontFisso());
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// Where an item's text starts inside the list's viewport, as the list's style draws it.
int inizioTesto(const QListView& lista) {
    QStyleOptionViewItem opzione;
    opzione.initFrom(&lista);
    opzione.rect = QRect(0, 0, lista.width(), lista.fontMetrics().height());
    opzione.features = QStyleOptionViewItem::HasDisplay;
    opzione.font = lista.font();
    opzione.text = QStringLiteral("0");
    return lista.style()->subElementRect(QStyle::SE_ItemViewItemText, &opzione, &lista).left();
}

}  // namespace

ListaApp::ListaApp(const QString& fileIni, PlatformServices& platform, const QStringList& righe,
                   const QList<ChiavePromemoria>& chiavi, MostraPromemoria mostraPromemoria,
                   std::function<void()> richiediRicostruzione, QWidget* parent)
    : QDialog(parent),
      fileIni_(fileIni),
      platform_(platform),
      elenco_(righe, chiavi),
      mostraPromemoria_(std::move(mostraPromemoria)),
      richiediRicostruzione_(std::move(richiediRicostruzione)) {
    setObjectName(QStringLiteral("ListaApp"));
    setWindowTitle(QStringLiteral(" APPUNTAMENTI IN SCADENZA"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    // Light grey under the headers' black, whatever the desktop's palette.
    colors::setBackground(*this, QColor(224, 224, 224));
    creaControlli();
    resize(
        platform_.screen.rectFromTwips(QRect(0, 0, kLarghezzaProgetto, kAltezzaProgetto)).size());
    RipristinaFinestra(*this, fileIni_, platform_.screen);
    righeApp_->setStringList(elenco_.righe());
}

void ListaApp::creaControlli() {
    Label1_[0] = creaIntestazione(QStringLiteral("  DATA    ORA  CLIENTE CAUSALE"),
                                  QStringLiteral("Label1_0"), this);
    Label1_[1] = creaIntestazione(QStringLiteral("NOTE"), QStringLiteral("Label1_1"), this);
    // The blanks line the captions up over the columns; read aloud, they are a list.
    Label1_[0]->setAccessibleName(QStringLiteral("Data, ora, cliente, causale"));

    righeApp_ = new QStringListModel(this);
    lstApp_ = new QListView(this);
    lstApp_->setObjectName(QStringLiteral("lstApp"));
    lstApp_->setFont(fontFisso());
    lstApp_->setModel(righeApp_);
    lstApp_->setUniformItemSizes(true);  // keeps a list of many thousand lines quick to open
    lstApp_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstApp_->setSelectionMode(QAbstractItemView::SingleSelection);
    // Like the line columns, the list does not scroll sideways: a long note ends at the edge.
    lstApp_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A double-click anywhere in the list, below its last line too, acts on the selected line.
    lstApp_->viewport()->installEventFilter(this);
    lstApp_->setAccessibleName(QStringLiteral("Appuntamenti in scadenza"));
    lstApp_->setAccessibleDescription(
        QStringLiteral("Data, ora, cliente, causale e note; Spazio, il tasto menu o un doppio "
                       "clic apre il promemoria della riga scelta"));

    Command1_ = new QPushButton(QStringLiteral("&USCITA"), this);
    Command1_->setObjectName(QStringLiteral("Command1"));
    Command1_->setAccessibleDescription(QStringLiteral("Chiude l'elenco"));
    connect(Command1_, &QPushButton::clicked, this, &QWidget::close);

    // The exit button comes first, so it has the focus when the window opens.
    setTabOrder(Command1_, lstApp_);
    Command1_->setFocus();
    // Key preview: the window sees every key before the control that has the focus.
    for (QWidget* destinatario : std::initializer_list<QWidget*>{this, lstApp_, Command1_}) {
        destinatario->installEventFilter(this);
    }
}

// The window closes whether its place was stored or not; a refused write is only noted.
void ListaApp::done(int risultato) {
    if (const std::optional<QString> causa = SalvaFinestra(*this, fileIni_, platform_.screen)) {
        logDiagnostic(QStringLiteral("posizione dell'elenco non salvata in ") + fileIni_ +
                      QStringLiteral(": ") + *causa);
    }
    QDialog::done(risultato);
}

// A double-click in the list opens the selected line's reminder, and so do Space and the menu
// key in the list, for the operator without a mouse (Enter is left to the controls); F2 closes
// the window, whichever control has the focus.
bool ListaApp::eventFilter(QObject* oggetto, QEvent* evento) {
    if (oggetto == lstApp_->viewport() && evento->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(evento)->button() == Qt::LeftButton) {
        apriPromemoria();
        return true;
    }
    if (evento->type() != QEvent::KeyPress) return QDialog::eventFilter(oggetto, evento);
    const int tasto = static_cast<QKeyEvent*>(evento)->key();
    if (tasto == Qt::Key_F2) {
        close();
        return true;
    }
    if (oggetto == lstApp_ && (tasto == Qt::Key_Space || tasto == Qt::Key_Menu)) {
        apriPromemoria();
        return true;
    }
    return QDialog::eventFilter(oggetto, evento);
}

// The keys a dialog takes on its own, Esc closing it and Enter pressing the exit button from
// the list, do nothing here; Enter on the focused button still presses it.
void ListaApp::keyPressEvent(QKeyEvent* evento) {
    switch (evento->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return;
        default:
            QDialog::keyPressEvent(evento);
    }
}

void ListaApp::resizeEvent(QResizeEvent* evento) {
    QDialog::resizeEvent(evento);
    dispone();
}

// Applies the resize rule to the client area; the header stays where it is.
void ListaApp::dispone() {
    const Screen& schermo = platform_.screen;
    const QRectF area = schermo.rectToTwips(rect());
    const DisposizioneLista disposizione =
        DisposizioneLista::perArea(QSize(qRound(area.width()), qRound(area.height())));
    lstApp_->setGeometry(schermo.rectFromTwips(disposizione.lstApp));
    Command1_->setGeometry(schermo.rectFromTwips(disposizione.Command1));
    allineaIntestazione();
}

// Puts the header captions over the columns they name, measured in the list's own font and
// from where the list starts its text, so they match whatever fixed-pitch font is installed.
void ListaApp::allineaIntestazione() {
    const int testo = lstApp_->x() + lstApp_->viewport()->x() + inizioTesto(*lstApp_);
    const int carattere = lstApp_->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    const int altezza = platform_.screen.pixelsFromTwips(kAltezzaIntestazione);
    const std::array<int, 2> colonne = {testo, testo + kColonnaNote * carattere};
    for (std::size_t i = 0; i < Label1_.size(); ++i) {
        Label1_[i]->setGeometry(colonne[i], 0, Label1_[i]->sizeHint().width(), altezza);
    }
}

// Double-click on a line: shows its reminder window, then asks for a rebuild unless the
// reminder window was left with its exit button.
void ListaApp::apriPromemoria() {
    const std::optional<ChiavePromemoria> chiave = elenco_.chiave(lstApp_->currentIndex().row());
    if (!chiave) return;
    Comando comando = Comando::Uscita;
    try {
        comando = mostraPromemoria_(*chiave);
    } catch (const std::exception& errore) {
        logDiagnostic(QStringLiteral("promemoria non aperto"), errore);
        platform_.messages.show({QStringLiteral("IMPOSSIBILE APRIRE IL PROMEMORIA"), QString(),
                                 MessageIcon::Stop, MessageButtons::Ok});
        return;
    }
    if (comando != Comando::Uscita) richiediRicostruzione_();
}
