// Tests of locating the configuration file: command line, program folder, Windows directory.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <vector>

#include "app/configurazione.h"
#include "support/casenames.h"
#include "support/fakes.h"
#include "support/tempdir.h"

namespace {

// "@" in a case's paths stands for the test's temporary folder.
QString inFolder(const TestFolder& folder, const char* text) {
    return QString::fromUtf8(text).replace(QLatin1Char('@'), folder.path(QString()));
}

struct SearchCase {
    const char* name;
    std::vector<const char*> present;  // files created below the temporary folder
    const char* commandLine;
    const char* expected;  // empty: no file, the program must end
    const char* programFolder = "@/programma";
};

// The places below the temporary folder: "programma", "utente/" for the operator's settings
// folder and "windows/" for the Windows directory.
AvvioProgramma avvioIn(const TestFolder& folder, const QString& commandLine,
                       const char* programFolder = "@/programma") {
    return {.rigaDiComando = inFolder(folder, qPrintable(commandLine)),
            .cartellaProgramma = inFolder(folder, programFolder),
            .fileProgramma = inFolder(folder, "@/programma/scadex"),
            .cartellaDiSistema = inFolder(folder, "@/windows/"),
            .cartellaUtente = inFolder(folder, "@/utente/")};
}

class CercaFileIniSearch : public ::testing::TestWithParam<SearchCase> {};

TEST_P(CercaFileIniSearch, TriesThePlacesInOrder) {
    const SearchCase& c = GetParam();
    TestFolder folder;
    for (const char* file : c.present) folder.write(QString::fromUtf8(file), "[BASE]\r\n");
    ScriptedMessageBox messages;
    const AvvioProgramma avvio = avvioIn(folder, QString::fromUtf8(c.commandLine), c.programFolder);

    const std::optional<QString> found = CercaFileIni(avvio, messages);

    EXPECT_EQ(TrovaFileIni(avvio), found);
    if (*c.expected) {
        EXPECT_EQ(found, inFolder(folder, c.expected));
        EXPECT_TRUE(messages.shown.isEmpty());
        return;
    }
    EXPECT_FALSE(found.has_value());
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("File di configurazione inesistente"));
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("SCADEX -ERRORE"));
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Stop);
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::Ok);
}

const std::vector<const char*> kEverywhere = {"altro/mio.ini", "programma/Gestar.ini",
                                              "utente/Gestar.ini", "windows/Gestar.ini"};
const std::vector<const char*> kUserAndWindows = {"utente/Gestar.ini", "windows/Gestar.ini"};

