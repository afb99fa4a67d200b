// The alert window taking in reminders: look-ups, colours, one entry per appointment, sound.
#include "alert/programmaavviso.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTextStream>
#include <QtTest/QTest>

#include "alert/avvisodescritto.h"
#include "alert/rinvio.h"
#include "gestarprova.h"
#include "platform/gui/accessibility.h"
#include "support/accessibility.h"
#include "support/fakes.h"

namespace {

using namespace std::chrono_literals;

const QByteArray kSuonoAcceso = "SuonoSN=S\r\nSuonoPath=/srv/suoni\r\nSuonoFile=ding\r\n";
const QString kDing = QStringLiteral("/srv/suoni/ding.wav");

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
    EXPECT_EQ(testi("lbInAttesa"), QStringList{"Promemoria in attesa: 1"});
    EXPECT_EQ(suono.played, QStringList{kDing});
}

TEST_F(FinestraProva, ListsEachAppointmentOnceNewestFirst) {
    programma.accogliArgomento(gestar.argomento(1, 1234, "VIS", "06/12/2026 10:00:00"));
    programma.accogliArgomento(gestar.argomento(2, 55, "TEL", "06/12/2026 11:00:00"));
    // After a rebuild scadex hands the first one over again.
    programma.accogliArgomento(gestar.argomento(3, 1234, "VIS", "06/12/2026 10:00:00"));

    EXPECT_EQ(testi("lbCliCod"), (QStringList{"55", "1234"}));
    EXPECT_EQ(testi("LbAziDes"), (QStringList{"Telefonata", "Visita"}));
    EXPECT_EQ(colore("LbAziDes", 0), QColor(0, 128, 0));
    // The count is of what the window lists, not the count the argument was handed over with.
    EXPECT_EQ(testi("lbInAttesa"), QStringList{"Promemoria in attesa: 2"});
    EXPECT_EQ(eco.count(QStringLiteral("AVVISO ")), 3);
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

TEST_F(LottiProva, EachBatchSoundsForItsFirstNewAppointmentOnly) {
    accogli(1, 1234);
    EXPECT_EQ(fineLotto(), QList<qint32>{1234});
    // After a rebuild the same appointment comes again first: it is not new, the next one is.
    accogli(1, 1234);
    EXPECT_EQ(suono.played.size(), 1);
    accogli(2, 55);
    accogli(3, 77);
    EXPECT_EQ(suono.played.size(), 2);
    EXPECT_EQ(fineLotto(), (QList<qint32>{1234, 55, 77}));
    accogli(3, 1234);
    EXPECT_EQ(fineLotto(), QList<qint32>{1234});
    EXPECT_EQ(suono.played.size(), 2);
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
    EXPECT_EQ(chiudi->text(), "&CHIUDI");
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
        return QTest::qWaitFor([&] { return testi("lbCliCod") == clienti; }, 5000);
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
    EXPECT_TRUE(tornati({"55", "1234", "9"}));
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
        CasoRinvio{"FiveMinutes", "cmdRimanda5", "RIMANDA &5 MINUTI", Qt::Key_5, {50ms, 1h}},
        CasoRinvio{"FifteenMinutes", "cmdRimanda15", "RIMANDA &15 MINUTI", Qt::Key_1, {1h, 50ms}}),
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
