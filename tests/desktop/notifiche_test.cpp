// Desktop notifications with a real notification server (dunst) on a private session bus.
#include <gtest/gtest.h>
#include <signal.h>

#include <QApplication>
#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QDataStream>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QtTest/QTest>
#include <memory>

#include "alert/programmaavviso.h"
#include "alert/rinvio.h"
#include "alert/schedaavviso.h"
#include "gestarprova.h"
#include "platform/desktopnotifier.h"
#include "platform/gui/colors.h"
#include "support/fakes.h"
#include "support/legibility.h"
#include "support/tempdir.h"

namespace {

using namespace std::chrono_literals;

// The limit on a wait for what must happen: each wait ends with its event, and a loaded machine
// may take long to start a process or to run the server's record of a notification.
constexpr int kAttesaMs = 60000;
// dunst lets a notification of normal urgency expire after 10 s, unless it asks to stay.
constexpr int kPrimaDellaScadenzaMs = 5000;

struct Notifica {
    QString titolo;
    QString testo;
    QString urgenza;  // as dunst names it: NORMAL, CRITICAL
    int scadenzaMs;   // 0: never
};

// Runs a command and returns what it printed.
QByteArray esegui(const QString& programma, const QStringList& argomenti) {
    QProcess comando;
    comando.start(programma, argomenti);
    if (!comando.waitForFinished(kAttesaMs)) return {};
    return comando.readAllStandardOutput().trimmed();
}

QByteArray dunstctl(const QStringList& argomenti) {
    return esegui(QStringLiteral("dunstctl"), argomenti);
}

// How many notifications the server shows; -1 when it does not answer.
int mostrate() {
    bool numero = false;
    const int quante =
        dunstctl({QStringLiteral("count"), QStringLiteral("displayed")}).toInt(&numero);
    return numero ? quante : -1;
}

// The urgency and the timeout in milliseconds of notification `id`, as the server received
// them: scrivania's dunst writes them down for each notification it shows.
QStringList ricevuta(qint64 id) {
    QStringList campi;
    const bool trovata = QTest::qWaitFor(
        [&] {
            QFile registro(qEnvironmentVariable("SCRIVANIA_NOTIFICHE"));
            if (!registro.open(QIODevice::ReadOnly)) return false;
            for (const QByteArray& riga : registro.readAll().split('\n')) {
                const QStringList letti = QString::fromUtf8(riga).split(QLatin1Char(' '));
                if (letti.size() == 3 && letti[0].toLongLong() == id) campi = letti.mid(1);
            }
            return !campi.isEmpty();
        },
        kAttesaMs);
    EXPECT_TRUE(trovata) << "nothing written down for notification " << id;
    return campi;
}

// Closes what is shown and returns every notification of the server's history, newest first.
QList<Notifica> chiudiTutteELeggi() {
    dunstctl({QStringLiteral("close-all")});
    EXPECT_TRUE(QTest::qWaitFor([] { return mostrate() == 0; }, kAttesaMs));
    const QJsonArray storia = QJsonDocument::fromJson(dunstctl({QStringLiteral("history")}))
                                  .object()[QStringLiteral("data")]
                                  .toArray()
                                  .at(0)
                                  .toArray();
    QList<Notifica> notifiche;
    for (const QJsonValue& voce : storia) {
        const QJsonObject campi = voce.toObject();
        const auto dato = [&campi](const char* nome) {
            return campi[QLatin1String(nome)][QStringLiteral("data")];
        };
        const QStringList ricevuti = ricevuta(dato("id").toInteger());
        notifiche.append({dato("summary").toString(), dato("body").toString(), ricevuti.value(0),
                          ricevuti.value(1, QStringLiteral("-1")).toInt()});
    }
    return notifiche;
}

class NotificheSulDesktop : public ::testing::Test {
protected:
    // Each test starts with nothing shown and counts only its own notifications.
    void SetUp() override {
        ASSERT_TRUE(QTest::qWaitFor([this] { return notifier.available(); }, kAttesaMs))
            << "no notification server on the session bus";
        giaNellaStoria_ = static_cast<int>(chiudiTutteELeggi().size());
    }
    // Closes what is shown and returns the notifications of this test, newest first.
    QList<Notifica> notificheDelTest() const {
        const QList<Notifica> storia = chiudiTutteELeggi();
        return storia.mid(0, storia.size() - giaNellaStoria_);
    }
    // Chooses an action of the notifications shown from dunst's context menu, which
    // scrivania answers with the key written into $SCRIVANIA_AZIONE.
    static void scegliAzione(const char* chiave) {
        QFile scelta(qEnvironmentVariable("SCRIVANIA_AZIONE"));
        ASSERT_TRUE(scelta.open(QIODevice::WriteOnly) && scelta.write(chiave) > 0);
        scelta.close();
        dunstctl({QStringLiteral("context")});
    }

