// The parameters panel pctParam: poll interval, sound switch, sound file and its test.
#pragma once

#include <QFrame>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class Screen;

class PannelloParametri : public QFrame {
    Q_OBJECT
public:
    PannelloParametri(const Screen& screen, QWidget* parent);

    QLabel* Label2_0;
    QLineEdit* Text1;
    QLabel* Label2_1;
    QComboBox* Combo1;
    QLabel* lbFile;
    QPushButton* cmdTest;
    QPushButton* Command2_0;  // "&CONFERMA"
    QPushButton* Command2_1;  // "&ABBANDONA"

    // Shows the interval as read from the configuration file, however long it is.
    void mostraSecondi(const QString& testo);
    // Fills Combo1 with "S=Si" (position 0) and "N=No" (position 1) and selects the switch.
    void mostraSuono(bool attivo);

private:
    void descriviControlli();
    void adattaDidascalie();
    // The typing limit of Text1, raised to the length of `testo` when that is longer: an edit
    // never lengthens the text beyond two characters or beyond what it was.
    void consentiLunghezza(const QString& testo);
};
