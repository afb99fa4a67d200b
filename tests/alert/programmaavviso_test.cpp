// The alert window taking in reminders: look-ups, colours, one entry per appointment, sound.
#include "alert/programmaavviso.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTextStream>
#include <QtTest/QTest>

#include "alert/avvisodescritto.h"
#include "alert/postoavviso.h"
#include "alert/rinvio.h"
#include "alert/schedaavviso.h"
#include "gestarprova.h"
#include "platform/gui/accessibility.h"
#include "support/accessibility.h"
#include "support/fakes.h"

namespace {

using namespace std::chrono_literals;

const QByteArray kSuonoAcceso = "SuonoSN=S\r\nSuonoPath=/srv/suoni\r\nSuonoFile=ding\r\n";
const QString kDing = QStringLiteral("/srv/suoni/ding.wav");
// The limit on a wait for what must happen; each wait ends with its event.
constexpr int kAttesaMs = 30000;

struct CasoRiga {
    const char* nome;
    bool conDatabase;
    qint32 cliente;
    const char* azione;
    const char* data;
    const char* riga;
};

class RigaAvviso : public ::testing::TestWithParam<CasoRiga> {};

TEST_P(RigaAvviso, NamesWhatTheWorkDatabaseKnows) {
    const CasoRiga& caso = GetParam();
    const GestarProva gestar({}, caso.conDatabase);
    const AvvisoDescritto avviso =
        DescriviAvviso(LeggiAvviso(gestar.argomento(3, caso.cliente, caso.azione, caso.data)));
    EXPECT_EQ(avviso.riga(), QString::fromUtf8(caso.riga));
}

INSTANTIATE_TEST_SUITE_P(
    Reminders, RigaAvviso,
    ::testing::Values(
        CasoRiga{"KnownClientAndAction", true, 1234, "VIS", "06/12/2026 10:00:00",
                 "AVVISO 06/12/2026 10:00 cliente 1234 ROSSI >MARIO ROSSI & C. - VIS Visita "
                 "(in attesa: 3)"},
        CasoRiga{"NoActionAtMidnight", true, 55, "", "06/12/2026",
                 "AVVISO 06/12/2026 00:00 cliente 55 BIANCHI (in attesa: 3)"},
        CasoRiga{"UnknownCodes", true, 9, "XYZ", "07/12/2026 08:05:00",
                 "AVVISO 07/12/2026 08:05 cliente 9 - XYZ (in attesa: 3)"},
        CasoRiga{"NoDatabases", false, 1234, "VIS", "06/12/2026 10:00:00",
                 "AVVISO 06/12/2026 10:00 cliente 1234 - VIS (in attesa: 3)"}),
    [](const auto& info) { return std::string(info.param.nome); });

// The program on the test's Gestar.ini, its lines echoed into `eco`.
class ProgrammaProva : public ::testing::Test {
protected:
    ProgrammaProva(const QByteArray& agenda, DurateRinvio rinvii, int quieteMs)
        : gestar(agenda), programma(suono, rinvii, &flussoEco, quieteMs) {}

    // Hands over a visit of `cliente`.
    void accogli(int inAttesa, qint32 cliente) {
        programma.accogliArgomento(
            gestar.argomento(inAttesa, cliente, "VIS", "06/12/2026 10:00:00"));
    }

    GestarProva gestar;
    RecordingSoundPlayer suono;
    QString eco;
    QTextStream flussoEco{&eco};
    ProgrammaAvviso programma;
};

class FinestraProva : public ProgrammaProva {
protected:
    explicit FinestraProva(const QByteArray& agenda = kSuonoAcceso,
                           DurateRinvio rinvii = kDurateRinvio)
        : ProgrammaProva(agenda, rinvii, ProgrammaAvviso::kQuieteLottoMs) {}