    DesktopNotifier notifier;

private:
    int giaNellaStoria_ = 0;
};

TEST_F(NotificheSulDesktop, ALaterNotificationReplacesTheOneShown) {
    notifier.notify(NotificationKind::Reminder, QStringLiteral("primo"), QStringLiteral("uno"));
    // Posted while the first waits for its id: it must still replace it, not pile up.
    notifier.notify(NotificationKind::Reminder, QStringLiteral("secondo"),
                    QStringLiteral("ROSSI & C."));
    ASSERT_TRUE(QTest::qWaitFor([&] { return notifier.currentId() != 0; }, kAttesaMs));
    EXPECT_EQ(mostrate(), 1);
    const QList<Notifica> storia = notificheDelTest();
    ASSERT_EQ(storia.size(), 1);
    EXPECT_EQ(storia[0].titolo, "secondo");
    // The server reads bodies as markup: the name reaches it escaped, to show as written.
    EXPECT_EQ(storia[0].testo, "ROSSI &amp; C.");
}

// A server that stops answering (stopped here) never holds the program up: the post returns
// at once, is given up on at its deadline, and a later one reaches the server once it is back.
TEST_F(NotificheSulDesktop, AServerThatDoesNotAnswerStallsNothingAndIsTriedAgain) {
    const QDBusReply<uint> pid = QDBusConnection::sessionBus().interface()->servicePid(
        QStringLiteral("org.freedesktop.Notifications"));
    ASSERT_TRUE(pid.isValid());
    DesktopNotifier nuovo;  // it has not asked the server anything yet
    QSignalSpy risposte(&nuovo, &DesktopNotifier::answered);
    ::kill(static_cast<pid_t>(pid.value()), SIGSTOP);
    QElapsedTimer durata;
    durata.start();
    nuovo.notify(NotificationKind::Reminder, QStringLiteral("perso"), QStringLiteral("uno"));
    EXPECT_LT(durata.elapsed(), 200);
    const bool abbandonato = risposte.wait(kAttesaMs);
    ::kill(static_cast<pid_t>(pid.value()), SIGCONT);
    ASSERT_TRUE(abbandonato);
    nuovo.notify(NotificationKind::Reminder, QStringLiteral("ripreso"), QStringLiteral("due"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return nuovo.currentId() != 0; }, kAttesaMs));
    EXPECT_EQ(notificheDelTest().value(0).titolo, "ripreso");
}

// What the desktop does with each kind of notification: reminders and failures stay.
struct CasoTipo {
    const char* nome;
    NotificationKind tipo;
    const char* urgenza;
    int scadenzaMs;
};

class TipoSulDesktop : public NotificheSulDesktop,
                       public ::testing::WithParamInterface<CasoTipo> {};

TEST_P(TipoSulDesktop, TheServerReceivesTheUrgencyAndTimeoutOfTheKind) {
    QSignalSpy risposte(&notifier, &DesktopNotifier::answered);
    notifier.notify(GetParam().tipo, QStringLiteral("SCADEX"), QStringLiteral("avviso"));
    ASSERT_TRUE(risposte.wait(kAttesaMs));
    const QList<Notifica> storia = notificheDelTest();
    ASSERT_EQ(storia.size(), 1);
    EXPECT_EQ(storia[0].urgenza, GetParam().urgenza);
    EXPECT_EQ(storia[0].scadenzaMs, GetParam().scadenzaMs);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, TipoSulDesktop,
    ::testing::Values(CasoTipo{"Information", NotificationKind::Information, "NORMAL", 10000},
                      CasoTipo{"Reminder", NotificationKind::Reminder, "NORMAL", 0},
                      CasoTipo{"Critical", NotificationKind::Critical, "CRITICAL", 0}),
    [](const auto& info) { return std::string(info.param.nome); });

// A start that fails, and the cause its notification must give, in Italian only: what the
// database engine says goes to standard error alone.
struct CasoAvvioFallito {
    const char* nome;
    const char* operatore;
    const char* causa;  // after the file it names
};

class AvvioFallitoSulDesktop : public NotificheSulDesktop,
                               public ::testing::WithParamInterface<CasoAvvioFallito> {};

