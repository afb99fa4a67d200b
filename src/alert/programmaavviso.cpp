// Taking in reminders, showing them, putting them off, and keeping them to the reminder table.
#include "alert/programmaavviso.h"

#include <QTextStream>
#include <map>
#include <memory>
#include <utility>

#include "alert/tabellapromemoria.h"
#include "alert/testonotifica.h"
#include "app/impostazioni.h"
#include "app/ini.h"
#include "app/suonaavviso.h"
#include "platform/desktopnotifier.h"
#include "reminder/argomentoerrato.h"
#include "util/dataerror.h"
#include "util/dateserial.h"

ProgrammaAvviso::ProgrammaAvviso(SoundPlayer& suono, DurateRinvio rinvii, QTextStream* eco,
                                 int quieteLottoMs)
    : suono_(suono), eco_(eco), rinvii_(rinvii) {
    fineLotto_.setSingleShot(true);
    fineLotto_.setInterval(quieteLottoMs);
    connect(&fineLotto_, &QTimer::timeout, this, &ProgrammaAvviso::concludiLotto);
    verifica_.setSingleShot(true);
    verifica_.setInterval(kPausaVerificaMs);
    connect(&verifica_, &QTimer::timeout, this, &ProgrammaAvviso::verifica);
    connect(&finestra_, &FinestraAvviso::rinviata, this, &ProgrammaAvviso::rinvia);
    connect(&finestra_, &FinestraAvviso::chiusa, this, &ProgrammaAvviso::chiudi);
    connect(&finestra_, &FinestraAvviso::schedaChiusa, this, &ProgrammaAvviso::chiudiScheda);
    connect(&finestra_, &FinestraAvviso::schedaRinviata, this, &ProgrammaAvviso::rinviaScheda);
    connect(&finestra_, &FinestraAvviso::schedaAperta, this, &ProgrammaAvviso::apriScheda);
    // A reminder comes back from its snooze only while its row still says it is due.
    connect(&rinviati_, &PromemoriaRinviati::ritornati, this, [this](const QList<Avviso>& avvisi) {
        for (const Avviso& avviso : ancoraDovuti(avvisi)) prendi(avviso);
        chiediVerifica();
    });
}

void ProgrammaAvviso::accogli(const Avviso& avviso) {
    prendi(avviso);
    chiediVerifica();
}

void ProgrammaAvviso::prendi(const Avviso& avviso) {
    if (rinviati_.trattiene(avviso)) return;
    const AvvisoDescritto descritto = DescriviAvviso(avviso);
    const ElencoAvvisi::Posto posto = elenco_.aggiungi(descritto);
    if (eco_) *eco_ << descritto.riga() << Qt::endl;
    if (!posto.nuovo) {
        finestra_.aggiorna(elenco_, posto.indice);
        return;
    }
    finestra_.aggiungi(elenco_, posto.indice);
    finestra_.presenta();
    if (!suonatoNelLotto_) {
        suona(avviso.fileIni);
        suonatoNelLotto_ = true;
    }
    lotto_.append(descritto);
    fineLotto_.start();
}

void ProgrammaAvviso::accogliMessaggio(const messaggi::PerAvviso& messaggio) {
    struct {
        ProgrammaAvviso& programma;
        void operator()(const messaggi::Promemoria& m) { programma.accogliArgomento(m.argomento); }
        void operator()(const messaggi::Rileggi&) { programma.chiediVerifica(); }
        void operator()(const messaggi::Fine&) { programma.termina(); }
        void operator()(const messaggi::Aree& m) { programma.finestra_.evita(m.finestre); }
    } azione{*this};
    std::visit(azione, messaggio);
}

void ProgrammaAvviso::chiediVerifica() {
    if (!verifica_.isActive()) verifica_.start();
}

// For each reminder its alarm while it is still due; nothing for one whose row is gone or
// whose alarm is later than the present. Nothing at all when the table cannot be read: the
// alert must reach the operator all the same.
std::optional<QList<std::optional<double>>> ProgrammaAvviso::allarmiDovuti(
    const QList<Avviso>& avvisi) {
    const double adesso = dateserial::fromDateTime(orologio_.now());
    std::map<QString, std::unique_ptr<TabellaPromemoria>> tabelle;
    QList<std::optional<double>> allarmi;
    allarmi.reserve(avvisi.size());
    try {
        for (const Avviso& avviso : avvisi) {
            std::unique_ptr<TabellaPromemoria>& tabella = tabelle[avviso.fileIni];
            if (!tabella) tabella = std::make_unique<TabellaPromemoria>(avviso.fileIni);
            const std::optional<double> allarme = tabella->allarme(ChiaveDi(avviso));
            allarmi.append(allarme && *allarme <= adesso ? allarme : std::nullopt);
        }
    } catch (const DataError&) {
        if (!std::exchange(illeggibileSegnalata_, true)) {
            QTextStream(stderr) << "SCADEX1.EXE: impossibile leggere la tabella dei promemoria: "
                                   "gli avvisi restano finché non si chiudono"
                                << Qt::endl;
        }
        return std::nullopt;
    }
    return allarmi;
}

