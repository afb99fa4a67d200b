// The tray icon: the count of due appointments, the next alarm, and the main window's commands.
#pragma once

#include <QObject>
#include <QSystemTrayIcon>
#include <optional>

#include "scan/riepilogopromemoria.h"

class QAction;
class QMenu;
class Startup;
class Clock;
struct EsitoSelezione;
class StatoScansione;

class IconaVassoio : public QObject {
    Q_OBJECT
public:
    // Follows `startup`'s rebuilds; shown only once `mostra` is called.
    IconaVassoio(Startup& startup, const Clock& clock);
    ~IconaVassoio() override;

    // Puts the icon in the tray, now or as soon as the desktop has one.
    void mostra();

    // While the reminders are stopped the icon carries a warning and the tooltip the cause.
    void mostraStato(const StatoScansione& stato);

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
    void aggiorna(const EsitoSelezione& esito);
    void aggiornaIcona();
    void aggiornaSuggerimento();
    void attivata(QSystemTrayIcon::ActivationReason motivo);
    void premi(int indice);

    Startup& startup_;
    const Clock& clock_;
    RiepilogoPromemoria riepilogo_;
    std::optional<QString> guasto_;  // why the reminders are stopped
    QSystemTrayIcon icona_;
    QMenu* menu_;
    QAction* elenca_;
    QAction* parametri_;
    QAction* chiudi_;
};