TEST_P(AvvioFallitoSulDesktop, AFailedStartIsToldInOneCriticalNotification) {
    TestFolder cartella;
    const QString dati = cartella.path(QStringLiteral("dati/"));
    const QString ini = cartella.write(QStringLiteral("Gestar.ini"),
                                       QByteArray("[BASE]\r\nOPERATORE=") + GetParam().operatore +
                                           "\r\n[PATH]\r\nFILE=" + dati.toUtf8() + "\r\n");
    QProcess programma;
    programma.start(QStringLiteral(SCADEX_PROGRAM), {ini});
    ASSERT_TRUE(programma.waitForFinished(kAttesaMs));
    EXPECT_EQ(programma.exitCode(), 1);
    const QList<Notifica> storia = notificheDelTest();
    ASSERT_EQ(storia.size(), 1);
    EXPECT_EQ(storia[0].titolo, "SCADEX NON AVVIATO");
    EXPECT_EQ(storia[0].urgenza, "CRITICAL");
    const QString file = *GetParam().operatore ? dati + QStringLiteral("op/VisiteDV.mdb") : ini;
    EXPECT_EQ(storia[0].testo, QString::fromUtf8(GetParam().causa).arg(file));
}

INSTANTIATE_TEST_SUITE_P(
    Causes, AvvioFallitoSulDesktop,
    ::testing::Values(CasoAvvioFallito{"NoOperator", "",
                                       "OPERATORE MANCANTE NELLA SEZIONE BASE DI %1"},
                      CasoAvvioFallito{"DatabaseMissing", "op", "%1: ARCHIVIO INESISTENTE"}),
    [](const auto& info) { return std::string(info.param.nome); });

TEST_F(NotificheSulDesktop, TheDefaultActionReachesTheProgram) {
    QSignalSpy attivata(&notifier, &DesktopNotifier::activated);
    QSignalSpy risposte(&notifier, &DesktopNotifier::answered);
    notifier.notify(NotificationKind::Reminder, QStringLiteral("SCADEX"), QStringLiteral("avviso"));
    ASSERT_TRUE(risposte.wait(kAttesaMs));
    dunstctl({QStringLiteral("action"), QStringLiteral("0")});
    EXPECT_TRUE(attivata.wait(kAttesaMs));
}

// The operator chose the notification twice before the program took the first in, which
// withdrew it (as a snooze does): the second is for a notification gone. dunstctl is waited for
// outside the event loop, so both actions reach the program before it handles either.
TEST_F(NotificheSulDesktop, AnActionForAWithdrawnNotificationIsIgnored) {
    QSignalSpy attivata(&notifier, &DesktopNotifier::activated);
    QSignalSpy risposte(&notifier, &DesktopNotifier::answered);
    QObject::connect(&notifier, &DesktopNotifier::activated, &notifier, &DesktopNotifier::withdraw);
    notifier.notify(NotificationKind::Reminder, QStringLiteral("SCADEX"), QStringLiteral("avviso"));
    ASSERT_TRUE(risposte.wait(kAttesaMs));
    dunstctl({QStringLiteral("action"), QStringLiteral("0")});
    dunstctl({QStringLiteral("action"), QStringLiteral("0")});
    // The server answers the withdrawal after it has sent the second action.
    ASSERT_TRUE(risposte.wait(kAttesaMs));
    EXPECT_EQ(attivata.size(), 1);
}

// An update the hung server took in only after it was given up on leaves that notification on
// the screen, no longer the program's: the next one is posted anew beside it, and an action
// for the old one is not the new one's.
TEST_F(NotificheSulDesktop, AnActionForANotificationReplacedByANewOneIsIgnored) {
    QSignalSpy attivata(&notifier, &DesktopNotifier::activated);
    QSignalSpy scelte(&notifier, &DesktopNotifier::actionChosen);
    QSignalSpy risposte(&notifier, &DesktopNotifier::answered);
    notifier.notify(NotificationKind::Reminder, QStringLiteral("primo"), QStringLiteral("uno"));
    ASSERT_TRUE(risposte.wait(kAttesaMs));
    const uint primo = notifier.currentId();
    const QDBusReply<uint> pid = QDBusConnection::sessionBus().interface()->servicePid(
        QStringLiteral("org.freedesktop.Notifications"));
    ASSERT_TRUE(pid.isValid());
    ::kill(static_cast<pid_t>(pid.value()), SIGSTOP);
    notifier.notify(NotificationKind::Reminder, QStringLiteral("primo"), QStringLiteral("tardi"));
    const bool abbandonato = risposte.wait(kAttesaMs);
    ::kill(static_cast<pid_t>(pid.value()), SIGCONT);
    ASSERT_TRUE(abbandonato);

    notifier.offerActions({{QStringLiteral("prova"), QStringLiteral("Prova")}});
    notifier.notify(NotificationKind::Reminder, QStringLiteral("secondo"), QStringLiteral("due"));
    ASSERT_TRUE(risposte.wait(kAttesaMs));
    ASSERT_NE(notifier.currentId(), primo);
    ASSERT_TRUE(QTest::qWaitFor([] { return mostrate() == 2; }, kAttesaMs));
    // dunst puts the older one first; the new one's own action comes after it.
    dunstctl({QStringLiteral("action"), QStringLiteral("0")});
    ASSERT_NO_FATAL_FAILURE(scegliAzione("prova"));
    ASSERT_TRUE(scelte.wait(kAttesaMs));
    EXPECT_EQ(attivata.size(), 0);
}

