// The main window's load: settings, first rebuild and poll, the timer.
#include "ui/main/startup.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include "app/ini.h"
#include "app/sessione.h"
#include "platform/eventyielder.h"
#include "support/fakes.h"
#include "support/sqlfile.h"
#include "support/tempdir.h"
#include "support/userinput.h"
#include "ui/main/startupcontrols.h"

namespace {

constexpr double kOggi = 46362;  // 6 December 2026

class StartupTest : public ::testing::Test {
protected:
    StartupTest() {
        SqlFile::create(folder.path("dati/op/VisiteDV.mdb"), "visite.sql");
        SqlFile::create(folder.path("lavoro/op/WorkDV.mdb"), "work.sql");
        platform.clock.moment = QDateTime(QDate(2026, 12, 6), QTime(9, 45));
    }
    void scriviIni(const QByteArray& agenda) {
        folder.write(
            kIni, "[BASE]\r\nOPERATORE=op\r\n[PATH]\r\nFILE=" + folder.path("dati").toUtf8() +
                      "\r\nWORK=" + folder.path("lavoro").toUtf8() + "\r\n[AGENDA]\r\n" + agenda);
    }
    void appuntamento(int cliente, double data, int allarme) {
        SqlFile(folder.path("dati/op/VisiteDV.mdb"))
            .exec(
                "INSERT INTO Appuntamenti VALUES (?, ?, 'VIS', ?, 'N', 'A', 'nota', 'causa', "
                "NULL)",
                {cliente, data, allarme});
    }

    // Gestar.ini lies in a folder of its own, which a test removes to make writing fail.
    static constexpr const char* kIni = "conf/Gestar.ini";

    TestFolder folder;
    FakePlatform platform;
    PlatformServices services = platform.services();
    Sessione sessione{folder.path(kIni)};
};

TEST_F(StartupTest, LoadsRebuildsPollsAndSetsTheTimer) {
    scriviIni("Secondi=5\r\nSuonoSN=S\r\n");
    appuntamento(1234, kOggi + 10.0 / 24, 30);  // due at 09:30
    appuntamento(99, kOggi + 1, 30);
    Startup startup(sessione, services);
    ASSERT_EQ(startup.avvia(), Startup::Avvio::Avviato);
    EXPECT_EQ(startup.windowTitle(), "PROMEMORIA: 2 APPUNTAMENTI");
    EXPECT_EQ(startup.righe().size(), 2);
    EXPECT_EQ(startup.chiavi().size(), 2);
    EXPECT_TRUE(command1(startup, 3)->isEnabled());
    EXPECT_EQ(timer1(startup)->interval(), 5000);
    EXPECT_TRUE(timer1(startup)->isActive());
    ASSERT_NE(startup.scansione(), nullptr);
    EXPECT_EQ(startup.scansione()->contaCicli(), 1);
    ASSERT_EQ(platform.launcher.launches.size(), 1);
    EXPECT_EQ(platform.launcher.launches[0].arguments,
              QStringList{sessione.fileIni() + "|1|1234|VIS|06/12/2026 10:00:00"});
    EXPECT_EQ(pctParam(startup)->Combo1->currentText(), "S=Si");
    EXPECT_EQ(pctParam(startup)->Text1->text(), "5");
    EXPECT_TRUE(pctParam(startup)->isHidden());
}

TEST_F(StartupTest, MissingIntervalShowsEmptyTextAndPollsEveryMinute) {
    scriviIni("");
    Startup startup(sessione, services);
    ASSERT_EQ(startup.avvia(), Startup::Avvio::Avviato);
    EXPECT_EQ(pctParam(startup)->Text1->text(), "");
    EXPECT_EQ(timer1(startup)->interval(), 60000);
    EXPECT_EQ(pctParam(startup)->Combo1->currentText(), "N=No");
    EXPECT_FALSE(command1(startup, 3)->isEnabled());
    EXPECT_EQ(startup.windowTitle(), "PROMEMORIA: 0 APPUNTAMENTI");
}

TEST_F(StartupTest, NoOperatorEndsBeforeOpeningAnything) {
    folder.write(kIni, "[BASE]\r\n");
    Startup startup(sessione, services);
    EXPECT_EQ(startup.avvia(), Startup::Avvio::SenzaOperatore);
    EXPECT_EQ(sessione.visite(), nullptr);
}

TEST_F(StartupTest, AnUnreadableDatabaseIsAStartFailure) {
    scriviIni("");
    const QString work = folder.write("lavoro/op/WorkDV.mdb", "not a database");
    Startup startup(sessione, services);
    EXPECT_EQ(startup.avvia(), Startup::Avvio::Errore);
    EXPECT_FALSE(timer1(startup)->isActive());
    EXPECT_EQ(startup.causaMancatoAvvio(), work + ": IL FILE NON È UN ARCHIVIO");
    EXPECT_FALSE(startup.dettaglioMancatoAvvio().isEmpty());
}

TEST_F(StartupTest, ElencaOpensTheListOverTheLastRebuild) {
    scriviIni("");
    appuntamento(1234, kOggi + 10.0 / 24, 30);
    Startup startup(sessione, services);
    ASSERT_EQ(startup.avvia(), Startup::Avvio::Avviato);
    QString finestra;
    int righe = -1;
    QTimer::singleShot(0, [&] {
        QWidget* modale = QApplication::activeModalWidget();
        if (!modale) return;
        finestra = modale->objectName();
        righe = modale->findChild<QListView*>()->model()->rowCount();
        modale->close();
    });
    command1(startup, 3)->click();
    EXPECT_EQ(finestra, "ListaApp");
    EXPECT_EQ(righe, 1);
}

TEST_F(StartupTest, TheTimerRunsThePoll) {
    scriviIni("Secondi=1\r\n");
    Startup startup(sessione, services);
    ASSERT_EQ(startup.avvia(), Startup::Avvio::Avviato);
    timer1(startup)->setInterval(1);
    QTest::qWait(50);
    ASSERT_NE(startup.scansione(), nullptr);
    EXPECT_GT(startup.scansione()->contaCicli(), 1);
}

}  // namespace

