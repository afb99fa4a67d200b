// Where the program finds its configuration file, Gestar.ini.
#pragma once

#include <QDir>
#include <QString>
#include <QStringList>
#include <optional>

class MessageBox;

// The system-wide settings folder, where an office keeps one Gestar.ini for every user; it
// ends in "/".
QString CartellaDiSistema();

// True when a regular file lies at `percorso` and its name does not begin with ".".
bool FilePresente(const QString& percorso);

// The operator's own settings folder, "scadex/" under `xdgConfigHome` (the value of
// XDG_CONFIG_HOME), or under `home`/.config when that is empty or relative; it ends in "/".
QString CartellaUtente(const QString& xdgConfigHome, const QString& home);

// The command line as one text: the arguments after the program's own name (first in
// `argomenti`), joined with single blanks, so a path typed with blanks arrives whole.
QString RigaDiComando(const QStringList& argomenti);

// What the command line asks for.
struct Opzioni {
    enum class Richiesta { Avvio, Aiuto, Versione };
    Richiesta richiesta = Richiesta::Avvio;
    // Started by the login's autostart entry: without a configuration file, end quietly.
    bool avvioAutomatico = false;
    // What follows the options, joined as RigaDiComando joins it: the configuration path.
    QString rigaDiComando;
};

// Reads the leading options (--help, -h, --version, -V, --autostart) of `argomenti`, the
// program's own name first; everything from the first other argument on is the path.
Opzioni LeggiOpzioni(const QStringList& argomenti);

// What `parola` asks for when it is exactly --help or -h (Aiuto), --version or -V (Versione);
// nothing for any other text. The programs whose command line is data (SCADEX1.EXE's reminder)
// take it as an option only when it is the whole command line.
std::optional<Opzioni::Richiesta> RichiestaDiOpzione(const QString& parola);

// Answers Aiuto with `aiuto`, Versione with "<programma> <version>", on standard output, and
// returns the exit status, 0. Each program calls it before anything that needs a display.
int RispondiARichiesta(Opzioni::Richiesta richiesta, const QString& programma,
                       const QString& aiuto);

// The usage text that scadex's --help prints, naming the program as `programma`.
QString TestoAiuto(const QString& programma);

// What the search for the configuration file starts from.
struct AvvioProgramma {
    QString rigaDiComando;      // see RigaDiComando
    QString cartellaProgramma;  // folder of the executable, no trailing "/"
    QString fileProgramma;      // the executable (its name gives the box title)
    QString cartellaDiSistema = CartellaDiSistema();  // ends in "/", or empty
    QString cartellaUtente =                          // ends in "/"
        CartellaUtente(qEnvironmentVariable("XDG_CONFIG_HOME"), QDir::homePath());
};

// The path of the configuration file: the trimmed command line, or when it is empty the
// program's folder; failing that the operator's settings folder, then the system folder.
// Nothing when none of them holds one.
std::optional<QString> TrovaFileIni(const AvvioProgramma& avvio);

// TrovaFileIni; when it finds nothing, shows "File di configurazione inesistente" and returns
// nothing: the program must then end.
std::optional<QString> CercaFileIni(const AvvioProgramma& avvio, MessageBox& messaggi);
