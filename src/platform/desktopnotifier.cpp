// Posting to org.freedesktop.Notifications.
#include "platform/desktopnotifier.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusReply>
#include <QEventLoop>
#include <QTimer>
#include <QVariantMap>
#include <algorithm>
#include <utility>

namespace {

const QString kServizio = QStringLiteral("org.freedesktop.Notifications");
const QString kPercorso = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterfaccia = QStringLiteral("org.freedesktop.Notifications");
const QString kAzionePredefinita = QStringLiteral("default");
constexpr int kAttesaServizioMs = 2000;

// The hints a notification of `tipo` is posted with. One that waits for the operator asks to
// stay resident where the service keeps notifications after an action; a service without that
// capability ignores the hint.
QVariantMap suggerimenti(TipoNotifica tipo) {
    constexpr uchar kUrgenzaNormale = 1;
    constexpr uchar kUrgenzaCritica = 2;
    QVariantMap suggerimenti{{QStringLiteral("desktop-entry"), QStringLiteral("scadex")}};
    const uchar urgenza = tipo == TipoNotifica::Critica ? kUrgenzaCritica : kUrgenzaNormale;
    suggerimenti.insert(QStringLiteral("urgency"), QVariant::fromValue(urgenza));
    if (tipo == TipoNotifica::Promemoria) suggerimenti.insert(QStringLiteral("resident"), true);
    return suggerimenti;
}

// The expiry timeout in milliseconds, as the service takes it: -1 for its own, 0 for never.
int scadenza(TipoNotifica tipo) {
    return tipo == TipoNotifica::Informazione ? -1 : 0;
}

}  // namespace

DesktopNotifier::DesktopNotifier(QDBusConnection bus, QObject* parent)
    : QObject(parent), bus_(std::move(bus)) {
    if (!bus_.isConnected()) return;
    bus_.connect(kServizio, kPercorso, kInterfaccia, QStringLiteral("ActionInvoked"), this,
                 SLOT(azioneInvocata(uint, QString)));
    bus_.connect(kServizio, kPercorso, kInterfaccia, QStringLiteral("NotificationClosed"), this,
                 SLOT(chiusa(uint, uint)));
}

bool DesktopNotifier::disponibile() const {
    if (!bus_.isConnected()) return false;
    const QDBusConnectionInterface* bus = bus_.interface();
    if (bus->isServiceRegistered(kServizio)) return true;
    const QDBusReply<QStringList> avviabili = bus->activatableServiceNames();
    return avviabili.isValid() && avviabili.value().contains(kServizio);
}

void DesktopNotifier::notifica(TipoNotifica tipo, const QString& titolo, const QString& testo) {
    if (!bus_.isConnected()) return;
    if (inVolo_) {
        successiva_ = Notifica{tipo, titolo, testo};
        return;
    }
    if (!marcatura_) {
        successiva_ = Notifica{tipo, titolo, testo};
        chiediCapacita();
        return;
    }
    invia({tipo, titolo, testo});
}

void DesktopNotifier::ritira() {
    successiva_.reset();
    if (inVolo_) {
        ritiroInSospeso_ = true;
        return;
    }
    chiudiCorrente();
}

// A program about to end waits for the answer through attendiConsegna.
void DesktopNotifier::chiudiCorrente() {
    if (id_ == 0) return;
    QDBusMessage chiamata = QDBusMessage::createMethodCall(kServizio, kPercorso, kInterfaccia,
                                                           QStringLiteral("CloseNotification"));
    chiamata << std::exchange(id_, 0);
    ++chiusureInCorso_;
    auto* attesa = new QDBusPendingCallWatcher(bus_.asyncCall(chiamata, kAttesaServizioMs), this);
    connect(attesa, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* chiamata) {
                chiamata->deleteLater();
                --chiusureInCorso_;
                emit risposta();
            });
}

void DesktopNotifier::attendiConsegna(int millisecondi) {
    if (!inVolo_ && chiusureInCorso_ == 0) return;
    QEventLoop attesa;
    connect(this, &DesktopNotifier::risposta, &attesa, &QEventLoop::quit);
    QTimer::singleShot(millisecondi, &attesa, &QEventLoop::quit);
    attesa.exec();
}

void DesktopNotifier::invia(const Notifica& notifica) {
    QDBusMessage chiamata = QDBusMessage::createMethodCall(kServizio, kPercorso, kInterfaccia,
                                                           QStringLiteral("Notify"));
    // A body read as markup must carry names such as "ROSSI & C." escaped; one read as plain
    // text would show the escapes.
    const QString testo = *marcatura_ ? notifica.testo.toHtmlEscaped() : notifica.testo;
    QStringList azioni{kAzionePredefinita, QStringLiteral("Apri")};
    for (const Azione& azione : azioni_) azioni << azione.chiave << azione.etichetta;
    chiamata << QStringLiteral("SCADEX") << id_ << QStringLiteral("scadex") << notifica.titolo
             << testo << azioni << suggerimenti(notifica.tipo) << scadenza(notifica.tipo);
    // A service that does not answer in time is given up on: the next post tries again.
    inVolo_ = true;
    auto* attesa = new QDBusPendingCallWatcher(bus_.asyncCall(chiamata, kAttesaServizioMs), this);
    connect(attesa, &QDBusPendingCallWatcher::finished, this, &DesktopNotifier::rispostaRicevuta);
}

// Asked of the service at the first post, without waiting: the post waiting in successiva_
// goes once the answer is in. A service that does not answer drops that post and is asked
// again at the next.
void DesktopNotifier::chiediCapacita() {
    const QDBusMessage domanda = QDBusMessage::createMethodCall(kServizio, kPercorso, kInterfaccia,
                                                                QStringLiteral("GetCapabilities"));
    inVolo_ = true;
    auto* attesa = new QDBusPendingCallWatcher(bus_.asyncCall(domanda, kAttesaServizioMs), this);
    connect(attesa, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* chiamata) {
                chiamata->deleteLater();
                inVolo_ = false;
                ritiroInSospeso_ = false;  // nothing was posted yet
                const QDBusPendingReply<QStringList> capacita = *chiamata;
                if (capacita.isValid())
                    marcatura_ = capacita.value().contains(QStringLiteral("body-markup"));
                // Given up on, or withdrawn meanwhile: the post has its answer.
                if (!capacita.isValid() || !successiva_) {
                    successiva_.reset();
                    emit risposta();
                    return;
                }
                inviaSuccessiva();
            });
}

void DesktopNotifier::inviaSuccessiva() {
    if (!successiva_) return;
    const Notifica notifica = *std::exchange(successiva_, std::nullopt);
    invia(notifica);
}

void DesktopNotifier::rispostaRicevuta(QDBusPendingCallWatcher* chiamata) {
    chiamata->deleteLater();
    inVolo_ = false;
    const QDBusPendingReply<uint> risposta = *chiamata;
    id_ = risposta.isValid() ? risposta.value() : 0;
    if (std::exchange(ritiroInSospeso_, false)) chiudiCorrente();
    emit this->risposta();
    inviaSuccessiva();
}

void DesktopNotifier::azioneInvocata(uint id, const QString& azione) {
    if (id == 0 || id != id_) return;
    if (azione == kAzionePredefinita) {
        emit attivata();
    } else if (std::any_of(azioni_.cbegin(), azioni_.cend(),
                           [&azione](const Azione& offerta) { return offerta.chiave == azione; })) {
        emit azioneScelta(azione);
    }
}

// A notification the operator or the service closed is not replaced: the next one is new.
void DesktopNotifier::chiusa(uint id, uint /*motivo*/) {
    if (id == id_) id_ = 0;
}