namespace {

// The window loaded and shown, with its shutdown recorded instead of ending the tests.
class StartupKeysTest : public StartupTest {
protected:
    StartupKeysTest() {
        scriviIni("Secondi=20\r\n");
        startup.impostaChiusura([this] { ++chiusure; });
        EXPECT_EQ(startup.avvia(), Startup::Avvio::Avviato);
        startup.show();
        QApplication::setActiveWindow(&startup);
    }
    void apriParametri() {
        command1(startup, 1)->click();
        pctParam(startup)->Text1->setFocus();
    }
    QWidget* focus() const { return QApplication::focusWidget(); }

    Startup startup{sessione, services};
    int chiusure = 0;
};

TEST_F(StartupKeysTest, EnterMovesFromText1ToCombo1) {
    apriParametri();
    QTest::keyClick(pctParam(startup)->Text1, Qt::Key_Return);
    ASSERT_NE(focus(), nullptr);
    EXPECT_TRUE(focus() == pctParam(startup)->Combo1 ||
                pctParam(startup)->Combo1->isAncestorOf(focus()));
    EXPECT_EQ(pctParam(startup)->Text1->text(), "20");
}

TEST_F(StartupKeysTest, F2ClosesOnlyTheOpenPanel) {
    apriParametri();
    EXPECT_FALSE(command1(startup, 0)->isEnabled());  // nothing behind the panel is reachable
    QTest::keyClick(pctParam(startup)->Text1, Qt::Key_F2);
    EXPECT_TRUE(pctParam(startup)->isHidden());
    EXPECT_TRUE(command1(startup, 0)->isEnabled());
    EXPECT_EQ(chiusure, 0);
    EXPECT_TRUE(platform.messages.shown.isEmpty());
}

TEST_F(StartupKeysTest, F2AsksBeforeClosing) {
    platform.messages.answers = {MessageAnswer::No, MessageAnswer::Yes};
    QTest::keyClick(command1(startup, 3), Qt::Key_F2);
    EXPECT_EQ(chiusure, 0);
    ASSERT_EQ(platform.messages.shown.size(), 1);
    EXPECT_EQ(platform.messages.shown[0].text, "Confermi la chiusura de SCADEX");
    EXPECT_EQ(platform.messages.shown[0].icon, MessageIcon::Question);
    EXPECT_EQ(platform.messages.shown[0].buttons, MessageButtons::YesNo);
    QTest::keyClick(command1(startup, 3), Qt::Key_F2);
    EXPECT_EQ(chiusure, 1);
}

TEST_F(StartupKeysTest, F4OpensTheSoundChoiceWithThePanelHidden) {
    platform.fileDialog.answer = FileChoice{"/srv/campana.wav", "campana.wav"};
    QTest::keyClick(command1(startup, 0), Qt::Key_F4);
    EXPECT_EQ(platform.fileDialog.requests.size(), 1);
    EXPECT_EQ(pctParam(startup)->lbFile->text(), "/srv/campana.wav");
}

TEST_F(StartupKeysTest, OnlyNumbersReachTheBoxesAndAFullStopTypesTheComma) {
    apriParametri();
    pctParam(startup)->Text1->clear();
    QTest::keyClicks(pctParam(startup)->Text1, "a4.x");
    EXPECT_EQ(pctParam(startup)->Text1->text(), "4,");
}

TEST_F(StartupKeysTest, LeavingText1OutOfRangeWarnsAndReturns) {
    apriParametri();
    pctParam(startup)->Text1->setText("75");
    QTest::keyClick(pctParam(startup)->Text1, Qt::Key_Tab);
    ASSERT_EQ(platform.messages.shown.size(), 1);
    EXPECT_EQ(platform.messages.shown[0].text, "DA 1 A 60 SECONDI POSSIBILI");
    EXPECT_EQ(focus(), pctParam(startup)->Text1);
}

TEST_F(StartupKeysTest, ConfirmAppliesTheIntervalToTheTimer) {
    apriParametri();
    pctParam(startup)->Text1->setText("7");
    pctParam(startup)->Command2_0->click();
    EXPECT_EQ(timer1(startup)->interval(), 7000);
    EXPECT_TRUE(pctParam(startup)->isHidden());
    EXPECT_EQ(LeggiIni(sessione.fileIni(), "AGENDA", "Secondi"), "7");
}

TEST_F(StartupKeysTest, ConfirmTellsAFailedWriteAndStillAppliesTheInterval) {
    apriParametri();
    ASSERT_TRUE(QDir(folder.path("conf")).removeRecursively());
    pctParam(startup)->Text1->setText("7");
    pctParam(startup)->Command2_0->click();
    ASSERT_EQ(platform.messages.shown.size(), 1);
    EXPECT_EQ(platform.messages.shown[0].text,
              "PARAMETRI NON SALVATI IN " + sessione.fileIni() + ": cartella inesistente");
    EXPECT_EQ(timer1(startup)->interval(), 7000);
    EXPECT_TRUE(pctParam(startup)->isHidden());
}

TEST_F(StartupKeysTest, AbandonWritesNothingButKeepsTheSwitch) {
    const QByteArray prima = TestFolder::read(sessione.fileIni());
    apriParametri();
    pctParam(startup)->Text1->setText("7");
    pctParam(startup)->Combo1->setCurrentIndex(0);
    emit pctParam(startup)->Combo1->activated(0);
    pctParam(startup)->Command2_1->click();
    apriParametri();
    EXPECT_EQ(pctParam(startup)->Combo1->currentText(), "S=Si");
    EXPECT_FALSE(sessione.impostazioni().suonoAttivo);
    EXPECT_EQ(timer1(startup)->interval(), 20000);
    EXPECT_EQ(TestFolder::read(sessione.fileIni()), prima);
}

// The alert program's cards follow the table: it hears of every rebuild, and of the end.
TEST_F(StartupKeysTest, TheAlertProgramHearsOfEachRebuildAndOfTheEnd) {
    const auto detti = [this] {
        QList<QByteArray> messaggi;
        for (const auto& detto : platform.copies.told) {
            EXPECT_EQ(detto.program, kIstanzaAvviso);
            if (!messaggi::leggiPerAvviso(detto.message).has_value()) ADD_FAILURE();
            messaggi.append(detto.message);
        }
        return messaggi;
    };
    const QByteArray rileggi = messaggi::componi(messaggi::Rileggi{});
    EXPECT_EQ(detti().count(rileggi), 1);  // the load's rebuild
    startup.SelezionaAppuntamenti();
    EXPECT_EQ(detti().count(rileggi), 2);
    command1(startup, 0)->click();
    EXPECT_EQ(detti().last(), messaggi::componi(messaggi::Fine{}));
}

// The alert window keeps clear of the windows open here: it hears where they are as they
// change, and whenever it asks.
TEST_F(StartupKeysTest, TheAlertProgramHearsWhereTheOpenWindowsAre) {
    const auto ultimeAree = [this]() -> std::optional<QList<QRect>> {
        for (auto detto = platform.copies.told.crbegin(); detto != platform.copies.told.crend();
             ++detto) {
            const auto letto = messaggi::leggiPerAvviso(detto->message);
            if (letto && std::holds_alternative<messaggi::Aree>(*letto))
                return std::get<messaggi::Aree>(*letto).finestre;
        }
        return std::nullopt;
    };
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return ultimeAree() == QList<QRect>{startup.frameGeometry()}; }, 10000));
    startup.showMinimized();
    EXPECT_TRUE(QTest::qWaitFor([&] { return ultimeAree() == QList<QRect>{}; }, 10000));
    platform.copies.told.clear();
    startup.accogli(messaggi::ChiediAree{});
    EXPECT_EQ(ultimeAree(), QList<QRect>{});
}

