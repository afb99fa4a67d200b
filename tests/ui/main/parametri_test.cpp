// The parameters panel's logic, the key filter and the sound test.
#include <gtest/gtest.h>

#include "app/ini.h"
#include "app/suonaavviso.h"
#include "support/fakes.h"
#include "support/tempdir.h"
#include "ui/main/filtrotastonumerico.h"
#include "ui/main/gestioneparametri.h"
#include "util/regionalformats.h"

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
    FileChoice scelta(const QString& percorso) {
        return {percorso, percorso.mid(percorso.lastIndexOf('/') + 1)};
    }
    // The settings read at start-up with the sound `suono`.
    static Impostazioni lette(const SuonoConfigurato& suono) {
        Impostazioni impostazioni;
        impostazioni.suono = suono;
        return impostazioni;
    }

    TestFolder folder;
    const QString fileIni = folder.path("Gestar.ini");
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
    GestioneParametri parametri(fileIni, lette({"/old", "old", "wav"}));
    dialogo.answer = scelta(c.chosen);
    ASSERT_TRUE(parametri.scegliFileSuono(dialogo));
    EXPECT_EQ(parametri.suono().SuonoPath, QString(c.path));
    EXPECT_EQ(parametri.suono().SuonoFile, QString(c.file));
    EXPECT_EQ(parametri.suono().SuonoExt, QString(c.ext));
    EXPECT_EQ(parametri.suono().percorso(), QString(c.chosen));
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
    GestioneParametri parametri(fileIni, lette({"/srv/suoni", "ding", "wav"}));
    EXPECT_FALSE(parametri.scegliFileSuono(dialogo));
    ASSERT_EQ(dialogo.requests.size(), 1);
    EXPECT_EQ(dialogo.requests[0].title, "SUONO DI AVVISO");
    EXPECT_EQ(dialogo.requests[0].initialFolder, "/srv/suoni");
    EXPECT_EQ(dialogo.requests[0].fileName, "ding.wav");
    EXPECT_EQ(dialogo.requests[0].filter, "File di Suono (*.WAV);;Tutti i files (*.*)");
    EXPECT_EQ(parametri.suono().percorso(), "/srv/suoni/ding.wav");
}

TEST_F(GestioneParametriTest, ConfirmWritesTheFiveKeysAndTheNextStartFindsTheSameFile) {
    folder.write("Gestar.ini", "[BASE]\r\nOPERATORE=op\r\n");
    GestioneParametri parametri(fileIni, {});
    dialogo.answer = scelta(folder.path("suoni/DING.WAV"));
    ASSERT_TRUE(parametri.scegliFileSuono(dialogo));
    const std::optional<Impostazioni> confermate = parametri.conferma("25", 0, messaggi);
    ASSERT_TRUE(confermate);
    EXPECT_EQ(confermate->secondi, 25);
    EXPECT_TRUE(confermate->suonoAttivo);
    EXPECT_EQ(confermate->suono.percorso(), folder.path("suoni/DING.WAV"));
    EXPECT_EQ(TestFolder::read(fileIni),
              "[BASE]\r\nOPERATORE=op\r\n[AGENDA]\r\nSecondi=25\r\nSuonoSN=S\r\nSuonoPath=" +
                  folder.path("suoni").toUtf8() + "\r\nSuonoFile=DING\r\nSuonoExt=WAV\r\n");
    const SuonoConfigurato letto{LeggiIni(fileIni, "AGENDA", "SuonoPath"),
                                 LeggiIni(fileIni, "AGENDA", "SuonoFile"),
                                 LeggiIni(fileIni, "AGENDA", "SuonoExt")};
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
    const QString scritto = folder.path(c.file);
    GestioneParametri parametri(scritto, lette({QString::fromUtf16(c.suonoPath), "ding", "wav"}));
    const std::optional<Impostazioni> confermate = parametri.conferma("25", 0, messaggi);
    ASSERT_TRUE(confermate);
    EXPECT_EQ(confermate->secondi, 25);
    EXPECT_TRUE(confermate->suonoAttivo);
    ASSERT_EQ(messaggi.shown.size(), 1);
    EXPECT_EQ(messaggi.shown[0].text,
              "PARAMETRI NON SALVATI IN " + scritto + ": " + QString::fromUtf16(c.causa));
    EXPECT_EQ(messaggi.shown[0].icon, MessageIcon::Stop);
    EXPECT_EQ(LeggiIni(scritto, "AGENDA", "Secondi"), QString(c.stored));
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
    std::optional<qint32> seconds;  // nothing: refused
    const char* suonoSN;
};

class ConfirmTest : public GestioneParametriTest,
                    public ::testing::WithParamInterface<ConfirmCase> {};

TEST_P(ConfirmTest, AppliesOnlyAnIntervalWithinAMinute) {
    const ConfirmCase& c = GetParam();
    GestioneParametri parametri(fileIni, {});
    const std::optional<Impostazioni> confermate = parametri.conferma(c.text, c.position, messaggi);
    EXPECT_EQ(confermate ? std::optional(confermate->secondi) : std::nullopt, c.seconds);
    EXPECT_EQ(LeggiIni(fileIni, "AGENDA", "SuonoSN"), QString(c.suonoSN));
}

INSTANTIATE_TEST_SUITE_P(Values, ConfirmTest,
                         ::testing::Values(ConfirmCase{"Emptied", "", 1, 60, "N"},
                                           ConfirmCase{"TypedIntoCombo", "10", -1, 10, "N"},
                                           ConfirmCase{"SoundOn", "60", 0, 60, "S"},
                                           ConfirmCase{"Shortest", "1", 0, 1, "S"},
                                           ConfirmCase{"TooLong", "61", 0, std::nullopt, ""},
                                           ConfirmCase{"Negative", "-3", 0, std::nullopt, ""},
                                           ConfirmCase{"HalfToEven", "2,5", 0, 2, "S"}),
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
