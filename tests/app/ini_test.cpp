// Tests of LeggiIni's comment rules and clean-up, IniLetto, ScriviIni and TroncaAlNul.
#include <gtest/gtest.h>

#include <string_view>

#include "app/ini.h"
#include "support/casenames.h"
#include "support/tempdir.h"
#include "util/texts.h"

using namespace std::string_view_literals;

namespace {

QString fromUtf16(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

struct LineCase {
    const char* name;
    const char* line;  // the key's line in section AGENDA
    const char16_t* expected;
};

class LeggiIniLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(LeggiIniLine, CleansTheValue) {
    TestFolder folder;
    const QString file = folder.write(QStringLiteral("Gestar.ini"),
                                      QByteArray("[AGENDA]\r\n") + GetParam().line + "\r\n");
    EXPECT_EQ(LeggiIni(file, QStringLiteral("AGENDA"), QStringLiteral("Secondi")),
              QString::fromUtf16(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Rules, LeggiIniLine,
    ::testing::Values(LineCase{"SpaceSemicolonComment", "Secondi=30 ; ogni mezzo minuto", u"30"},
                      LineCase{"TabComment", "Secondi=30\tqualsiasi ; testo", u"30"},
                      LineCase{"TabBeforeSpaceSemicolon", "Secondi=a ;b\tc", u"a"},
                      LineCase{"SemicolonWithoutSpaceIsText", "Secondi=a;b", u"a;b"},
                      LineCase{"SpaceSemicolonCuts", "Secondi=a ;b", u"a"},
                      LineCase{"QuotedSpacesBeforeComment", "Secondi=\"   ; commento\"", u""},
                      LineCase{"UnquotedSpacesBeforeComment", "Secondi=   ; commento", u""},
                      LineCase{"SemicolonWithoutABlankBeforeItIsText", "Secondi=;x", u";x"},
                      LineCase{"TabBeforeTheValue", "Secondi=\t30", u"30"},
                      LineCase{"TabsAroundTheValue", "Secondi=\tValue\t", u"Value"},
                      LineCase{"BlanksBeforeTheValueGoBeforeTheTabCut", "Secondi= \t30", u"30"},
                      LineCase{"QuotedTabCuts", "Secondi=\"\t30\"", u""},
                      LineCase{"TabBeforeACommentAlone", "Secondi=\t; nota", u""},
                      LineCase{"SpacesInsideQuotesTrimmed", "Secondi=\"  30  \"", u"30"},
                      LineCase{"OnlySpacesTrimmed",
                               "Secondi=\"\xa0"
                               "30\xa0\"",
                               u"\u00a030\u00a0"},
                      LineCase{"EmptyValue", "Secondi=", u""},
                      LineCase{"MissingKey", "Second=30", u""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LeggiIni, LongValueIsCutTo99CharactersBeforeItIsCleaned) {
    TestFolder folder;
    const QString file =
        folder.write(QStringLiteral("Gestar.ini"), "[A]\r\nK=" + QByteArray(150, 'a'));
    EXPECT_EQ(LeggiIni(file, QStringLiteral("A"), QStringLiteral("K")), QString(99, u'a'));
    // Cut first, the blanks at the end of the 99 characters are trailing and go.
    folder.write(QStringLiteral("Gestar.ini"), "[A]\r\nK=" + QByteArray(97, 'a') + "   bbb");
    EXPECT_EQ(LeggiIni(file, QStringLiteral("A"), QStringLiteral("K")), QString(97, u'a'));
}

TEST(LeggiIni, StopsAtANulInTheFile) {
    TestFolder folder;
    const QString file =
        folder.write(QStringLiteral("Gestar.ini"), QByteArrayLiteral("[A]\r\nK= ab\0cd \r\n"));
    EXPECT_EQ(LeggiIni(file, QStringLiteral("A"), QStringLiteral("K")), QStringLiteral("ab"));
}

// One reading answers every key, as the file was when it was read.
TEST(IniLetto, AnswersEveryKeyFromOneReading) {
    TestFolder folder;
    const QString file =
        folder.write(QStringLiteral("Gestar.ini"),
                     "[BASE]\r\nOPERATORE= op ; nota\r\n[AGENDA]\r\nSecondi=\t30\r\n");
    const IniLetto ini(file);
    folder.write(QStringLiteral("Gestar.ini"), "[AGENDA]\r\nSecondi=5\r\n");
    EXPECT_EQ(ini.leggi(QStringLiteral("base"), QStringLiteral("operatore")), QStringLiteral("op"));
    EXPECT_EQ(ini.leggi(QStringLiteral("AGENDA"), QStringLiteral("Secondi")), QStringLiteral("30"));
    EXPECT_EQ(ini.leggi(QStringLiteral("AGENDA"), QStringLiteral("SuonoSN")), QString());
}

TEST(ScriviIni, WritesWhatLeggiIniReadsBack) {
    TestFolder folder;
    const QString file = folder.path(QStringLiteral("Gestar.ini"));
    ScriviIni(file, QStringLiteral("AGENDA"), QStringLiteral("SuonoPath"),
              QStringLiteral("/home/però/suoni"));
    ScriviIni(file, QStringLiteral("agenda"), QStringLiteral("SuonoSN"), QStringLiteral("S"));
    EXPECT_EQ(LeggiIni(file, QStringLiteral("AGENDA"), QStringLiteral("SUONOPATH")),
              QStringLiteral("/home/però/suoni"));
    EXPECT_EQ(TestFolder::read(file),
              QByteArray("[AGENDA]\r\nSuonoPath=/home/per\xf2/suoni\r\nSuonoSN=S\r\n"));
}

struct CausaCase {
    const char* name;
    const char* file;  // in the test's folder
    const char16_t* valore;
    const char16_t* causa;  // empty: stored
};

class ScriviIniCausa : public ::testing::TestWithParam<CausaCase> {};

// Two keys in one write: a value that cannot be stored keeps the other out of the file too.
TEST_P(ScriviIniCausa, SaysWhyTheValuesWereNotStored) {
    TestFolder folder;
    const QString esistente = folder.write(QStringLiteral("cartella/Gestar.ini"), "[AGENDA]\r\n");
    const std::optional<QString> causa = ScriviIniVerificato(
        folder.path(QString::fromLatin1(GetParam().file)), QStringLiteral("AGENDA"),
        {{QStringLiteral("Secondi"), QStringLiteral("5")},
         {QStringLiteral("SuonoFile"), QString::fromUtf16(GetParam().valore)}});
    EXPECT_EQ(causa.value_or(QString()), QString::fromUtf16(GetParam().causa));
    EXPECT_EQ(TestFolder::read(esistente),
              causa ? "[AGENDA]\r\n" : "[AGENDA]\r\nSecondi=5\r\nSuonoFile=ding\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Esiti, ScriviIniCausa,
    ::testing::Values(
        CausaCase{"Stored", "cartella/Gestar.ini", u"ding", u""},
        CausaCase{"LineBreak", "cartella/Gestar.ini", u"a\nb", u"un valore va a capo"},
        CausaCase{"Unencodable", "cartella/Gestar.ini", u"\u2192",
                  u"un carattere non rappresentabile nella codifica del file"},
        CausaCase{"MissingFolder", "manca/Gestar.ini", u"ding", u"cartella inesistente"},
        CausaCase{"AFolder", "cartella", u"ding", u"il percorso indica una cartella"}),
    [](const auto& info) { return std::string(info.param.name); });

struct TextCase {
    std::u16string_view text;
    std::u16string_view expected;
};

class TroncaAlNulText : public ::testing::TestWithParam<TextCase> {};

TEST_P(TroncaAlNulText, KeepsWhatStandsBeforeTheFirstNul) {
    EXPECT_EQ(TroncaAlNul(fromUtf16(GetParam().text)), fromUtf16(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Texts, TroncaAlNulText,
                         ::testing::Values(TextCase{u"abc", u"abc"}, TextCase{u"ab\0c\0d"sv, u"ab"},
                                           TextCase{u"\0abc"sv, u""}, TextCase{u"", u""}),
                         (CaseNames{"NoNul", "CutAtTheFirst", "NulFirst", "Empty"}));

class TrimSpacesText : public ::testing::TestWithParam<TextCase> {};

TEST_P(TrimSpacesText, RemovesOnlyOuterSpaces) {
    EXPECT_EQ(texts::trimSpaces(fromUtf16(GetParam().text)), fromUtf16(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Texts, TrimSpacesText,
                         ::testing::Values(TextCase{u"  a b  ", u"a b"}, TextCase{u"   ", u""},
                                           TextCase{u"\ta\t", u"\ta\t"},
                                           TextCase{u" \u00a0a ", u"\u00a0a"}),
                         (CaseNames{"Outer", "OnlySpaces", "TabsStay", "NoBreakSpaceStays"}));

}  // namespace
