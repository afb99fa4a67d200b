// Taking in reminders while the alert window is open.
#include "alert/programmaavviso.h"

#include <QTextStream>
#include <utility>

#include "alert/argomentoerrato.h"
#include "alert/testonotifica.h"
#include "app/globali.h"
#include "app/impostazioni.h"
#include "app/suonaavviso.h"
#include "platform/desktopnotifier.h"

ProgrammaAvviso::ProgrammaAvviso(SoundPlayer& suono, QTextStream* eco, int quieteLottoMs)
    : suono_(suono), eco_(eco) {
    fineLotto_.setSingleShot(true);
    fineLotto_.setInterval(quieteLottoMs);
    connect(&fineLotto_, &QTimer::timeout, this, &ProgrammaAvviso::concludiLotto);
}

void ProgrammaAvviso::accogli(const Avviso& avviso) {
    const AvvisoDescritto descritto = DescriviAvviso(avviso);
    const bool nuovo = elenco_.aggiungi(descritto);
    finestra_.mostra(elenco_);
    if (nuovo && !suonatoNelLotto_) {
        suona(avviso.fileIni);
        suonatoNelLotto_ = true;
    }
    lotto_.append(descritto);
    fineLotto_.start();
    if (eco_) *eco_ << descritto.riga() << Qt::endl;
}

void ProgrammaAvviso::notificaSu(DesktopNotifier& notifiche) {
    connect(this, &ProgrammaAvviso::lottoConcluso, &notifiche,
            [&notifiche](const QList<AvvisoDescritto>& lotto) {
                const TestoNotifica testo = TestoNotifica::perLotto(lotto);
                notifiche.notifica(testo.titolo, testo.testo);
            });
    connect(&notifiche, &DesktopNotifier::attivata, &finestra_, &FinestraAvviso::richiama);
    connect(&finestra_, &FinestraAvviso::chiusa, &notifiche, &DesktopNotifier::ritira);
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
    Globali globali;
    globali.FileIni = fileIni;
    impostazioni::leggiAgenda(globali);
    SuonaAvviso(globali, suono_);
}
