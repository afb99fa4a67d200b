// The list window ListaApp: the due appointments of the last rebuild, one line each.
#pragma once

#include <QDialog>
#include <QStringList>
#include <array>
#include <functional>

#include "ui/list/elencoscadenze.h"

struct Globali;
struct PlatformServices;
class QLabel;
class QListView;
class QPushButton;
class QStringListModel;

class ListaApp : public QDialog {
    Q_OBJECT

public:
    // Shows the reminder window for one appointment, modally; may throw std::exception.
    using MostraPromemoria =
        std::function<void(const QString& cliente, const QString& azione, const QString& data)>;

    // Copies the main window's display lines (`righe`) and key lines (`chiavi`); they are not
    // read again while the window is open.
    ListaApp(Globali& globali, PlatformServices& platform, const QStringList& righe,
             const QStringList& chiavi, MostraPromemoria mostraPromemoria,
             std::function<void()> richiediRicostruzione, QWidget* parent = nullptr);

    void done(int risultato) override;

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;

private:
    void creaControlli();
    void allineaIntestazione();
    void dispone();
    void apriPromemoria();

    Globali& globali_;
    PlatformServices& platform_;
    ElencoScadenze elenco_;
    MostraPromemoria mostraPromemoria_;
    std::function<void()> richiediRicostruzione_;

    std::array<QLabel*, 2> Label1_{};
    QListView* lstApp_ = nullptr;
    QStringListModel* righeApp_ = nullptr;
    QPushButton* Command1_ = nullptr;
};