QList<Avviso> ProgrammaAvviso::ancoraDovuti(const QList<Avviso>& avvisi) {
    const std::optional<QList<std::optional<double>>> allarmi = allarmiDovuti(avvisi);
    if (!allarmi) return avvisi;
    QList<Avviso> dovuti;
    for (qsizetype i = 0; i < avvisi.size(); ++i) {
        if (allarmi->at(i)) dovuti.append(avvisi.at(i));
    }
    return dovuti;
}

void ProgrammaAvviso::verifica() {
    verifica_.stop();
    const qsizetype mostrati = elenco_.mostrati();
    QList<Avviso> avvisi;
    for (const ElencoAvvisi::Voce& voce : elenco_.voci()) avvisi.append(voce.descritto.avviso);
    avvisi += rinviati_.avvisi();
    if (avvisi.isEmpty()) return;
    const std::optional<QList<std::optional<double>>> allarmi = allarmiDovuti(avvisi);
    if (!allarmi) return;
    for (qsizetype i = mostrati - 1; i >= 0; --i) {
        if (const std::optional<double>& allarme = allarmi->at(i)) {
            elenco_.fissaAllarme(i, *allarme);
        } else {
            togliScheda(i);
        }
    }
    if (const std::optional<QList<qsizetype>> prima = elenco_.riordina())
        finestra_.riordina(*prima);
    // The snoozes are visited in the order rinviati_.avvisi() gave them.
    qsizetype rinviato = mostrati;
    rinviati_.trattieniSolo([&](const Avviso&) { return allarmi->at(rinviato++).has_value(); });
    seVuota();
}

void ProgrammaAvviso::notificaSu(DesktopNotifier& notifiche) {
    connect(this, &ProgrammaAvviso::lottoConcluso, &notifiche,
            [this, &notifiche](const QList<AvvisoDescritto>& lotto) {
                const TestoNotifica testo = TestoNotifica::perLotto(lotto, elenco_.mostrati());
                notifiche.notify(NotificationKind::Reminder, testo.titolo, testo.testo);
            });
    connect(this, &ProgrammaAvviso::mostratiCambiati, &notifiche, [this, &notifiche] {
        QList<AvvisoDescritto> mostrati;
        for (const ElencoAvvisi::Voce& voce : elenco_.voci()) mostrati.prepend(voce.descritto);
        const TestoNotifica testo = TestoNotifica::perLotto(mostrati, elenco_.mostrati());
        notifiche.update(NotificationKind::Reminder, testo.titolo, testo.testo);
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

// SCADEX has ended: so do the snoozes, the window and the program.
void ProgrammaAvviso::termina() {
    rinviati_.annulla();
    togliAvvisi();
    finestra_.hide();
    concludiSeNienteRinviato();
}

Avviso ProgrammaAvviso::togliScheda(qsizetype indice) {
    const Avviso avviso = elenco_.togli(indice);
    finestra_.togli(elenco_, indice);
    schedeTolte_ = true;
    return avviso;
}

// A card's own answer; one for a card already gone (-1) is late and does nothing.
void ProgrammaAvviso::chiudiScheda(qsizetype indice) {
    if (indice < 0) return;
    togliScheda(indice);
    seVuota();
}

void ProgrammaAvviso::rinviaScheda(qsizetype indice, std::size_t rinvio) {
    if (indice < 0) return;
    rinviati_.rinvia({togliScheda(indice)}, rinvii_.at(rinvio));
    seVuota();
}

void ProgrammaAvviso::apriScheda(qsizetype indice) {
    if (indice < 0) return;
    const messaggi::Apri apri{ChiaveDi(elenco_.voci().at(indice).descritto.avviso)};
    if (scriviAScadex_ && scriviAScadex_(apri)) return;
    finestra_.segnala(
        QStringLiteral("SCADEX non risponde: aprire il promemoria dalla finestra di SCADEX."));
}

// The last card gone: the window goes, and with nothing put off the program ends. Cards gone
// before the last leave the notification counting what the window still shows.
void ProgrammaAvviso::seVuota() {
    if (elenco_.mostrati() > 0) {
        if (std::exchange(schedeTolte_, false)) emit mostratiCambiati();
        return;
    }
    schedeTolte_ = false;
    togliAvvisi();
    finestra_.hide();
    concludiSeNienteRinviato();
}

// Before the end is decided the program refuses further reminders; one confirmed meanwhile
// is taken in there, and keeps it running.
void ProgrammaAvviso::concludiSeNienteRinviato() {
    if (rinviati_.inCorso()) return;
    if (primaDiConcludere_) primaDiConcludere_();
    if (elenco_.voci().isEmpty()) {
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
    const QString fileSuono = agenda.suono.percorso();
    SuonaAvviso(agenda.suonoAttivo, fileSuono, suono_,
                [this, fileSuono](SoundFailure perche) { suonoFallito(perche, fileSuono); });
}

// SCADEX tells the operator once, however many hand-overs fail to sound.
void ProgrammaAvviso::suonoFallito(SoundFailure perche, const QString& fileSuono) {
    if (std::exchange(suonoSegnalato_, true) || !scriviAScadex_) return;
    scriviAScadex_(messaggi::SuonoFallito{CausaSuono(perche, fileSuono)});
}