    void premi(const char* pulsante) {
        programma.finestra().findChild<QPushButton*>(pulsante)->click();
    }
    // The labels of that name, card by card as the window shows them, newest first; a label
    // outside the cards by itself.
    QStringList testi(const char* nome) {
        QStringList trovati;
        for (const QLabel* label : etichette(nome)) trovati.append(label->text());
        return trovati;
    }
    QColor colore(const char* nome, int scheda) {
        return etichette(nome).at(scheda)->palette().color(QPalette::WindowText);
    }

private:
    QList<QLabel*> etichette(const char* nome) {
        const QLayout* colonna =
            programma.finestra().findChild<QScrollArea*>("schede")->widget()->layout();
        QList<QLabel*> trovate;
        for (int i = 0; i < colonna->count(); ++i) {
            if (const QWidget* scheda = colonna->itemAt(i)->widget())
                trovate += scheda->findChildren<QLabel*>(nome);
        }
        return trovate.isEmpty() ? programma.finestra().findChildren<QLabel*>(nome) : trovate;
    }
};

TEST_F(FinestraProva, ShowsTheReminderOnTopWithItsLookUps) {
    programma.accogliArgomento(gestar.argomento(1, 1234, "VIS", "06/12/2026 10:00:00"));
    const FinestraAvviso& finestra = programma.finestra();
    EXPECT_TRUE(finestra.isVisible());
    EXPECT_TRUE(finestra.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(finestra.windowTitle(), "SCADEX - AVVISO");
    EXPECT_EQ(testi("lbData"), QStringList{"Appuntamento del 06/12/2026 alle 10:00"});
    EXPECT_EQ(testi("lbCliCod"), QStringList{"1234"});
    EXPECT_EQ(testi("lbCliDes"), QStringList{"ROSSI >MARIO ROSSI & C."});
    EXPECT_EQ(testi("lbAziCod"), QStringList{"VIS"});
    EXPECT_EQ(testi("LbAziDes"), QStringList{"Visita"});
    EXPECT_EQ(colore("lbAziCod", 0), QColor(Qt::red));
    EXPECT_EQ(colore("LbAziDes", 0), QColor(Qt::red));
    EXPECT_EQ(testi("lbInAttesa"), QStringList{"Promemoria in questa finestra: 1"});
    EXPECT_EQ(suono.played, QStringList{kDing});
}

TEST_F(FinestraProva, ListsEachAppointmentOnceInAlarmOrder) {
    programma.accogliArgomento(gestar.argomento(1, 1234, "VIS", "06/12/2026 10:00:00"));
    programma.accogliArgomento(gestar.argomento(2, 55, "TEL", "06/12/2026 11:00:00"));
    // After a rebuild scadex hands the first one over again.
    programma.accogliArgomento(gestar.argomento(3, 1234, "VIS", "06/12/2026 10:00:00"));
    // The latest appointment with the earliest alarm: by its appointment until the table is read.
    programma.accogliArgomento(
        gestar.argomento(4, 9, "", "06/12/2026 12:00:00", "01/12/2026 08:00:00"));

    EXPECT_EQ(testi("lbCliCod"), (QStringList{"1234", "55", "9"}));
    EXPECT_EQ(testi("LbAziDes"), (QStringList{"Visita", "Telefonata", ""}));
    EXPECT_EQ(colore("LbAziDes", 1), QColor(0, 128, 0));
    // The count is of the cards, not the count the argument was handed over with.
    EXPECT_EQ(testi("lbInAttesa"), QStringList{"Promemoria in questa finestra: 3"});
    EXPECT_EQ(eco.count(QStringLiteral("AVVISO ")), 4);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return testi("lbCliCod") == QStringList{"9", "1234", "55"};
        },
        kAttesaMs));
}

// Batches end after a short quiet, so that a test can follow several.
class LottiProva : public ProgrammaProva {
protected:
    static constexpr int kQuieteMs = 50;

    LottiProva() : ProgrammaProva(kSuonoAcceso, kDurateRinvio, kQuieteMs) {}

    // Waits for the batch under way to end and returns its reminders' codes.
    QList<qint32> fineLotto() {
        if (lotti.isEmpty()) lotti.wait(5000);
        if (lotti.isEmpty()) return {};
        QList<qint32> clienti;
        for (const AvvisoDescritto& avviso :
             lotti.takeFirst().at(0).value<QList<AvvisoDescritto>>()) {
            clienti.append(avviso.avviso.cliente);
        }
        return clienti;
    }

    QSignalSpy lotti{&programma, &ProgrammaAvviso::lottoConcluso};
};

TEST_F(LottiProva, ABurstSoundsOnceAndEndsAsOneBatch) {
    accogli(1, 1234);
    accogli(2, 55);
    accogli(3, 9);
    EXPECT_EQ(suono.played, QStringList{kDing});
    EXPECT_EQ(fineLotto(), (QList<qint32>{1234, 55, 9}));
    EXPECT_EQ(lotti.size(), 0);
}

