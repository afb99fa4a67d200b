// The parameters panel's logic, the key filter and the sound test.
#include <gtest/gtest.h>

#include "app/ini.h"
#include "app/sessione.h"
#include "app/suonaavviso.h"
#include "support/fakes.h"
#include "support/tempdir.h"
#include "ui/main/filtrotastonumerico.h"
#include "ui/main/gestioneparametri.h"
#include "util/regionale.h"

namespace {

struct FilterCase {
    const char* name;
    bool decimalComma;
    int typed;
    int expected;
};

class FilterTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FilterTest, LetsDigitsSignSeparatorAndEditingKeysThrough) {
    const FilterCase& c = GetParam();
    ScopedRegionalFormats formats(c.decimalComma ? RegionalFormats::italian()
                                                 : RegionalFormats::decimalPoint());
    EXPECT_EQ(FiltraTastoNumerico(c.typed), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, FilterTest,
    ::testing::Values(FilterCase{"Digit", true, '7', '7'}, FilterCase{"Letter", true, 'a', 0},
                      FilterCase{"Blank", true, ' ', 0}, FilterCase{"Minus", true, '-', '-'},
                      FilterCase{"Plus", true, '+', 0}, FilterCase{"Enter", true, 13, 0},
                      FilterCase{"Backspace", true, 8, 8}, FilterCase{"CtrlC", true, 3, 3},
                      FilterCase{"CtrlR", true, 18, 18}, FilterCase{"CtrlV", true, 22, 22},
                      FilterCase{"CommaOnComma", true, ',', ','},
                      FilterCase{"StopOnComma", true, '.', ','},
                      FilterCase{"CommaOnStop", false, ',', '.'},
                      FilterCase{"StopOnStop", false, '.', '.'}),
    [](const auto& info) { return std::string(info.param.name); });

class GestioneParametriTest : public ::testing::Test {
protected:
    GestioneParametriTest() { sessione.FileIni = folder.path("Gestar.ini"); }
    FileChoice scelta(const QString& percorso) {
        return {percorso, percorso.mid(percorso.lastIndexOf('/') + 1)};
    }
    TestFolder folder;
    Sessione sessione;
    ScriptedFileDialog dialogo;
    ScriptedMessageBox messaggi;
};

struct SplitCase {
    const char* name;
    const char* chosen;
    const char* path;
    const char* file;
    const char* ext;
};

class SplitTest : public GestioneParametriTest, public ::testing::WithParamInterface<SplitCase> {};

TEST_P(SplitTest, KeepsFolderNameAndShortExtensionApart) {
    const SplitCase& c = GetParam();
    GestioneParametri parametri(sessione, {"/old", "old", "wav"});
    dialogo.answer = scelta(c.chosen);
    ASSERT_TRUE(parametri.scegliFileSuono(dialogo));
    EXPECT_EQ(parametri.suono().SuonoPath, QString(c.path));
    EXPECT_EQ(parametri.suono().SuonoFile, QString(c.file));
    EXPECT_EQ(parametri.suono().SuonoExt, QString(c.ext));
    EXPECT_EQ(sessione.FileSuono, QString(c.chosen));
}

INSTANTIATE_TEST_SUITE_P(
    Choices, SplitTest,
    ::testing::Values(SplitCase{"Plain", "/SUONI/DING.WAV", "/SUONI", "DING", "WAV"},
                      SplitCase{"Root", "/DING.WAV", "", "DING", "WAV"},
                      SplitCase{"LongExtension", "/s/campana.flac", "/s", "campana.flac", ""},
                      SplitCase{"NoExtension", "/s/campana", "/s", "campana", ""},
                      SplitCase{"TwoDots", "/s/a.b.c", "/s", "a", "b.c"},
                      SplitCase{"ShortName", "/s/ab.c", "/s", "ab", "c"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GestioneParametriTest, TheDialogOpensOnTheCurrentFileAndACancelChangesNothing) {
    sessione.FileSuono = "/srv/suoni/ding.wav";
    GestioneParametri parametri(sessione, {"/srv/suoni", "ding", "wav"});
    EXPECT_FALSE(parametri.scegliFileSuono(dialogo));
    ASSERT_EQ(dialogo.requests.size(), 1);
    EXPECT_EQ(dialogo.requests[0].title, "SUONO DI AVVISO");
    EXPECT_EQ(dialogo.requests[0].initialFolder, "/srv/suoni");
    EXPECT_EQ(dialogo.requests[0].fileName, "ding.wav");
    EXPECT_EQ(dialogo.requests[0].filter, "File di Suono (*.WAV);;Tutti i files (*.*)");
    EXPECT_EQ(sessione.FileSuono, "/srv/suoni/ding.wav");
    EXPECT_EQ(parametri.suono().SuonoFile, "ding");
}

TEST_F(GestioneParametriTest, ConfirmWritesTheFiveKeysAndTheNextStartFindsTheSameFile) {
    folder.write("Gestar.ini", "[BASE]\r\nOPERATORE=op\r\n");
    GestioneParametri parametri(sessione, {});
    dialogo.answer = scelta(folder.path("suoni/DING.WAV"));
    ASSERT_TRUE(parametri.scegliFileSuono(dialogo));
    ASSERT_TRUE(parametri.conferma("25", 0, messaggi));
    EXPECT_EQ(sessione.SecondiAnalisi, 25);
    EXPECT_TRUE(sessione.SuonoAttivo);
    EXPECT_EQ(TestFolder::read(sessione.FileIni),
              "[BASE]\r\nOPERATORE=op\r\n[AGENDA]\r\nSecondi=25\r\nSuonoSN=S\r\nSuonoPath=" +
                  folder.path("suoni").toUtf8() + "\r\nSuonoFile=DING\r\nSuonoExt=WAV\r\n");
    const SuonoConfigurato letto{LeggiIni(sessione.FileIni, "AGENDA", "SuonoPath"),
                                 LeggiIni(sessione.FileIni, "AGENDA", "SuonoFile"),
                                 LeggiIni(sessione.FileIni, "AGENDA", "SuonoExt")};
    EXPECT_EQ(letto.percorso(), folder.path("suoni/DING.WAV"));
    EXPECT_TRUE(messaggi.shown.isEmpty());
}

struct SaveCase {
    const char* name;
    const char* file;           // Gestar.ini in the test's folder
    const char16_t* suonoPath;  // the chosen sound's folder
    const char16_t* causa;
    const char* stored;  // what the file then says of Secondi: no key is written alone
};

class SaveTest : public GestioneParametriTest, public ::testing::WithParamInterface<SaveCase> {};

// The new values hold for the run; the operator hears once why they will not come back.
TEST_P(SaveTest, AFailedWriteIsToldOnceAndTheValuesHold) {
    const SaveCase& c = GetParam();
    folder.write("Gestar.ini", "[AGENDA]\r\nSecondi=30\r\n");
    sessione.FileIni = folder.path(c.file);
    GestioneParametri parametri(sessione, {QString::fromUtf16(c.suonoPath), "ding", "wav"});
    ASSERT_TRUE(parametri.conferma("25", 0, messaggi));
    EXPECT_EQ(sessione.SecondiAnalisi, 25);
    EXPECT_TRUE(sessione.SuonoAttivo);
    ASSERT_EQ(messaggi.shown.size(), 1);
    EXPECT_EQ(messaggi.shown[0].text,
              "PARAMETRI NON SALVATI IN " + sessione.FileIni + ": " + QString::fromUtf16(c.causa));
    EXPECT_EQ(messaggi.shown[0].icon, MessageIcon::Stop);
    EXPECT_EQ(LeggiIni(sessione.FileIni, "AGENDA", "Secondi"), QString(c.stored));
}

INSTANTIATE_TEST_SUITE_P(
    Failures, SaveTest,
    ::testing::Values(SaveCase{"MissingFolder", "manca/Gestar.ini", u"/srv/suoni",
                               u"cartella inesistente", ""},
                      SaveCase{"CharacterOutsideTheEncoding", "Gestar.ini", u"/srv/suoni\u2192",
                               u"un carattere non rappresentabile nella codifica del file", "30"}),
    [](const auto& info) { return std::string(info.param.name); });

struct ConfirmCase {
    const char* name;
    const char* text;
    int position;
    bool accepted;
    qint32 seconds;
    const char* suonoSN;
};

class ConfirmTest : public GestioneParametriTest,
                    public ::testing::WithParamInterface<ConfirmCase> {};

TEST_P(ConfirmTest, AppliesOnlyAnIntervalWithinAMinute) {
    const ConfirmCase& c = GetParam();
    sessione.SecondiAnalisi = 42;
    GestioneParametri parametri(sessione, {});
    EXPECT_EQ(parametri.conferma(c.text, c.position, messaggi), c.accepted);
    EXPECT_EQ(sessione.SecondiAnalisi, c.seconds);
    EXPECT_EQ(LeggiIni(sessione.FileIni, "AGENDA", "SuonoSN"), QString(c.suonoSN));
}

INSTANTIATE_TEST_SUITE_P(Values, ConfirmTest,
                         ::testing::Values(ConfirmCase{"Emptied", "", 1, true, 60, "N"},
                                           ConfirmCase{"TypedIntoCombo", "10", -1, true, 10, "N"},
                                           ConfirmCase{"SoundOn", "60", 0, true, 60, "S"},
                                           ConfirmCase{"Shortest", "1", 0, true, 1, "S"},
                                           ConfirmCase{"TooLong", "61", 0, false, 42, ""},
                                           ConfirmCase{"Negative", "-3", 0, false, 42, ""},
                                           ConfirmCase{"HalfToEven", "2,5", 0, true, 2, "S"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IntervalCheck, AcceptsOneToSixtySeconds) {
    EXPECT_TRUE(GestioneParametri::intervalloAccettabile("1"));
    EXPECT_TRUE(GestioneParametri::intervalloAccettabile("60"));
    EXPECT_FALSE(GestioneParametri::intervalloAccettabile("0"));
    EXPECT_FALSE(GestioneParametri::intervalloAccettabile(""));
    EXPECT_FALSE(GestioneParametri::intervalloAccettabile("0,5"));
    EXPECT_FALSE(GestioneParametri::intervalloAccettabile("60,5"));
}

TEST(ProvaAvviso, PlaysEvenWhenSwitchedOff) {
    RecordingSoundPlayer suono;
    ScriptedMessageBox messaggi;
    ProvaAvviso("/srv/ding.wav", suono, messaggi);
    EXPECT_EQ(suono.played, QStringList{"/srv/ding.wav"});
    SuonaAvviso(false, "/srv/ding.wav", suono);
    EXPECT_EQ(suono.played.size(), 1);
}

}  // namespace
