// Desktop notifications through the session bus's notification service, one replacing the last.
#pragma once

#include <QDBusConnection>
#include <QList>
#include <QObject>
#include <QString>
#include <optional>

#include "platform/notifier.h"

class QDBusPendingCallWatcher;

class DesktopNotifier : public QObject, public Notifier {
    Q_OBJECT
public:
    // An action offered on the notification beside choosing it: `chiave` comes back through
    // azioneScelta, the service shows `etichetta`.
    struct Azione {
        QString chiave;
        QString etichetta;
    };

    // Without a session bus nothing is ever posted.
    explicit DesktopNotifier(QDBusConnection bus = QDBusConnection::sessionBus(),
                             QObject* parent = nullptr);

    // A notification service is on the bus, running or ready to be started by it.
    bool disponibile() const;

    // Posts a notification, or updates the one posted last while it is still shown. A failed
    // post (no service) is dropped: the notification only adds to the alert window.
    void notifica(TipoNotifica tipo, const QString& titolo, const QString& testo) override;
    void attendiConsegna(int millisecondi) override;
    // Withdraws the notification shown, one still waiting for its id included, and drops one
    // waiting to be posted.
    void ritira();

    // The notifications posted from now on offer `azioni`.
    void offriAzioni(const QList<Azione>& azioni) { azioni_ = azioni; }

    // The id the service gave the notification shown, 0 when none is.
    uint idCorrente() const { return id_; }

signals:
    // The operator chose the notification itself (its default action).
    void attivata();
    // The operator chose one of the offered actions.
    void azioneScelta(const QString& chiave);
    // The service answered a post (tests wait for it).
    void risposta();

private slots:
    void azioneInvocata(uint id, const QString& azione);
    void chiusa(uint id, uint motivo);

private:
    struct Notifica {
        TipoNotifica tipo;
        QString titolo;
        QString testo;
    };
    void invia(const Notifica& notifica);
    void chiediCapacita();
    void inviaSuccessiva();
    void rispostaRicevuta(QDBusPendingCallWatcher* chiamata);
    void chiudiCorrente();

    QDBusConnection bus_;
    QList<Azione> azioni_;
    uint id_ = 0;
    std::optional<bool> marcatura_;       // the service reads the body as markup
    bool inVolo_ = false;                 // a post waits for its id, or the first for the
                                          // service's capabilities
    int chiusureInCorso_ = 0;             // withdrawals not answered yet
    bool ritiroInSospeso_ = false;        // withdrawn while its id was awaited
    std::optional<Notifica> successiva_;  // posted meanwhile: sent once that id is known
};
