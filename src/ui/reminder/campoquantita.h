// The amount box of the alarm lead: a few typed characters, the decimal key of the region.
#pragma once

#include <QLineEdit>

class CampoQuantita : public QLineEdit {
    Q_OBJECT
public:
    explicit CampoQuantita(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void limitaModifica(const QString& modificato);

    bool correggendo_ = false;
};
