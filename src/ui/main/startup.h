// The main window Startup: the program's permanent window, its timer and the last rebuild.
#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "reminder/comando.h"
#include "reminder/messaggi.h"
#include "scan/puntualita.h"
#include "scan/scansione.h"
#include "ui/main/canaleavviso.h"

class QLabel;
class QPushButton;
class QTimer;
class PannelloParametri;
class GestioneParametri;
class QKeyEvent;
class IconaVassoio;
class IniLetto;
class StatoScansione;
class AreeFinestre;
class Sessione;
struct PlatformServices;

class Startup : public QWidget {
    Q_OBJECT
public:
    enum class Avvio {
        Avviato,         // polling on the timer
        SenzaOperatore,  // no operator configured: end at once, nothing is open
        Errore,          // a failure after the databases began to open: ChiudiProgramma
    };

    Startup(Sessione& sessione, PlatformServices& platform, QWidget* parent = nullptr);
    ~Startup() override;

    // The window's load: settings, databases, first rebuild and poll, then the timer.
    Avvio avvia();
    // Why the load did not start the program, in the operator's words, naming the file or
    // the server; empty after a successful load.
    const QString& causaMancatoAvvio() const { return causaMancatoAvvio_; }
    // What the database engine said of it, in its own language, for the diagnostic output
    // alone; empty when it said nothing.
    const QString& dettaglioMancatoAvvio() const { return dettaglioMancatoAvvio_; }

    // The rebuild as the list window asks for it (deferred while a poll walks the table).
    void SelezionaAppuntamenti();
    // One poll, as each tick of Timer1 runs it.
    void ControllaPromemoria();

    // The lines of the last successful rebuild, and the reminder of each.
    QStringList righe() const { return selezione_.righe(); }
    QList<ChiavePromemoria> chiavi() const { return selezione_.chiavi(); }

    // The scanning, once the load has opened the databases; nothing before.
    Scansione* scansione() { return scansione_.get(); }

    // How the program ends when this window closes (ChiudiProgramma; tests record it).
    void impostaChiusura(std::function<void()> chiusura) { chiusura_ = std::move(chiusura); }

    // What the alert program, or a later start, asks of this copy.
    void accogli(const messaggi::PerScadex& messaggio);

    // The tray icon, shown from the end of a successful load.
    IconaVassoio& vassoio() { return *vassoio_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    void creaControlli();
    void collegaComandi();
    void mostraElenco();
    Comando mostraPromemoria(const ChiavePromemoria& chiave);
    void rispondiDaAvviso(const ChiavePromemoria& chiave);
    void richiama();
    // F2's question; a Yes closes the window and so ends the program.
    void chiediChiusura();
    void osservaTasti(QWidget* radice);
    bool tastoPremuto(QObject* destinatario, QKeyEvent* tasto);
    bool filtraCarattere(QObject* destinatario, QKeyEvent* tasto);
    void mostraParametri();
    void nascondiParametri();
    void controllaIntervallo();
    void scegliFileSuono();
    void confermaParametri();
    void centraSulloSchermo();
    void mostraSelezione(const EsitoSelezione& esito);
    void avviaScansione(const IniLetto& ini);
    void mostraStato(const StatoScansione& stato);

    Sessione& sessione_;
    PlatformServices& platform_;
    QWidget* pctBase_ = nullptr;
    QLabel* Label1_ = nullptr;
    std::array<QPushButton*, 4> command1_{};
    PannelloParametri* pctParam_ = nullptr;
    QTimer* Timer1_ = nullptr;
    EsitoSelezione selezione_;  // the last successful rebuild
    std::unique_ptr<Scansione> scansione_;
    std::unique_ptr<Puntualita> puntualita_;  // after the scanning it drives
    std::unique_ptr<GestioneParametri> parametri_;
    std::function<void()> chiusura_;
    // The command the last reminder window was answered with; one closed with F2 alone leaves
    // it as it was.
    Comando ultimoComando_ = Comando::ImpostaAvviso;
    IconaVassoio* vassoio_ = nullptr;
    CanaleAvviso canale_;
    std::unique_ptr<AreeFinestre> aree_;
    bool controlloInCorso_ = false;
    QString causaMancatoAvvio_;
    QString dettaglioMancatoAvvio_;
};