INSTANTIATE_TEST_SUITE_P(
    Places, CercaFileIniSearch,
    ::testing::Values(
        SearchCase{"CommandLineFileWinsOverTheProgramFolder", kEverywhere, "@/altro/mio.ini",
                   "@/altro/mio.ini"},
        SearchCase{"CommandLineIsTrimmed", kEverywhere, "  @/altro/mio.ini  ", "@/altro/mio.ini"},
        SearchCase{"CommandLineWithBlanksInThePath",
                   {"altro/due parole.ini"},
                   "@/altro/due parole.ini",
                   "@/altro/due parole.ini"},
        SearchCase{"EmptyCommandLineMeansTheProgramFolder", kEverywhere, "",
                   "@/programma/Gestar.ini"},
        SearchCase{"SpacesOnlyMeanTheProgramFolder", kEverywhere, "   ", "@/programma/Gestar.ini"},
        SearchCase{"MissingCommandLineFileSkipsTheProgramFolder", kEverywhere,
                   "@/altro/nessuno.ini", "@/utente/Gestar.ini"},
        SearchCase{"HiddenCommandLineFileCountsAsAbsent",
                   {"altro/.mio.ini", "windows/Gestar.ini"},
                   "@/altro/.mio.ini",
                   "@/windows/Gestar.ini"},
        SearchCase{"UserFolderComesAfterTheProgramFolder", kUserAndWindows, "",
                   "@/utente/Gestar.ini"},
        SearchCase{"ProgramFolderWithoutTheFileFallsBackToWindows",
                   {"windows/Gestar.ini"},
                   "",
                   "@/windows/Gestar.ini"},
        SearchCase{"ProgramFolderEndingInTheSeparator",
                   {"programma/Gestar.ini"},
                   "",
                   "@/programma//Gestar.ini",
                   "@/programma/"},
        SearchCase{"NameIsCaseSensitive",
                   {"programma/gestar.ini", "utente/gestar.ini", "windows/GESTAR.INI"},
                   "",
                   ""},
        SearchCase{"NoFileAnywhere", {"altro/mio.ini"}, "@/altro/nessuno.ini", ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct UserFolderCase {
    const char* xdgConfigHome;
    const char* folder;
};

class CartellaUtenteCase : public ::testing::TestWithParam<UserFolderCase> {};

TEST_P(CartellaUtenteCase, FollowsXdgConfigHome) {
    EXPECT_EQ(CartellaUtente(QString::fromUtf8(GetParam().xdgConfigHome), "/home/rossi"),
              QString::fromUtf8(GetParam().folder));
}

INSTANTIATE_TEST_SUITE_P(Environment, CartellaUtenteCase,
                         ::testing::Values(UserFolderCase{"/srv/config", "/srv/config/scadex/"},
                                           UserFolderCase{"", "/home/rossi/.config/scadex/"},
                                           UserFolderCase{"config", "/home/rossi/.config/scadex/"}),
                         (CaseNames{"Set", "Unset", "RelativeIsIgnored"}));

// Restores the current directory when the test ends.
class CurrentDirectory {
public:
    explicit CurrentDirectory(const QString& path) : previous_(QDir::currentPath()) {
        QDir::setCurrent(path);
    }
    ~CurrentDirectory() { QDir::setCurrent(previous_); }
    CurrentDirectory(const CurrentDirectory&) = delete;
    CurrentDirectory& operator=(const CurrentDirectory&) = delete;

private:
    QString previous_;
};

TEST(CercaFileIni, WithoutAWindowsDirectoryLooksInTheCurrentDirectory) {
    TestFolder folder;
    folder.write(QStringLiteral("Gestar.ini"), "[BASE]\r\n");
    const CurrentDirectory current(folder.path(QString()));
    ScriptedMessageBox messages;
    const AvvioProgramma avvio{.rigaDiComando = QString(),
                               .cartellaProgramma = folder.path(QStringLiteral("programma")),
                               .fileProgramma = QStringLiteral("scadex"),
                               .cartellaDiSistema = QString(),
                               .cartellaUtente = folder.path(QStringLiteral("utente/"))};
    EXPECT_EQ(CercaFileIni(avvio, messages), QStringLiteral("Gestar.ini"));
}

struct TitleCase {
    const char* program;
    const char* title;
};

class CercaFileIniTitle : public ::testing::TestWithParam<TitleCase> {};

TEST_P(CercaFileIniTitle, NamesTheProgramWithoutExtensionInCapitals) {
    TestFolder folder;
    ScriptedMessageBox messages;
    const AvvioProgramma avvio{.rigaDiComando = QString(),
                               .cartellaProgramma = folder.path(QStringLiteral("programma")),
                               .fileProgramma = QString::fromUtf8(GetParam().program),
                               .cartellaDiSistema = folder.path(QStringLiteral("windows/")),
                               .cartellaUtente = folder.path(QStringLiteral("utente/"))};
    ASSERT_FALSE(CercaFileIni(avvio, messages).has_value());
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].title, QString::fromUtf8(GetParam().title));
}

INSTANTIATE_TEST_SUITE_P(Programs, CercaFileIniTitle,
                         ::testing::Values(TitleCase{"scadex", "SCADEX -ERRORE"},
                                           TitleCase{"/opt/gestar/bin/scadex", "SCADEX -ERRORE"},
                                           TitleCase{"Scadex.exe", "SCADEX -ERRORE"},
                                           TitleCase{"scadex.v2.bin", "SCADEX.V2 -ERRORE"}),
                         (CaseNames{"Plain", "WithFolder", "WithExtension", "TwoDots"}));

struct PresenceCase {
    const char* name;
    const char* path;  // below a folder holding "Gestar.ini", ".Gestar.ini",
                       // "cartella/", ".nascosta/Gestar.ini" and "link.ini" to Gestar.ini
    bool present;
};

class FilePresenteCase : public ::testing::TestWithParam<PresenceCase> {};

TEST_P(FilePresenteCase, CountsOnlyVisibleRegularFiles) {
    TestFolder folder;
    folder.write(QStringLiteral("Gestar.ini"), "");
    folder.write(QStringLiteral(".Gestar.ini"), "");
    folder.write(QStringLiteral("cartella/altro.ini"), "");
    folder.write(QStringLiteral(".nascosta/Gestar.ini"), "");
    QFile::link(folder.path(QStringLiteral("Gestar.ini")), folder.path(QStringLiteral("link.ini")));
    EXPECT_EQ(FilePresente(folder.path(QString::fromUtf8(GetParam().path))), GetParam().present);
}

INSTANTIATE_TEST_SUITE_P(Paths, FilePresenteCase,
                         ::testing::Values(PresenceCase{"RegularFile", "Gestar.ini", true},
                                           PresenceCase{"HiddenFile", ".Gestar.ini", false},
                                           PresenceCase{"Folder", "cartella", false},
                                           PresenceCase{"MissingFile", "nessuno.ini", false},
                                           PresenceCase{"FileInAHiddenFolder",
                                                        ".nascosta/Gestar.ini", true},
                                           PresenceCase{"LinkToAFile", "link.ini", true}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ArgumentsCase {
    QStringList arguments;
    const char* commandLine;
};

class RigaDiComandoJoin : public ::testing::TestWithParam<ArgumentsCase> {};

TEST_P(RigaDiComandoJoin, JoinsTheArgumentsAfterTheProgramWithSingleBlanks) {
    EXPECT_EQ(RigaDiComando(GetParam().arguments), QString::fromUtf8(GetParam().commandLine));
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, RigaDiComandoJoin,
    ::testing::Values(ArgumentsCase{{"scadex"}, ""},
                      ArgumentsCase{{"scadex", "/dati/Gestar.ini"}, "/dati/Gestar.ini"},
                      ArgumentsCase{{"scadex", "/dati/due", "parole/Gestar.ini"},
                                    "/dati/due parole/Gestar.ini"},
                      ArgumentsCase{{"scadex", "a", "", "b"}, "a  b"}),
    (CaseNames{"None", "One", "SplitAtABlank", "EmptyInBetween"}));

struct OptionsCase {
    QStringList arguments;
    Opzioni::Richiesta richiesta;
    bool avvioAutomatico;
    const char* commandLine;
};

class LeggiOpzioniCase : public ::testing::TestWithParam<OptionsCase> {};

TEST_P(LeggiOpzioniCase, TakesTheLeadingOptionsAndLeavesThePath) {
    const Opzioni opzioni = LeggiOpzioni(GetParam().arguments);
    EXPECT_EQ(opzioni.richiesta, GetParam().richiesta);
    EXPECT_EQ(opzioni.avvioAutomatico, GetParam().avvioAutomatico);
    EXPECT_EQ(opzioni.rigaDiComando, QString::fromUtf8(GetParam().commandLine));
}

using R = Opzioni::Richiesta;
INSTANTIATE_TEST_SUITE_P(
    Arguments, LeggiOpzioniCase,
    ::testing::Values(
        OptionsCase{{"scadex"}, R::Avvio, false, ""},
        OptionsCase{{"scadex", "/dati/due", "parole.ini"}, R::Avvio, false, "/dati/due parole.ini"},
        OptionsCase{{"scadex", "--help"}, R::Aiuto, false, ""},
        OptionsCase{{"scadex", "-h"}, R::Aiuto, false, ""},
        OptionsCase{{"scadex", "--version"}, R::Versione, false, ""},
        OptionsCase{{"scadex", "-V"}, R::Versione, false, ""},
        OptionsCase{{"scadex", "-V", "--help"}, R::Aiuto, false, ""},
        OptionsCase{{"scadex", "--help", "-V"}, R::Aiuto, false, ""},
        OptionsCase{{"scadex", "--autostart"}, R::Avvio, true, ""},
        OptionsCase{
            {"scadex", "--autostart", "/etc/Gestar.ini"}, R::Avvio, true, "/etc/Gestar.ini"},
        OptionsCase{{"scadex", "/dati/a", "-h", "b.ini"}, R::Avvio, false, "/dati/a -h b.ini"}),
    (CaseNames{"None", "PathOnly", "Help", "ShortHelp", "Version", "ShortVersion",
               "HelpWinsOverVersion", "HelpWinsOverALaterVersion", "Autostart",
               "AutostartWithAPath", "OptionInsideThePath"}));

}  // namespace
