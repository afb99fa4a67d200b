// The alert window: a card for each reminder to work through, in alarm order.
#pragma once

#include <QList>
#include <QRect>
#include <QWidget>
#include <cstddef>

class QCloseEvent;
class QLabel;
class QPushButton;
class QScrollArea;
class QVBoxLayout;
class ElencoAvvisi;
class SchedaAvviso;

class FinestraAvviso : public QWidget {
    Q_OBJECT
public:
    explicit FinestraAvviso(QWidget* parent = nullptr);

    // Adds the card of the new reminder at place `indice` of `elenco`; the other cards stay
    // as they are, however many there are.
    void aggiungi(const ElencoAvvisi& elenco, qsizetype indice);
    // Refreshes, in place and quietly, the card at `indice` of `elenco`.
    void aggiorna(const ElencoAvvisi& elenco, qsizetype indice);
    // Drops the card at `indice`, which `elenco` no longer lists; the keyboard, when it was on
    // that card, goes to the card that takes its place.
    void togli(const ElencoAvvisi& elenco, qsizetype indice);
    // Puts the cards in the order ElencoAvvisi::riordina() gave: their former places.
    void riordina(const QList<qsizetype>& prima);
    // Shows the window without taking the keyboard, on top of other windows only where it
    // covers none of SCADEX's.
    void presenta();
    // Drops every card: the window's reminders have gone.
    void svuota();
    // At the operator's request: restores the window when minimised and gives it the keyboard.
    void richiama();
    // SCADEX's open windows are at `finestre`: the window moves to a corner clear of them.
    void evita(const QList<QRect>& finestre);
    // Tells the operator something about the window's reminders, below the cards.
    void segnala(const QString& testo);

    // The cards, in the order shown.
    const QList<SchedaAvviso*>& schede() const { return schede_; }

signals:
    // The operator closed the window, or pressed CHIUDI TUTTI.
    void chiusa();
    // The operator put every reminder off with the snooze at place `rinvio` of kRinvii.
    void rinviata(std::size_t rinvio);
    // The operator's answer to the card at `indice`.
    void schedaChiusa(qsizetype indice);
    void schedaRinviata(qsizetype indice, std::size_t rinvio);
    void schedaAperta(qsizetype indice);

protected:
    void closeEvent(QCloseEvent* evento) override;

private:
    QPushButton* rimanda(std::size_t rinvio);
    SchedaAvviso* nuovaScheda(const ElencoAvvisi& elenco, qsizetype indice);
    void passo(SchedaAvviso* scheda, int verso);
    void conta(const ElencoAvvisi& elenco);
    void adattaAltezza();
    void colloca();

    QScrollArea* area_ = nullptr;
    QVBoxLayout* colonna_ = nullptr;  // the cards, then a stretch
    QList<SchedaAvviso*> schede_;     // in the column's order
    QLabel* lbInAttesa_ = nullptr;
    QLabel* lbEsito_ = nullptr;
    QPushButton* cmdChiudi_ = nullptr;
    QList<QRect> evitate_;
    bool sopra_ = true;
};
