// The alert window taking in reminders: look-ups, colours, one entry per appointment, sound.
#include "alert/programmaavviso.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextStream>

#include "alert/avvisodescritto.h"
#include "gestarprova.h"
#include "support/fakes.h"

namespace {

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

class FinestraProva : public ::testing::Test {
protected:
    explicit FinestraProva(const QByteArray& agenda = kSuonoAcceso) : gestar(agenda) {}

    QStringList testi(const char* nome) {
        QStringList trovati;
        for (const QLabel* label : programma.finestra().findChildren<QLabel*>(nome)) {
            trovati.append(label->text());
        }
        return trovati;
    }
    QColor colore(const char* nome, int scheda) {
        return programma.finestra().findChildren<QLabel*>(nome).at(scheda)->palette().color(
            QPalette::WindowText);
    }

    GestarProva gestar;
    RecordingSoundPlayer suono;
    QString eco;
    QTextStream flussoEco{&eco};
    ProgrammaAvviso programma{suono, &flussoEco};
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
    EXPECT_EQ(testi("lbInAttesa"), QStringList{"Promemoria in attesa: 3"});
    EXPECT_EQ(eco.count(QStringLiteral("AVVISO ")), 3);
}

// Batches end after a short quiet, so that a test can follow several.
class LottiProva : public ::testing::Test {
protected:
    static constexpr int kQuieteMs = 50;

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
    void accogli(int inAttesa, qint32 cliente) {
        programma.accogliArgomento(
            gestar.argomento(inAttesa, cliente, "VIS", "06/12/2026 10:00:00"));
    }

    GestarProva gestar{kSuonoAcceso};
    RecordingSoundPlayer suono;
    ProgrammaAvviso programma{suono, nullptr, kQuieteMs};
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

TEST_F(FinestraProva, CloseButtonClosesTheWindow) {
    programma.accogliArgomento(gestar.argomento(1, 1234, "VIS", "06/12/2026 10:00:00"));
    QPushButton* chiudi = programma.finestra().findChild<QPushButton*>("cmdChiudi");
    ASSERT_NE(chiudi, nullptr);
    EXPECT_EQ(chiudi->text(), "&CHIUDI");
    chiudi->click();
    EXPECT_FALSE(programma.finestra().isVisible());
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