TEST_F(NotificheSulDesktop, AClosedNotificationIsNotReplacedButPostedAnew) {
    QSignalSpy risposte(&notifier, &DesktopNotifier::answered);
    notifier.notify(NotificationKind::Reminder, QStringLiteral("primo"), QStringLiteral("uno"));
    ASSERT_TRUE(risposte.wait(kAttesaMs));
    const uint primo = notifier.currentId();
    dunstctl({QStringLiteral("close-all")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return notifier.currentId() == 0; }, kAttesaMs));
    notifier.notify(NotificationKind::Reminder, QStringLiteral("secondo"), QStringLiteral("due"));
    ASSERT_TRUE(risposte.wait(kAttesaMs));
    EXPECT_NE(notifier.currentId(), primo);
    EXPECT_EQ(mostrate(), 1);
}

// The alert window of this process, posting to the desktop's notification server.
class ProgrammaSulDesktop : public NotificheSulDesktop {
protected:
    explicit ProgrammaSulDesktop(DurateRinvio rinvii = kDurateRinvio)
        : programma(suono, rinvii, nullptr, 50) {
        programma.notificaSu(notifier);
    }

    // Hands a reminder over and waits until its notification is posted; with `mostrata`
    // also until the service has answered and shows it.
    void notificaUnAvviso(bool mostrata = true) {
        QSignalSpy lotti(&programma, &ProgrammaAvviso::lottoConcluso);
        QSignalSpy risposte(&notifier, &DesktopNotifier::answered);
        programma.accogliArgomento(gestar.argomento(1, 1234, "VIS", "06/12/2026 10:00:00"));
        ASSERT_TRUE(lotti.wait(kAttesaMs));
        if (mostrata) {
            ASSERT_TRUE(risposte.wait(kAttesaMs));
            ASSERT_TRUE(QTest::qWaitFor([] { return mostrate() == 1; }, kAttesaMs));
        }
    }
    // Waits for the notifications to go, well before the server would let them expire.
    static bool ritirate() {
        return QTest::qWaitFor([] { return mostrate() == 0; }, kPrimaDellaScadenzaMs);
    }

    const GestarProva gestar;
    RecordingSoundPlayer suono;
    ProgrammaAvviso programma;
};

TEST_F(ProgrammaSulDesktop, ChoosingTheNotificationRestoresTheMinimisedAlertWindow) {
    ASSERT_NO_FATAL_FAILURE(notificaUnAvviso());
    programma.finestra().showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return programma.finestra().isMinimized(); }, kAttesaMs));
    // Restored by the program itself, not left to a window manager that may refuse to
    // activate it.
    bool ripristinata = false;
    QObject::connect(&notifier, &DesktopNotifier::activated, &programma,
                     [&] { ripristinata = !programma.finestra().isMinimized(); });
    QSignalSpy attivata(&notifier, &DesktopNotifier::activated);
    dunstctl({QStringLiteral("action"), QStringLiteral("0")});
    ASSERT_TRUE(attivata.wait(kAttesaMs));
    EXPECT_TRUE(ripristinata);
    EXPECT_TRUE(programma.finestra().isVisible());
}

// Also when the window is closed before the service has given the notification its id.
class ChiusuraSulDesktop : public ProgrammaSulDesktop,
                           public ::testing::WithParamInterface<bool> {};

TEST_P(ChiusuraSulDesktop, ClosingTheAlertWindowWithdrawsItsNotification) {
    const bool primaDellId = GetParam();
    QSignalSpy risposte(&notifier, &DesktopNotifier::answered);
    ASSERT_NO_FATAL_FAILURE(notificaUnAvviso(!primaDellId));
    programma.finestra().findChild<QPushButton*>("cmdChiudi")->click();
    ASSERT_TRUE(risposte.size() == 1 || risposte.wait(kAttesaMs));
    EXPECT_TRUE(ritirate());
}

INSTANTIATE_TEST_SUITE_P(Closing, ChiusuraSulDesktop, ::testing::Bool(), [](const auto& info) {
    return std::string(info.param ? "BeforeItsId" : "WhileShown");
});