// APRI on a card shows that reminder's window, as a double-click in the list does.
TEST_F(StartupTest, TheAlertProgramOpensTheReminderWindowOfItsCard) {
    scriviIni("");
    appuntamento(1234, kOggi + 10.0 / 24, 30);
    Startup startup(sessione, services);
    ASSERT_EQ(startup.avvia(), Startup::Avvio::Avviato);
    QString aperta;
    QTimer::singleShot(0, [&] {
        if (QWidget* modale = QApplication::activeModalWidget()) {
            aperta = modale->objectName();
            modale->close();
        }
    });
    startup.accogli(messaggi::Apri{startup.chiavi().first()});
    EXPECT_EQ(aperta, "GesProme");
}

TEST_F(StartupKeysTest, CloseButtonEndsTheProgramWithoutAsking) {
    command1(startup, 0)->click();
    EXPECT_EQ(chiusure, 1);
    EXPECT_TRUE(platform.messages.shown.isEmpty());
}

// PROVA AVVISO plays the configured file; one that cannot play is told in a box, with the
// cause.
struct CasoProvaAvviso {
    const char* nome;
    std::optional<SoundFailure> guasto;
    const char* messaggio;  // %1: the sound file; nullptr: no box
};

class ProvaAvvisoTest : public StartupKeysTest,
                        public ::testing::WithParamInterface<CasoProvaAvviso> {};