// A rebuild hands a card already shown over again: it stays as it is, sounds and posts nothing.
TEST_F(LottiProva, AHandOverAgainKeepsItsCardQuietly) {
    accogli(1, 1234);
    EXPECT_EQ(fineLotto(), QList<qint32>{1234});
    SchedaAvviso* scheda = programma.finestra().schede().value(0);
    const int altezza = programma.finestra().height();
    accogli(2, 1234);
    EXPECT_EQ(programma.finestra().schede(), QList<SchedaAvviso*>{scheda});
    EXPECT_TRUE(scheda->isVisible());
    EXPECT_EQ(programma.finestra().height(), altezza);
    EXPECT_EQ(suono.played.size(), 1);
    // The next batch holds only what is new.
    accogli(2, 55);
    accogli(3, 77);
    EXPECT_EQ(suono.played.size(), 2);
    EXPECT_EQ(fineLotto(), (QList<qint32>{55, 77}));
}

TEST_F(FinestraProva, DropsAHandedOverArgumentThatNoLongerReads) {
    programma.accogliArgomento(gestar.argomento(1, 1234, "VIS", "06/12/2026 10:00:00"));
    programma.accogliArgomento(gestar.fileIni + QStringLiteral(".vecchio|2|55|TEL|06/12/2026"));
    EXPECT_EQ(testi("lbCliCod"), QStringList{"1234"});
    EXPECT_EQ(suono.played.size(), 1);
}

// As a screen reader reads it, with the program's accessible interfaces: an alert, announced as
// it appears, whose controls are named and described.
TEST_F(FinestraProva, IsReadAsAnAlertWithEveryControlNamed) {
    accessibility::install();
    accogli(1, 1234);
    FinestraAvviso& finestra = programma.finestra();
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&finestra)->role(), QAccessible::AlertMessage);
    EXPECT_EQ(accessibilityDefects(finestra).toStdString(), "");
}

TEST_F(FinestraProva, CloseButtonClosesTheWindow) {
    accogli(1, 1234);
    QPushButton* chiudi = programma.finestra().findChild<QPushButton*>("cmdChiudi");
    ASSERT_NE(chiudi, nullptr);
    EXPECT_EQ(chiudi->text(), "&CHIUDI TUTTI");
    chiudi->click();
    EXPECT_FALSE(programma.finestra().isVisible());
}

// A reminder confirmed to its start just as the window closes is shown, not dropped: the
// program takes it in while it stops listening, and does not end.
TEST_F(FinestraProva, AReminderConfirmedWhileClosingIsShownAndKeepsTheProgram) {
    QSignalSpy concluso(&programma, &ProgrammaAvviso::concluso);
    programma.primaDiConcludere([this] { accogli(2, 55); });
    accogli(1, 1234);
    premi("cmdChiudi");
    EXPECT_EQ(concluso.size(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return programma.finestra().isVisible(); }, 5000));
    EXPECT_EQ(testi("lbCliCod"), QStringList{"55"});
}

// One snooze short, the other beyond the test: each button, and its access key, must start its
// own.
struct CasoRinvio {
    const char* nome;
    const char* pulsante;
    const char* testo;
    Qt::Key tasto;  // with Alt
    DurateRinvio rinvii;
};

class RinvioProva : public FinestraProva, public ::testing::WithParamInterface<CasoRinvio> {
protected:
    RinvioProva() : FinestraProva(kSuonoAcceso, GetParam().rinvii) {}

    bool tornati(const QStringList& clienti) {
        return QTest::qWaitFor([&] { return testi("lbCliCod") == clienti; }, kAttesaMs);
    }
};

TEST_P(RinvioProva, PutsTheRemindersOffAndShowsThemAgainOnce) {
    accogli(1, 1234);
    accogli(2, 55);
    EXPECT_EQ(programma.finestra().findChild<QPushButton*>(GetParam().pulsante)->text(),
              GetParam().testo);
    premi(GetParam().pulsante);
    EXPECT_FALSE(programma.finestra().isVisible());
    // Handed over again after a rebuild: held back with the others.
    accogli(3, 1234);
    EXPECT_FALSE(programma.finestra().isVisible());
    accogli(3, 9);
    EXPECT_EQ(testi("lbCliCod"), QStringList{"9"});
    // Back in alarm order; the same alarm keeps the order of arrival.
    EXPECT_TRUE(tornati({"9", "1234", "55"}));
}