// The chosen snooze short, the other beyond the test.
struct CasoAzione {
    const char* nome;
    const char* chiave;
    DurateRinvio rinvii;
};

class RinvioSulDesktop : public ProgrammaSulDesktop,
                         public ::testing::WithParamInterface<CasoAzione> {
protected:
    RinvioSulDesktop() : ProgrammaSulDesktop(GetParam().rinvii) {}
};

TEST_P(RinvioSulDesktop, TheNotificationsActionPutsTheRemindersOffAndBringsThemBack) {
    ASSERT_NO_FATAL_FAILURE(notificaUnAvviso());
    QSignalSpy lotti(&programma, &ProgrammaAvviso::lottoConcluso);
    ASSERT_NO_FATAL_FAILURE(scegliAzione(GetParam().chiave));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !programma.finestra().isVisible(); }, kAttesaMs));
    EXPECT_TRUE(ritirate());
    ASSERT_TRUE(lotti.wait(kAttesaMs));
    EXPECT_TRUE(programma.finestra().isVisible());
    EXPECT_TRUE(QTest::qWaitFor([] { return mostrate() == 1; }, kAttesaMs));
}

INSTANTIATE_TEST_SUITE_P(Snoozes, RinvioSulDesktop,
                         ::testing::Values(CasoAzione{"FiveMinutes", "rimanda-5", {1500ms, 1h}},
                                           CasoAzione{
                                               "FifteenMinutes", "rimanda-15", {1h, 1500ms}}),
                         [](const auto& info) { return std::string(info.param.nome); });

// The operator's desktop palette: the cards and their frame must read on either.
struct CasoTavolozza {
    const char* nome;
    bool scura;
};

QPalette tavolozzaScura() {
    QPalette scura;
    scura.setColor(QPalette::Window, QColor(45, 45, 45));
    scura.setColor(QPalette::WindowText, Qt::white);
    scura.setColor(QPalette::Base, QColor(30, 30, 30));
    scura.setColor(QPalette::Text, Qt::white);
    scura.setColor(QPalette::Button, QColor(60, 60, 60));
    scura.setColor(QPalette::ButtonText, Qt::white);
    return scura;
}

// The cards of the alert window worked through on the desktop, under each palette; a snooze
// short enough for the test.
class SchedeSulDesktop : public ProgrammaSulDesktop,
                         public ::testing::WithParamInterface<CasoTavolozza> {
protected:
    SchedeSulDesktop() : ProgrammaSulDesktop({1500ms, 1h}) {}
    void SetUp() override {
        ProgrammaSulDesktop::SetUp();
        if (GetParam().scura) QApplication::setPalette(tavolozzaScura());
    }
    void TearDown() override { QApplication::setPalette(tavolozzaOriginale_); }

    // Hands a reminder over and waits for its batch's notification to be shown; `lotto` is
    // what the batch posted.
    void consegna(qint32 cliente, const QString& azione, const QString& data) {
        QSignalSpy lotti(&programma, &ProgrammaAvviso::lottoConcluso);
        programma.accogliArgomento(gestar.argomento(1, cliente, azione, data));
        ASSERT_TRUE(lotti.wait(kAttesaMs));
        ASSERT_TRUE(QTest::qWaitFor([] { return mostrate() == 1; }, kAttesaMs));
        lotto.clear();
        for (const AvvisoDescritto& avviso : lotti.at(0).at(0).value<QList<AvvisoDescritto>>())
            lotto.append(avviso.avviso.cliente);
    }
    QStringList clienti() {
        QStringList codici;
        for (const SchedaAvviso* scheda : programma.finestra().schede())
            codici.append(scheda->findChild<QLabel*>("lbCliCod")->text());
        return codici;
    }
    bool restano(const QStringList& codici) {
        return QTest::qWaitFor([&] { return clienti() == codici; }, kAttesaMs);
    }

    QList<qint32> lotto;

private:
    QPalette tavolozzaOriginale_ = QApplication::palette();
};

TEST_P(SchedeSulDesktop, AHandOverAgainKeepsItsCardAndTakesNothing) {
    QLineEdit scrittura;
    scrittura.show();
    scrittura.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&scrittura));
    ASSERT_NO_FATAL_FAILURE(consegna(1234, "VIS", "06/12/2026 10:00:00"));
    const int altezza = programma.finestra().height();
    ASSERT_NO_FATAL_FAILURE(consegna(55, "TEL", "06/12/2026 11:00:00"));
    programma.accogliArgomento(gestar.argomento(3, 1234, "VIS", "06/12/2026 10:00:00"));
    ASSERT_NO_FATAL_FAILURE(consegna(9, "", "06/12/2026 12:00:00"));
    EXPECT_EQ(clienti(), (QStringList{"1234", "55", "9"}));
    EXPECT_GE(programma.finestra().height(), altezza);
    EXPECT_TRUE(scrittura.isActiveWindow());
    EXPECT_EQ(lotto, QList<qint32>{9});
    EXPECT_EQ(mostrate(), 1);
}