TEST_P(ProvaAvvisoTest, PlaysTheFileOrSaysWhyItCannot) {
    platform.sound.failure = GetParam().guasto;
    apriParametri();
    pctParam(startup)->cmdTest->click();
    const QString fileSuono = sessione.impostazioni().suono.percorso();
    EXPECT_EQ(platform.sound.played, QStringList{fileSuono});
    QStringList messaggi;
    for (const MessageRequest& richiesta : platform.messages.shown) messaggi << richiesta.text;
    const char* atteso = GetParam().messaggio;
    EXPECT_EQ(messaggi,
              atteso ? QStringList{QString::fromUtf8(atteso).arg(fileSuono)} : QStringList{});
}

INSTANTIATE_TEST_SUITE_P(
    Sounds, ProvaAvvisoTest,
    ::testing::Values(
        CasoProvaAvviso{"Played", std::nullopt, nullptr},
        CasoProvaAvviso{"NoOutputDevice", SoundFailure::NoOutputDevice,
                        "IMPOSSIBILE SUONARE L'AVVISO: NESSUN DISPOSITIVO AUDIO DISPONIBILE"},
        CasoProvaAvviso{"MissingFile", SoundFailure::MissingFile,
                        "IMPOSSIBILE SUONARE L'AVVISO: IL FILE %1 NON ESISTE"},
        CasoProvaAvviso{"NotASound", SoundFailure::NotASound,
                        "IMPOSSIBILE SUONARE L'AVVISO: IL FILE %1 NON È UN SUONO LEGGIBILE"}),
    [](const auto& info) { return std::string(info.param.nome); });

}  // namespace

namespace {

// The main window shown, with the real yielder, so that clicks come through the window
// system's queue as the operator's do.
class StartupYieldTest : public StartupTest {
protected:
    StartupYieldTest() {
        scriviIni("Secondi=60\r\n");
        appuntamento(1, kOggi + 10.0 / 24, 30);  // due at 09:30, handed over at start-up
        appuntamento(2, kOggi + 11.0 / 24, 30);  // due at 10:30
        appuntamento(3, kOggi + 12.0 / 24, 30);  // due at 11:30
    }
    void alle(int ore, int minuti) { platform.clock.moment.setTime(QTime(ore, minuti)); }
    qsizetype consegne() const { return platform.launcher.launches.size(); }

