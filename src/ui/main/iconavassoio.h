// The tray icon: the count of due appointments, the next alarm, and the main window's commands.
#pragma once

#include <QObject>
#include <QStringList>
#include <QSystemTrayIcon>
#include <functional>
#include <optional>

#include "scan/riepilogopromemoria.h"

class QAction;
class QMenu;
class Clock;
struct EsitoSelezione;
class StatoScansione;

// The main window's commands the icon's menu offers.
struct ComandiVassoio {
    std::function<void()> elenca;
    std::function<void()> parametri;
    std::function<void()> chiudi;  // asks first, as F2 does
};

class IconaVassoio : public QObject {
    Q_OBJECT
public:
    // The icon of `finestra`, the main window, which a click restores; shown only once
    // `mostra` is called.
    IconaVassoio(QWidget& finestra, const Clock& clock, ComandiVassoio comandi);
    ~IconaVassoio() override;

    // Puts the icon in the tray, now or as soon as the desktop has one.
    void mostra();

    // The count and the next alarm of the rebuild the main window has just shown.
    void mostraSelezione(const EsitoSelezione& esito);
    // The tooltip's next alarm as it stands now; the main window calls it at every tick.
    void aggiornaSuggerimento();

    // While the reminders are stopped the icon carries a warning and the tooltip the cause.
    void mostraStato(const StatoScansione& stato);

    // A lasting warning on how this copy runs (without its lock on the work database, an alert
    // sound that cannot be heard): the tooltip carries each once, after whatever else it says.
    void mostraAvvertimento(const QString& avvertimento);

    // The application icon with `conteggio` drawn on it (none when 0), or the warning sign
    // when `fermo`, at the tray's sizes.
    static QIcon disegna(int conteggio, bool fermo = false);

    QSystemTrayIcon& icona() { return icona_; }
    QAction* azioneElenca() const { return elenca_; }
    QAction* azioneParametri() const { return parametri_; }
    QAction* azioneChiudi() const { return chiudi_; }

private:
    // Shows the main window restored and in front, as a click on the icon does.
    void ripristinaFinestra();
    void aggiornaIcona();
    void attivata(QSystemTrayIcon::ActivationReason motivo);
    void esegui(const std::function<void()>& comando);

    QWidget& finestra_;
    const Clock& clock_;
    const ComandiVassoio comandi_;
    RiepilogoPromemoria riepilogo_;
    std::optional<QString> guasto_;  // why the reminders are stopped
    QStringList avvertimenti_;
    QSystemTrayIcon icona_;
    QMenu* menu_;
    QAction* elenca_;
    QAction* parametri_;
    QAction* chiudi_;
};
