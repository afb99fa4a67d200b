// The alert window: every reminder handed over while it is open, on top of other windows.
#pragma once

#include <QWidget>
#include <cstddef>
#include <optional>

class QCloseEvent;
class QLabel;
class QPushButton;
class QScrollArea;
class QVBoxLayout;
class ElencoAvvisi;
struct AvvisoDescritto;

class FinestraAvviso : public QWidget {
    Q_OBJECT
public:
    explicit FinestraAvviso(QWidget* parent = nullptr);

    // Shows the reminder `elenco` has just taken in, newest first, on top of other windows but
    // leaving the keyboard where it is: a new appointment (`aggiornato` empty) adds its card at
    // the top, one already shown has the card at that place refreshed. The other cards stay as
    // they are, however many there are.
    void mostra(const ElencoAvvisi& elenco, std::optional<qsizetype> aggiornato);
    // On top of other windows, leaving the keyboard where it is.
    void presenta();
    // Drops every card: the window's reminders have gone.
    void svuota();
    // At the operator's request: restores the window when minimised and gives it the keyboard.
    void richiama();

signals:
    // The operator closed the window.
    void chiusa();
    // The operator put the reminders off with the snooze at place `rinvio` of kRinvii.
    void rinviata(std::size_t rinvio);

protected:
    void closeEvent(QCloseEvent* evento) override;

private:
    QPushButton* rimanda(std::size_t rinvio);
    QWidget* scheda(const AvvisoDescritto& avviso) const;
    void adattaAltezza();

    QScrollArea* schede_ = nullptr;
    QVBoxLayout* colonna_ = nullptr;  // the cards, newest first, then a stretch
    QLabel* lbInAttesa_ = nullptr;
    QPushButton* cmdChiudi_ = nullptr;
};
