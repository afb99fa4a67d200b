// Taking in reminders, showing them and putting them off.
#include "alert/programmaavviso.h"

#include <QTextStream>
#include <utility>

#include "alert/testonotifica.h"
#include "app/impostazioni.h"
#include "app/ini.h"
#include "app/suonaavviso.h"
#include "platform/desktopnotifier.h"
#include "reminder/argomentoerrato.h"

ProgrammaAvviso::ProgrammaAvviso(SoundPlayer& suono, DurateRinvio rinvii, QTextStream* eco,
                                 int quieteLottoMs)
    : suono_(suono), eco_(eco), rinvii_(rinvii) {
    fineLotto_.setSingleShot(true);
    fineLotto_.setInterval(quieteLottoMs);
    connect(&fineLotto_, &QTimer::timeout, this, &ProgrammaAvviso::concludiLotto);
    connect(&finestra_, &FinestraAvviso::rinviata, this, &ProgrammaAvviso::rinvia);
    connect(&finestra_, &FinestraAvviso::chiusa, this, &ProgrammaAvviso::chiudi);
    connect(&rinviati_, &PromemoriaRinviati::ritornati, this, [this](const QList<Avviso>& avvisi) {
        for (const Avviso& avviso : avvisi) accogli(avviso);
    });
}

void ProgrammaAvviso::accogli(const Avviso& avviso) {
    if (rinviati_.trattiene(avviso)) return;
    const AvvisoDescritto descritto = DescriviAvviso(avviso);
    const std::optional<qsizetype> aggiornato = elenco_.aggiungi(descritto);
    finestra_.mostra(elenco_, aggiornato);
    if (!aggiornato && !suonatoNelLotto_) {
        suona(avviso.fileIni);
        suonatoNelLotto_ = true;
    }
    lotto_.append(descritto);
    fineLotto_.start();
    if (eco_) *eco_ << descritto.riga() << Qt::endl;
}

void ProgrammaAvviso::notificaSu(DesktopNotifier& notifiche) {
    connect(this, &ProgrammaAvviso::lottoConcluso, &notifiche,
            [this, &notifiche](const QList<AvvisoDescritto>& lotto) {
                const TestoNotifica testo = TestoNotifica::perLotto(lotto, elenco_.inAttesa());
                notifiche.notify(NotificationKind::Reminder, testo.titolo, testo.testo);
            });
    connect(&notifiche, &DesktopNotifier::activated, &finestra_, &FinestraAvviso::richiama);
    connect(this, &ProgrammaAvviso::avvisiTolti, &notifiche, &DesktopNotifier::withdraw);

    QList<DesktopNotifier::Action> azioni;
    for (const Rinvio& rinvio : kRinvii) {
        azioni.append({QString::fromLatin1(rinvio.azione), rinvio.testo()});
    }
    notifiche.offerActions(azioni);
    connect(&notifiche, &DesktopNotifier::actionChosen, this, [this](const QString& chiave) {
        for (std::size_t rinvio = 0; rinvio < kRinvii.size(); ++rinvio) {
            if (chiave == QLatin1String(kRinvii[rinvio].azione)) rinvia(rinvio);
        }
    });
}

void ProgrammaAvviso::rinvia(std::size_t rinvio) {
    rinviati_.rinvia(togliAvvisi(), rinvii_.at(rinvio));
    finestra_.hide();
    concludiSeNienteRinviato();
}

// Closing the window is done with its reminders; those put off still come back.
void ProgrammaAvviso::chiudi() {
    togliAvvisi();
    concludiSeNienteRinviato();
}

// Before the end is decided the program refuses further reminders; one confirmed meanwhile
// is taken in there, and keeps it running.
void ProgrammaAvviso::concludiSeNienteRinviato() {
    if (rinviati_.inCorso()) return;
    if (primaDiConcludere_) primaDiConcludere_();
    if (elenco_.avvisi().isEmpty()) {
        emit concluso();
        return;
    }
    // Shown again once the close under way has hidden the window.
    QTimer::singleShot(0, &finestra_, &FinestraAvviso::presenta);
}

// The batch under way goes with its reminders: nothing is posted for them any more.
QList<Avviso> ProgrammaAvviso::togliAvvisi() {
    fineLotto_.stop();
    lotto_.clear();
    suonatoNelLotto_ = false;
    emit avvisiTolti();
    finestra_.svuota();
    return elenco_.togliTutti();
}

void ProgrammaAvviso::concludiLotto() {
    const QList<AvvisoDescritto> lotto = std::exchange(lotto_, {});
    suonatoNelLotto_ = false;
    emit lottoConcluso(lotto);
}

void ProgrammaAvviso::accogliArgomento(const QString& argomento) {
    try {
        accogli(LeggiAvviso(argomento));
    } catch (const ArgomentoErrato& errore) {
        QTextStream(stderr) << "SCADEX1.EXE: " << errore.messaggio() << Qt::endl;
    }
}

// The sound settings are read anew each time: the operator may have changed them since.
void ProgrammaAvviso::suona(const QString& fileIni) {
    const Impostazioni agenda = impostazioni::leggiAgenda(IniLetto(fileIni));
    SuonaAvviso(agenda.suonoAttivo, agenda.suono.percorso(), suono_);
}