// Answered in SCADEX while put off: its row is gone, and it never comes back.
TEST_P(RinvioProva, AReminderStoppedDuringItsSnoozeNeverReturns) {
    programma.accogliArgomento(gestar.argomento(1, 1234, "VIS", "06/12/2026 10:00:00"));
    programma.accogliArgomento(gestar.argomento(2, 55, "TEL", "06/12/2026 11:00:00"));
    premi(GetParam().pulsante);
    gestar.togliPromemoria(1234, "VIS", "06/12/2026 10:00:00");
    // Not even for a moment: the window comes back with the other one alone.
    ASSERT_TRUE(QTest::qWaitFor([&] { return programma.finestra().isVisible(); }, kAttesaMs));
    EXPECT_EQ(testi("lbCliCod"), QStringList{"55"});
}

TEST_P(RinvioProva, ItsAccessKeyPutsTheRemindersOff) {
    accogli(1, 1234);
    FinestraAvviso& finestra = programma.finestra();
    QApplication::setActiveWindow(&finestra);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&finestra));
    QTest::keyClick(&finestra, GetParam().tasto, Qt::AltModifier);
    // An access key clicks its button as a mouse does, after showing it pressed.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !finestra.isVisible(); }, 5000));
    EXPECT_TRUE(tornati({"1234"}));
}

TEST_P(RinvioProva, ClosingEndsTheProgramOnlyWithNothingPutOff) {
    QSignalSpy concluso(&programma, &ProgrammaAvviso::concluso);
    accogli(1, 1234);
    premi(GetParam().pulsante);
    accogli(2, 55);
    premi("cmdChiudi");
    EXPECT_EQ(concluso.size(), 0);
    EXPECT_TRUE(tornati({"1234"}));
    premi("cmdChiudi");
    EXPECT_EQ(concluso.size(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Snoozes, RinvioProva,
    ::testing::Values(
        CasoRinvio{"FiveMinutes", "cmdRimanda5", "RIMANDA TUTTI &5 MINUTI", Qt::Key_5, {50ms, 1h}},
        CasoRinvio{
            "FifteenMinutes", "cmdRimanda15", "RIMANDA TUTTI &15 MINUTI", Qt::Key_1, {1h, 50ms}}),
    [](const auto& info) { return std::string(info.param.nome); });

// A snooze ends at its wall-clock moment: the clock jumps forward as after a suspend, and
// the reminders come back within the second without waiting out the minutes.
TEST(PromemoriaRinviatiProva, EndsAtTheWallClockMomentInTheOrderPutOff) {
    const GestarProva gestar;
    FakeClock orologio;
    PromemoriaRinviati rinviati(orologio);
    QSignalSpy ritornati(&rinviati, &PromemoriaRinviati::ritornati);
    rinviati.rinvia({LeggiAvviso(gestar.argomento(1, 1234, "VIS", "06/12/2026 10:00:00"))}, 5min);
    rinviati.rinvia({LeggiAvviso(gestar.argomento(1, 55, "TEL", "06/12/2026 11:00:00"))}, 15min);
    orologio.moment = orologio.moment.addSecs(20 * 60);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ritornati.size() == 2; }, 1500));
    EXPECT_EQ(ritornati.at(0).at(0).value<QList<Avviso>>().at(0).cliente, 1234);
    EXPECT_FALSE(rinviati.inCorso());
}

// Answered in SCADEX: the row is gone, and the card leaves the window once SCADEX says so; the
// last one takes the window and the program with it.
TEST_F(FinestraProva, ACardWhoseRowIsGoneLeavesOnRileggi) {
    QSignalSpy concluso(&programma, &ProgrammaAvviso::concluso);
    programma.accogliArgomento(gestar.argomento(1, 1234, "VIS", "06/12/2026 10:00:00"));
    programma.accogliArgomento(gestar.argomento(2, 55, "TEL", "06/12/2026 11:00:00"));
    // The reading the hand-overs asked for is done: only Rileggi reads the table now.
    programma.verifica();
    gestar.togliPromemoria(55, "TEL", "06/12/2026 11:00:00");
    programma.accogliMessaggio(messaggi::Rileggi{});
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return testi("lbCliCod") == QStringList{"1234"}; }, kAttesaMs));
    EXPECT_EQ(testi("lbInAttesa"), QStringList{"Promemoria in questa finestra: 1"});
    gestar.togliPromemoria(1234, "VIS", "06/12/2026 10:00:00");
    programma.accogliMessaggio(messaggi::Rileggi{});
    EXPECT_TRUE(concluso.wait(kAttesaMs));
    EXPECT_FALSE(programma.finestra().isVisible());
    EXPECT_EQ(suono.played.size(), 1);
}