TEST_P(SchedeSulDesktop, AReminderStoppedDuringItsSnoozeNeverReturns) {
    ASSERT_NO_FATAL_FAILURE(consegna(1234, "VIS", "06/12/2026 10:00:00"));
    programma.accogliArgomento(gestar.argomento(2, 55, "TEL", "06/12/2026 11:00:00"));
    programma.finestra().findChild<QPushButton*>("cmdRimanda5")->click();
    EXPECT_TRUE(ritirate());
    // The reading the hand-over asked for is done: only the snooze's end reads the table now.
    programma.verifica();
    gestar.togliPromemoria(1234, "VIS", "06/12/2026 10:00:00");
    ASSERT_TRUE(QTest::qWaitFor([&] { return programma.finestra().isVisible(); }, kAttesaMs));
    EXPECT_EQ(clienti(), QStringList{"55"});
    ASSERT_TRUE(QTest::qWaitFor([] { return mostrate() == 1; }, kAttesaMs));
    const QList<Notifica> storia = notificheDelTest();
    EXPECT_FALSE(storia.value(0).testo.contains("1234")) << storia.value(0).testo.toStdString();
}

TEST_P(SchedeSulDesktop, ACardAnsweredInScadexLeavesTheWindow) {
    ASSERT_NO_FATAL_FAILURE(consegna(1234, "VIS", "06/12/2026 10:00:00"));
    ASSERT_NO_FATAL_FAILURE(consegna(55, "TEL", "06/12/2026 11:00:00"));
    // The reading the hand-over asked for is done: only Rileggi reads the table now.
    programma.verifica();
    gestar.togliPromemoria(1234, "VIS", "06/12/2026 10:00:00");
    QSignalSpy risposte(&notifier, &DesktopNotifier::answered);
    programma.accogliMessaggio(messaggi::Rileggi{});
    EXPECT_TRUE(restano({"55"}));
    EXPECT_TRUE(programma.finestra().isVisible());
    // The notification counts what the window still shows.
    ASSERT_TRUE(risposte.size() > 0 || risposte.wait(kAttesaMs));
    EXPECT_EQ(notificheDelTest().value(0).titolo, "SCADEX: 1 PROMEMORIA NELLA FINESTRA D'AVVISO");
}

// The keyboard alone: the framed card, the arrows, Canc and Invio; every text and the frame
// read on the palette.
TEST_P(SchedeSulDesktop, TheKeysWorkOnTheFramedCard) {
    QList<qint32> aperti;
    programma.scriviAScadex([&aperti](const messaggi::PerScadex& messaggio) {
        if (const auto* apri = std::get_if<messaggi::Apri>(&messaggio))
            aperti.append(apri->chiave.cliente);
        return true;
    });
    ASSERT_NO_FATAL_FAILURE(consegna(1234, "VIS", "06/12/2026 10:00:00"));
    programma.accogliArgomento(gestar.argomento(2, 55, "TEL", "06/12/2026 11:00:00"));
    programma.accogliArgomento(gestar.argomento(3, 9, "", "06/12/2026 12:00:00"));
    FinestraAvviso& finestra = programma.finestra();
    finestra.richiama();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&finestra));
    const QList<SchedaAvviso*> schede = finestra.schede();
    ASSERT_TRUE(QTest::qWaitFor([&] { return schede[0]->hasFocus(); }, kAttesaMs));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    ASSERT_TRUE(schede[1]->hasFocus());
    const QColor sfondo = schede[1]->palette().color(QPalette::Window);
    const QImage conFuoco = schede[1]->grab().toImage();
    const QColor cornice = conFuoco.pixelColor(1, conFuoco.height() / 2);
    EXPECT_GE(colors::contrastRatio(cornice, sfondo), 3.0) << cornice.name().toStdString();
    EXPECT_NE(schede[2]->grab().toImage().pixelColor(1, conFuoco.height() / 2), cornice);
    EXPECT_EQ(illegibleTexts(finestra).toStdString(), "");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(aperti, QList<qint32>{55});
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    EXPECT_TRUE(restano({"1234", "9"}));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    EXPECT_TRUE(restano({"9"}));
}

