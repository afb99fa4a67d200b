// The list window ListaApp: the due appointments of the last rebuild, one line each.
#pragma once

#include <QDialog>
#include <QStringList>
#include <array>
#include <functional>

#include "reminder/comando.h"
#include "ui/list/elencoscadenze.h"

struct PlatformServices;
class QLabel;
class QListView;
class QPushButton;
class QStringListModel;

class ListaApp : public QDialog {
    Q_OBJECT

public:
    // Shows the reminder window for one appointment, modally, and once it has closed gives
    // back the command in force: the one it was answered with or, when F2 alone closed it,
    // the one before. May throw std::exception.
    using MostraPromemoria = std::function<Comando(const ChiavePromemoria& chiave)>;

    // Copies the main window's display lines (`righe`) and their keys (`chiavi`); they are not
    // read again while the window is open. `fileIni` keeps the window's place and size.
    ListaApp(const QString& fileIni, PlatformServices& platform, const QStringList& righe,
             const QList<ChiavePromemoria>& chiavi, MostraPromemoria mostraPromemoria,
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

    const QString fileIni_;
    PlatformServices& platform_;
    ElencoScadenze elenco_;
    MostraPromemoria mostraPromemoria_;
    std::function<void()> richiediRicostruzione_;

    std::array<QLabel*, 2> Label1_{};
    QListView* lstApp_ = nullptr;
    QStringListModel* righeApp_ = nullptr;
    QPushButton* Command1_ = nullptr;
};