// An operator who set a new lead moved the alarm later: the card goes until it is due again.
TEST_F(FinestraProva, ACardWhoseAlarmMovedLaterLeaves) {
    programma.accogliArgomento(gestar.argomento(1, 1234, "VIS", "06/12/2026 10:00:00"));
    programma.accogliArgomento(gestar.argomento(2, 55, "TEL", "06/12/2026 11:00:00"));
    gestar.argomento(2, 55, "TEL", "06/12/2026 11:00:00", "31/12/2099 08:00:00");
    programma.accogliMessaggio(messaggi::Rileggi{});
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return testi("lbCliCod") == QStringList{"1234"}; }, kAttesaMs));
}

// Without the databases nothing says the reminder is answered: it stays.
TEST(FinestraSenzaDatabase, KeepsItsCardsWhereTheTableCannotBeRead) {
    const GestarProva gestar({}, false);
    RecordingSoundPlayer suono;
    ProgrammaAvviso programma(suono, kDurateRinvio);
    programma.accogliArgomento(gestar.argomento(1, 1234, "VIS", "06/12/2026 10:00:00"));
    programma.verifica();
    EXPECT_EQ(programma.finestra().schede().size(), 1);
    EXPECT_TRUE(programma.finestra().isVisible());
}

TEST_F(FinestraProva, FineEndsTheSnoozesTheWindowAndTheProgram) {
    QSignalSpy concluso(&programma, &ProgrammaAvviso::concluso);
    accogli(1, 1234);
    premi("cmdRimanda5");
    accogli(2, 55);
    programma.accogliMessaggio(messaggi::Fine{});
    EXPECT_EQ(concluso.size(), 1);
    EXPECT_FALSE(programma.finestra().isVisible());
}

// What the program told SCADEX, through a stand-in of SCADEX's copy that takes or refuses.
class SchedeProva : public FinestraProva {
protected:
    SchedeProva() {
        programma.scriviAScadex([this](const messaggi::PerScadex& messaggio) {
            scritti.append(messaggio);
            return scadexRisponde;
        });
        programma.accogliArgomento(gestar.argomento(1, 1234, "VIS", "06/12/2026 10:00:00"));
        programma.accogliArgomento(gestar.argomento(2, 55, "TEL", "06/12/2026 11:00:00"));
        programma.accogliArgomento(gestar.argomento(3, 9, "", "06/12/2026 12:00:00"));
    }
    SchedaAvviso* scheda(int indice) { return programma.finestra().schede().at(indice); }
    void premiSu(int indice, const char* pulsante) {
        scheda(indice)->findChild<QPushButton*>(pulsante)->click();
    }
    // The keys of the reminders SCADEX was asked to open.
    QList<qint32> aperti() const {
        QList<qint32> clienti;
        for (const messaggi::PerScadex& m : scritti) {
            if (const auto* apri = std::get_if<messaggi::Apri>(&m))
                clienti.append(apri->chiave.cliente);
        }
        return clienti;
    }

    QList<messaggi::PerScadex> scritti;
    bool scadexRisponde = true;
};

TEST_F(SchedeProva, EachCardIsAnsweredOnItsOwn) {
    premiSu(1, "cmdChiudiScheda");
    EXPECT_EQ(testi("lbCliCod"), (QStringList{"1234", "9"}));
    EXPECT_EQ(testi("lbInAttesa"), QStringList{"Promemoria in questa finestra: 2"});
    premiSu(0, "cmdRimandaScheda5");
    EXPECT_EQ(testi("lbCliCod"), QStringList{"9"});
    premiSu(0, "cmdApri");
    EXPECT_EQ(aperti(), QList<qint32>{9});
    EXPECT_TRUE(programma.finestra().findChild<QLabel*>("lbEsito")->isHidden());
    scadexRisponde = false;
    premiSu(0, "cmdApri");
    EXPECT_FALSE(programma.finestra().findChild<QLabel*>("lbEsito")->isHidden());
    EXPECT_TRUE(programma.finestra().isVisible());
}

