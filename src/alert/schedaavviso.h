// One card of the alert window: a reminder with its own buttons and keys.
#pragma once

#include <QFrame>
#include <cstddef>

#include "alert/avvisodescritto.h"

class QGridLayout;
class QKeyEvent;
class QLabel;
class QPaintEvent;
class QPushButton;

class SchedaAvviso : public QFrame {
    Q_OBJECT
public:
    explicit SchedaAvviso(const AvvisoDescritto& avviso, QWidget* parent = nullptr);

    // Shows `avviso`, the same appointment handed over again, in the card as it is.
    void aggiorna(const AvvisoDescritto& avviso);

signals:
    // The operator is done with this reminder: CHIUDI, or Canc.
    void chiusa();
    // The operator puts this reminder off with the snooze at place `rinvio` of kRinvii.
    void rinviata(std::size_t rinvio);
    // The operator wants to answer this reminder in SCADEX: APRI, or Invio.
    void aperta();
    // Up (-1) or Down (+1): the keyboard goes to the card before or after.
    void passo(int verso);

protected:
    void keyPressEvent(QKeyEvent* evento) override;
    // The card holding the keyboard, or holding the control that does, is framed.
    void paintEvent(QPaintEvent* evento) override;

private:
    QLabel* etichetta(const char* nome, bool grassetto = false, const QString& testo = {});
    void aggiungiPulsanti(QGridLayout& griglia);
    QPushButton* pulsante(const QString& nome, const QString& testo, const QString& descrizione);

    QLabel* lbData_ = nullptr;
    QLabel* lbCliCod_ = nullptr;
    QLabel* lbCliDes_ = nullptr;
    QLabel* lbAziCod_ = nullptr;
    QLabel* lbAziDes_ = nullptr;
};