    QtEventYielder yielder;
    PlatformServices conAttese{platform.clock,      platform.launcher,  yielder,
                               platform.messages,   platform.screen,    platform.sound,
                               platform.fileDialog, platform.documents, platform.notifications,
                               platform.copies};
};

TEST_F(StartupYieldTest, AClickDuringAPollOpensTheListAfterItAndPollsGoOn) {
    Startup startup(sessione, conAttese);
    ASSERT_EQ(startup.avvia(), Startup::Avvio::Avviato);
    startup.showNormal();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&startup));
    ASSERT_EQ(consegne(), 1);
    timer1(startup)->setInterval(5);

    // While the list is open: note what the poll had done, make one more reminder due, and
    // close the list once a tick has handed it over (or after a second).
    qsizetype consegneAllApertura = -1;
    qsizetype consegneAllaChiusura = -1;
    int attese = 0;
    QTimer sorveglia;
    QObject::connect(&sorveglia, &QTimer::timeout, [&] {
        QWidget* modale = QApplication::activeModalWidget();
        if (!modale) return;
        if (consegneAllApertura < 0) {
            consegneAllApertura = consegne();
            alle(11, 31);
        }
        if (consegne() > consegneAllApertura || ++attese > 200) {
            consegneAllaChiusura = consegne();
            modale->close();
        }
    });
    sorveglia.start(5);

    alle(10, 31);
    queueClick(command1(startup, 3));
    startup.ControllaPromemoria();
    EXPECT_EQ(consegne(), 2);
    EXPECT_EQ(consegneAllApertura, -1) << "the list opened inside the poll";

    QDeadlineTimer limite(10000);
    while (consegneAllaChiusura < 0 && !limite.hasExpired()) QCoreApplication::processEvents();
    EXPECT_EQ(consegneAllApertura, 2);
    EXPECT_EQ(consegneAllaChiusura, 3) << "no poll ran while the list was open";
}

}  // namespace

namespace {

// A value of Secondi outside the panel's range, read at start-up into the shown window.
class StartupSecondiTest : public StartupTest {
protected:
    StartupSecondiTest() {
        scriviIni("Secondi=120\r\nSuonoSN=N\r\n");
        EXPECT_EQ(startup.avvia(), Startup::Avvio::Avviato);
        startup.show();
        QApplication::setActiveWindow(&startup);
        QTest::mouseClick(command1(startup, 1), Qt::LeftButton);
    }
    QLineEdit* text1() const { return pctParam(startup)->Text1; }

    Startup startup{sessione, services};
};

TEST_F(StartupSecondiTest, ConfirmWithoutAnEditWritesBackWhatWasRead) {
    EXPECT_EQ(text1()->text(), "120");
    EXPECT_EQ(timer1(startup)->interval(), 60000);
    QTest::mouseClick(pctParam(startup)->Command2_0, Qt::LeftButton);
    EXPECT_TRUE(platform.messages.shown.isEmpty());
    EXPECT_TRUE(pctParam(startup)->isHidden());
    EXPECT_EQ(LeggiIni(sessione.fileIni(), "AGENDA", "Secondi"), "120");
    EXPECT_EQ(timer1(startup)->interval(), 60000);
}

TEST_F(StartupSecondiTest, TypingNeverLengthensTheTextBeyondTwoCharacters) {
    QTest::keyClick(text1(), Qt::Key_End);
    QTest::keyClicks(text1(), "5");
    EXPECT_EQ(text1()->text(), "120");
    QTest::keyClick(text1(), Qt::Key_Backspace);
    QTest::keyClicks(text1(), "3");
    EXPECT_EQ(text1()->text(), "12");
    text1()->selectAll();
    QTest::keyClicks(text1(), "345");
    EXPECT_EQ(text1()->text(), "34");
}

TEST_F(StartupSecondiTest, AnEditedValueIsCheckedAndWrittenAsANumber) {
    text1()->selectAll();
    QTest::keyClicks(text1(), "75");
    QTest::mouseClick(pctParam(startup)->Command2_0, Qt::LeftButton);
    ASSERT_FALSE(platform.messages.shown.isEmpty());
    EXPECT_EQ(platform.messages.shown[0].text, "DA 1 A 60 SECONDI POSSIBILI");
    text1()->selectAll();
    QTest::keyClicks(text1(), "7");
    QTest::mouseClick(pctParam(startup)->Command2_0, Qt::LeftButton);
    EXPECT_EQ(LeggiIni(sessione.fileIni(), "AGENDA", "Secondi"), "7");
    EXPECT_EQ(timer1(startup)->interval(), 7000);
}

}  // namespace
