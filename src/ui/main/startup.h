// The main window Startup: the program's permanent window, its timer and hidden lists.
#pragma once

#include <QWidget>
#include <array>
#include <memory>

#include "app/impostazioni.h"
#include "scan/scansione.h"

class QLabel;
class QListWidget;
class QPushButton;
class QTimer;
class PannelloParametri;
struct Globali;
struct PlatformServices;

class Startup : public QWidget {
    Q_OBJECT
  public:
    enum class Avvio {
        Avviato,         // polling on the timer
        SenzaOperatore,  // no operator configured: end at once, nothing is open
        Errore,          // a failure after the databases began to open: ChiudiProgramma
    };

    Startup(Globali& globali, PlatformServices& platform, QWidget* parent = nullptr);
    ~Startup() override;

    // The window's load: settings, databases, first rebuild and poll, then the timer.
    Avvio avvia();

    // The rebuild as the list window asks for it (deferred while a poll walks the table).
    void SelezionaAppuntamenti();
    // One poll, as each tick of Timer1 runs it.
    void ControllaPromemoria();

    QPushButton* Command1(int indice) const { return command1_.at(static_cast<size_t>(indice)); }

    QWidget* pctBase;
    QLabel* Label1;
    QListWidget* List1;  // display lines of the due appointments
    QListWidget* List2;  // their key lines
    QTimer* Timer1;
    PannelloParametri* pctParam;

    Scansione& scansione() { return scansione_; }
    const Impostazioni& impostazioni() const { return impostazioni_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void creaControlli();
    void centraSulloSchermo();
    void mostraSelezione(const EsitoSelezione& esito);
    void avviaScansione();

    Globali& globali_;
    PlatformServices& platform_;
    std::array<QPushButton*, 4> command1_{};
    Impostazioni impostazioni_;
    Scansione scansione_;
};
