// Where SCADEX's open windows are, told to the alert program as they open, move and close.
#pragma once

#include <QObject>
#include <QRect>
#include <QTimer>

class CanaleAvviso;

class AreeFinestre : public QObject {
    Q_OBJECT
public:
    // Follows every window of the application from now on.
    explicit AreeFinestre(CanaleAvviso& canale, QObject* parent = nullptr);
    ~AreeFinestre() override;

    // Tells the areas now, changed or not: the alert program has asked for them.
    void dichiara();

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    static QList<QRect> aperte();

    CanaleAvviso& canale_;
    QTimer raccolta_;  // a window dragged moves many times: one message for them all
};
