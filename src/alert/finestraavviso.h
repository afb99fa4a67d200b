// The alert window: every reminder handed over while it is open, on top of other windows.
#pragma once

#include <QWidget>

#include "alert/rinvio.h"

class QCloseEvent;
class QLabel;
class QPushButton;
class QScrollArea;
class ElencoAvvisi;
struct AvvisoDescritto;

class FinestraAvviso : public QWidget {
    Q_OBJECT
public:
    explicit FinestraAvviso(QWidget* parent = nullptr);

    // Shows the reminders of `elenco`, newest first, on top of other windows but leaving the
    // keyboard where it is.
    void mostra(const ElencoAvvisi& elenco);
    // At the operator's request: restores the window when minimised and gives it the keyboard.
    void richiama();

signals:
    // The operator closed the window.
    void chiusa();
    // The operator put the reminders off.
    void rinviata(Rinvio rinvio);

protected:
    void closeEvent(QCloseEvent* evento) override;

private:
    QPushButton* rimanda(Rinvio rinvio, const QString& nome);
    QWidget* scheda(const AvvisoDescritto& avviso) const;
    void adattaAltezza();

    QScrollArea* schede_ = nullptr;
    QLabel* lbInAttesa_ = nullptr;
    QPushButton* cmdChiudi_ = nullptr;
};