INSTANTIATE_TEST_SUITE_P(Palettes, SchedeSulDesktop,
                         ::testing::Values(CasoTavolozza{"Light", false},
                                           CasoTavolozza{"Dark", true}),
                         [](const auto& info) { return std::string(info.param.nome); });

// The alert program itself, started as scadex starts it, on this desktop.
class AvvisoSulDesktop : public NotificheSulDesktop {
protected:
    ~AvvisoSulDesktop() override {
        for (const auto& processo : avviati_) {
            processo->kill();
            processo->waitForFinished();
        }
    }
    // Starts the alert program with its lines echoed; `conBus` false hides the session bus.
    QProcess& avvia(const QString& argomento, bool conBus = true) {
        auto processo = std::make_unique<QProcess>();
        QProcessEnvironment ambiente = gestar.ambiente();
        ambiente.insert(QStringLiteral("SCADEX_ALERT_ECHO"), QStringLiteral("1"));
        if (!conBus) ambiente.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        processo->setProcessEnvironment(ambiente);
        processo->start(QStringLiteral(SCADEX_ALERT_PROGRAM), {argomento});
        EXPECT_TRUE(processo->waitForStarted());
        avviati_.push_back(std::move(processo));
        return *avviati_.back();
    }
    static QString rigaDa(QProcess& processo) {
        while (!processo.canReadLine()) {
            if (!processo.waitForReadyRead(kAttesaMs)) return {};
        }
        return QString::fromUtf8(processo.readLine()).trimmed();
    }

    GestarProva gestar;

private:
    std::vector<std::unique_ptr<QProcess>> avviati_;
};

TEST_F(AvvisoSulDesktop, AHandOverPostsOneNotificationAndTheNextBatchReplacesIt) {
    QProcess& finestra = avvia(gestar.argomento(1, 1234, "VIS", "06/12/2026 10:00:00"));
    ASSERT_TRUE(rigaDa(finestra).startsWith("AVVISO "));
    ASSERT_TRUE(QTest::qWaitFor([] { return mostrate() == 1; }, kAttesaMs));

    // The next poll hands two more over: one batch, handed to the window already open.
    QProcess& secondo = avvia(gestar.argomento(2, 55, "TEL", "06/12/2026 11:00:00"));
    QProcess& terzo = avvia(gestar.argomento(3, 9, "", "06/12/2026 12:00:00"));
    EXPECT_TRUE(secondo.waitForFinished(kAttesaMs));
    EXPECT_TRUE(terzo.waitForFinished(kAttesaMs));
    rigaDa(finestra);
    rigaDa(finestra);
    QTest::qWait(ProgrammaAvviso::kQuieteLottoMs + 1500);
    EXPECT_EQ(mostrate(), 1);

    const QList<Notifica> storia = notificheDelTest();
    ASSERT_EQ(storia.size(), 1);
    EXPECT_EQ(storia[0].titolo, "SCADEX: 3 PROMEMORIA NELLA FINESTRA D'AVVISO");
    EXPECT_EQ(storia[0].scadenzaMs, 0) << "a reminder's notification must wait for the operator";
    EXPECT_TRUE(storia[0].testo.contains("cliente 55 BIANCHI - TEL Telefonata"))
        << storia[0].testo.toStdString();
    EXPECT_TRUE(storia[0].testo.contains("cliente 9")) << storia[0].testo.toStdString();
    EXPECT_EQ(finestra.state(), QProcess::Running);
}

// The operator goes on typing where he was; the desktop keeps the window with SCADEX's.
TEST_F(AvvisoSulDesktop, TheWindowLeavesTheKeyboardAloneAndGoesWithScadex) {
    QLineEdit scrittura;
    scrittura.show();
    scrittura.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&scrittura));
    QProcess& finestra = avvia(gestar.argomento(1, 1234, "VIS", "06/12/2026 10:00:00"));
    ASSERT_TRUE(rigaDa(finestra).startsWith("AVVISO "));
    // xwininfo and xprop come with x11-utils.
    const QStringList avviso{QStringLiteral("-name"), QStringLiteral("SCADEX - AVVISO")};
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return esegui(QStringLiteral("xwininfo"), avviso).contains("IsViewable"); },
        kAttesaMs));
    EXPECT_FALSE(QTest::qWaitFor([&] { return !scrittura.isActiveWindow(); }, 1000));
    EXPECT_EQ(esegui(QStringLiteral("xprop"), avviso + QStringList{QStringLiteral("WM_CLASS")}),
              "WM_CLASS(STRING) = \"SCADEX1.EXE\", \"scadex\"");
}

