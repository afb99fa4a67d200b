// Settings read when the main window loads.
#include "app/impostazioni.h"

#include <gtest/gtest.h>

#include "app/chiusura.h"
#include "app/ini.h"
#include "app/sessione.h"
#include "db/dberror.h"
#include "support/sqlfile.h"
#include "support/tempdir.h"

#include <QFileInfo>

namespace {

class ImpostazioniTest : public ::testing::Test {
protected:
    void conIni(const QByteArray& testo) { folder.write("Gestar.ini", testo); }
    TestFolder folder;
    Sessione sessione{folder.path("Gestar.ini")};
};

struct AgendaCase {
    const char* name;
    const char* agenda;
    const char* testoSecondi;
    qint32 secondi;
    bool suono;
    const char* fileSuono;
};

class AgendaTest : public ImpostazioniTest, public ::testing::WithParamInterface<AgendaCase> {};

TEST_P(AgendaTest, ReadsIntervalAndSound) {
    const AgendaCase& c = GetParam();
    conIni(QByteArray("[AGENDA]\r\n") + c.agenda);
    const Impostazioni lette = impostazioni::leggiAgenda(IniLetto(sessione.fileIni()));
    EXPECT_EQ(lette.testoSecondi, QString(c.testoSecondi));
    EXPECT_EQ(lette.secondi, c.secondi);
    EXPECT_EQ(lette.suonoAttivo, c.suono);
    EXPECT_EQ(lette.suono.percorso(), QString(c.fileSuono));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, AgendaTest,
    ::testing::Values(
        AgendaCase{"AllMissing", "", "", 60, false, ".wav"},
        AgendaCase{"Thirty", "Secondi=30 ; ogni mezzo minuto\r\nSuonoSN=S\r\n", "30", 30, true,
                   ".wav"},
        AgendaCase{"Zero", "Secondi=0\r\nSuonoSN=n\r\n", "0", 60, false, ".wav"},
        AgendaCase{"Text", "Secondi=spesso\r\n", "spesso", 60, false, ".wav"},
        AgendaCase{"Negative", "Secondi=-5\r\n", "-5", 60, false, ".wav"},
        AgendaCase{"Shortest", "Secondi=1\r\n", "1", 1, false, ".wav"},
        AgendaCase{"JustBelowTheShortest", "Secondi=0,5\r\n", "0,5", 60, false, ".wav"},
        AgendaCase{"BeyondAMinute", "Secondi=90\r\n", "90", 60, false, ".wav"},
        AgendaCase{"HalfToEven", "Secondi=2,5\r\n", "2,5", 2, false, ".wav"},
        AgendaCase{"DateTyped", "Secondi=1/2/3\r\n", "1/2/3", 60, false, ".wav"},
        AgendaCase{"TabBeforeTheInterval", "Secondi=\t30\r\n", "30", 30, false, ".wav"},
        AgendaCase{"Utf8Folder", "SuonoPath=/home/niccol\xc3\xb2\r\n", "", 60, false,
                   "/home/niccol\xc3\xb2.wav"},
        AgendaCase{"FolderOnly", "SuonoPath=/srv/suoni\r\n", "", 60, false, "/srv/suoni.wav"},
        AgendaCase{"FullSound",
                   "SuonoPath=/srv/suoni\r\nSuonoFile=ding\r\nSuonoExt=WAV\r\nSuonoSN=S\r\n", "",
                   60, true, "/srv/suoni/ding.WAV"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SuonoConfigurato, AnEmptyExtensionLeavesNoTrailingDot) {
    EXPECT_EQ((SuonoConfigurato{"/srv/suoni", "campana", ""}.percorso()), "/srv/suoni/campana");
    EXPECT_EQ((SuonoConfigurato{"C:", "DING", "WAV"}.percorso()), "C:/DING.WAV");
}

TEST_F(ImpostazioniTest, DataFoldersDefaultToTheRootAndEndInASeparator) {
    conIni("[BASE]\r\nOPERATORE=mario\r\n[PATH]\r\nFILE=/srv/dati\r\n");
    const std::optional<Percorsi> percorsi =
        impostazioni::leggiPercorsi(IniLetto(sessione.fileIni()));
    ASSERT_TRUE(percorsi);
    EXPECT_EQ(percorsi->Operatore, "mario");
    EXPECT_EQ(percorsi->PathFile, "/srv/dati/");
    EXPECT_EQ(percorsi->PathWork, "/");
}

// The annotated example the package installs reads as its comments say.
TEST(ImpostazioniEsempio, TheExampleFileReadsAsAnnotated) {
    const IniLetto esempio(QStringLiteral(SCADEX_SCHEMA_DIR "/../data/Gestar.ini"));
    const std::optional<Percorsi> percorsi = impostazioni::leggiPercorsi(esempio);
    ASSERT_TRUE(percorsi);
    EXPECT_EQ(percorsi->Operatore, "rossi");
    EXPECT_EQ(percorsi->PathFile, "/srv/gestar/dati/");
    EXPECT_EQ(percorsi->PathWork, "/srv/gestar/lavoro/");
    const Impostazioni lette = impostazioni::leggiAgenda(esempio);
    EXPECT_EQ(lette.testoSecondi, "10");
    EXPECT_TRUE(lette.suonoAttivo);
    EXPECT_EQ(lette.suono.percorso(), "/usr/share/sounds/gestar/avviso.wav");
}

TEST_F(ImpostazioniTest, AnOperatorWrittenInUtf8IsFound) {
    conIni("[BASE]\r\nOPERATORE=niccol\xc3\xb2\r\n");
    const std::optional<Percorsi> percorsi =
        impostazioni::leggiPercorsi(IniLetto(sessione.fileIni()));
    ASSERT_TRUE(percorsi);
    EXPECT_EQ(percorsi->Operatore, QStringLiteral("niccolò"));
}

TEST_F(ImpostazioniTest, NoOperatorStopsTheStart) {
    for (const char* testo : {"[BASE]\r\nOPERATORE=   ; nessuno\r\n", ""}) {
        conIni(testo);
        EXPECT_FALSE(sessione.caricaPercorsi(IniLetto(sessione.fileIni()))) << testo;
    }
}

TEST_F(ImpostazioniTest, AMissingWorkDatabaseLeavesTheMainOneToRelease) {
    SqlFile::create(folder.path("dati/mario/VisiteDV.mdb"), "visite.sql");
    conIni("[BASE]\r\nOPERATORE=mario\r\n[PATH]\r\nFILE=" + folder.path("dati").toUtf8() +
           "\r\nWORK=" + folder.path("lavoro").toUtf8() + "\r\n");
    ASSERT_TRUE(sessione.caricaPercorsi(IniLetto(sessione.fileIni())));
    EXPECT_THROW(sessione.apriDatabase(), db::DbError);
    EXPECT_NE(sessione.visite(), nullptr);
    EXPECT_EQ(sessione.work(), nullptr);
    EXPECT_FALSE(QFileInfo::exists(folder.path("lavoro/mario/WorkDV.mdb")));
    sessione.rilasciaDatabase();
    EXPECT_EQ(sessione.visite(), nullptr);
}

}  // namespace