TEST_F(SchedeProva, TheKeyboardAloneWorksThroughTheCards) {
    FinestraAvviso& finestra = programma.finestra();
    QApplication::setActiveWindow(&finestra);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&finestra));
    ASSERT_TRUE(QTest::qWaitFor([&] { return scheda(0)->hasFocus(); }, kAttesaMs));
    QTest::keyClick(scheda(0), Qt::Key_Down);
    EXPECT_TRUE(scheda(1)->hasFocus());
    QTest::keyClick(scheda(1), Qt::Key_Down);
    QTest::keyClick(scheda(2), Qt::Key_Up);
    EXPECT_TRUE(scheda(1)->hasFocus());
    QTest::keyClick(scheda(1), Qt::Key_Return);
    EXPECT_EQ(aperti(), QList<qint32>{55});
    QTest::keyClick(scheda(1), Qt::Key_Enter);
    EXPECT_EQ(aperti(), (QList<qint32>{55, 55}));
    QTest::keyClick(scheda(1), Qt::Key_Delete);
    EXPECT_EQ(testi("lbCliCod"), (QStringList{"1234", "9"}));
    // The keyboard stays on the list, on the card that took the place of the one gone.
    EXPECT_TRUE(scheda(1)->hasFocus());
}

// A sound that cannot be played is told to SCADEX, once however many batches fail.
TEST_F(SchedeProva, ASoundThatCannotPlayIsToldToScadexOnce) {
    suono.failure = SoundFailure::MissingFile;
    premi("cmdChiudi");
    accogli(1, 77);
    premi("cmdChiudi");
    accogli(1, 78);
    QList<QString> motivi;
    for (const messaggi::PerScadex& m : scritti) {
        if (const auto* fallito = std::get_if<messaggi::SuonoFallito>(&m))
            motivi.append(fallito->motivo);
    }
    EXPECT_EQ(motivi, QList<QString>{"IL FILE /srv/suoni/ding.wav NON ESISTE"});
}

// SCADEX's windows everywhere: the window is no longer kept on top; one in a corner alone: the
// window goes on top to the bottom-right, clear of it.
TEST_F(FinestraProva, TheWindowStaysOnTopOnlyWhereItCoversNoneOfScadexs) {
    accogli(1, 1234);
    FinestraAvviso& finestra = programma.finestra();
    const QRect schermo = finestra.screen()->availableGeometry();
    programma.accogliMessaggio(messaggi::Aree{{schermo}});
    EXPECT_FALSE(finestra.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(finestra.isVisible());
    programma.accogliMessaggio(messaggi::Aree{{QRect(schermo.topLeft(), QSize(10, 10))}});
    EXPECT_TRUE(finestra.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(finestra.frameGeometry().bottomRight(), schermo.bottomRight());
}

// Where the window goes on a 1000 x 800 area, for a 400 x 300 window.
struct CasoPosto {
    const char* nome;
    QList<QRect> occupate;
    PostoAvviso posto;
};

class PostoProva : public ::testing::TestWithParam<CasoPosto> {};

TEST_P(PostoProva, TheFirstFreeCornerOnTopOrNoneAbove) {
    EXPECT_EQ(ScegliPostoAvviso(QRect(0, 20, 1000, 800), QSize(400, 300), GetParam().occupate),
              GetParam().posto);
}

INSTANTIATE_TEST_SUITE_P(
    Corners, PostoProva,
    ::testing::Values(
        CasoPosto{"NothingOpen", {}, {{600, 520}, true}},
        CasoPosto{"MainWindowBottomRight", {QRect(700, 600, 100, 100)}, {{0, 520}, true}},
        CasoPosto{"BothBottoms", {QRect(0, 700, 1000, 50)}, {{600, 20}, true}},
        CasoPosto{
            "OnlyTopLeftFree", {QRect(0, 700, 1000, 50), QRect(900, 30, 10, 10)}, {{0, 20}, true}},
        CasoPosto{"EveryCorner", {QRect(0, 0, 1000, 820)}, {{600, 520}, false}},
        CasoPosto{"TouchingIsNotCovering", {QRect(0, 20, 600, 800)}, {{600, 520}, true}}),
    [](const auto& info) { return std::string(info.param.nome); });

class FinestraMuta : public FinestraProva {
protected:
    FinestraMuta() : FinestraProva("SuonoSN=N\r\nSuonoPath=/srv/suoni\r\nSuonoFile=ding\r\n") {}
};

TEST_F(FinestraMuta, PlaysNothingWhenTheSoundIsOff) {
    programma.accogliArgomento(gestar.argomento(1, 1234, "VIS", "06/12/2026 10:00:00"));
    EXPECT_TRUE(programma.finestra().isVisible());
    EXPECT_TRUE(suono.played.isEmpty());
}

}  // namespace