// The operator closes the window while the notification service hangs, so the program waits
// for its withdrawal before it ends; a reminder handed over meanwhile must not be taken in and
// dropped: the closing program no longer answers, and the new start shows it itself.
TEST_F(AvvisoSulDesktop, AReminderHandedOverWhileTheWindowClosesIsShownByItsOwnStart) {
    QProcess& primo = avvia(gestar.argomento(1, 1234, "VIS", "06/12/2026 10:00:00"));
    ASSERT_TRUE(rigaDa(primo).startsWith("AVVISO "));
    ASSERT_TRUE(QTest::qWaitFor([] { return mostrate() == 1; }, kAttesaMs));
    const QDBusReply<uint> servizio = QDBusConnection::sessionBus().interface()->servicePid(
        QStringLiteral("org.freedesktop.Notifications"));
    ASSERT_TRUE(servizio.isValid());
    const auto pid = static_cast<pid_t>(servizio.value());
    ::kill(pid, SIGSTOP);
    const auto riprendi = qScopeGuard([pid] { ::kill(pid, SIGCONT); });

    // wmctrl asks the window manager, which sends the close the close box sends.
    const QStringList finestra{QStringLiteral("-name"), QStringLiteral("SCADEX - AVVISO")};
    esegui(QStringLiteral("wmctrl"), {QStringLiteral("-c"), QStringLiteral("SCADEX - AVVISO")});
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !esegui(QStringLiteral("xwininfo"), finestra).contains("IsViewable"); },
        kAttesaMs));
    ASSERT_EQ(primo.state(), QProcess::Running) << "the close did not wait for the service";

    QProcess& secondo = avvia(gestar.argomento(2, 55, "TEL", "06/12/2026 11:00:00"));
    const QString riga = rigaDa(secondo);
    EXPECT_TRUE(riga.startsWith("AVVISO ") && riga.contains("55")) << riga.toStdString();
    EXPECT_TRUE(primo.waitForFinished(kAttesaMs));
    EXPECT_TRUE(primo.readAllStandardOutput().isEmpty()) << "the closing program took it in";
    EXPECT_EQ(secondo.state(), QProcess::Running);
}

// A tenth of a second of silence as a waveform file: 8 kHz, one channel, 16 bits.
QByteArray silenzio() {
    constexpr quint32 kCampioni = 800;
    QByteArray wav;
    QDataStream dati(&wav, QIODevice::WriteOnly);
    dati.setByteOrder(QDataStream::LittleEndian);
    dati.writeRawData("RIFF", 4);
    dati << quint32(36 + 2 * kCampioni);
    dati.writeRawData("WAVEfmt ", 8);
    dati << quint32(16) << quint16(1) << quint16(1) << quint32(8000) << quint32(16000) << quint16(2)
         << quint16(16);
    dati.writeRawData("data", 4);
    dati << quint32(2 * kCampioni);
    wav.append(QByteArray(2 * kCampioni, '\0'));
    return wav;
}

// Where the sound cannot be played (no sound server on this desktop, or no device) the
// program's standard error holds no line of Qt's in English: SCADEX is told instead.
TEST_F(AvvisoSulDesktop, ASoundThatCannotPlayLeavesNoEnglishLine) {
    const QString suono = gestar.folder.write(QStringLiteral("suoni/ding.wav"), silenzio());
    const GestarProva conSuono("SuonoSN=S\r\nSuonoPath=" +
                               QFileInfo(suono).absolutePath().toUtf8() + "\r\nSuonoFile=ding\r\n");
    QProcess& finestra = avvia(conSuono.argomento(1, 1234, "VIS", "06/12/2026 10:00:00"));
    ASSERT_TRUE(rigaDa(finestra).startsWith("AVVISO "));
    ASSERT_TRUE(QTest::qWaitFor([] { return mostrate() == 1; }, kAttesaMs));
    esegui(QStringLiteral("wmctrl"), {QStringLiteral("-c"), QStringLiteral("SCADEX - AVVISO")});
    ASSERT_TRUE(finestra.waitForFinished(kAttesaMs));
    EXPECT_EQ(finestra.readAllStandardError().toStdString(), "");
}

TEST_F(AvvisoSulDesktop, WithoutTheBusTheWindowAloneAppears) {
    QProcess& finestra = avvia(gestar.argomento(1, 1234, "VIS", "06/12/2026 10:00:00"), false);
    EXPECT_TRUE(rigaDa(finestra).startsWith("AVVISO "));
    QTest::qWait(ProgrammaAvviso::kQuieteLottoMs + 1000);
    EXPECT_EQ(finestra.state(), QProcess::Running);
    EXPECT_EQ(mostrate(), 0);
    EXPECT_FALSE(finestra.readAllStandardError().contains("SCADEX1.EXE:"));
}

}  // namespace
