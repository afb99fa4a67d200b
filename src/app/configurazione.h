// Where the program finds its configuration file, Gestar.ini.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class MessageBox;

// The system-wide folder that stands in for the Windows directory; it ends in "/".
QString CartellaWindows();

// True when a regular file lies at `percorso` and its name does not begin with ".".
bool FilePresente(const QString& percorso);

// The command line as one text: the arguments after the program's own name (first in
// `argomenti`), joined with single blanks, so a path typed with blanks arrives whole.
QString RigaDiComando(const QStringList& argomenti);

// What the search for the configuration file starts from.
struct AvvioProgramma {
    QString rigaDiComando;                        // see RigaDiComando
    QString cartellaProgramma;                    // folder of the executable, no trailing "/"
    QString fileProgramma;                        // the executable (its name gives the box title)
    QString cartellaWindows = CartellaWindows();  // ends in "/", or empty
};

// The path of the configuration file: the trimmed command line, or when it is empty the
// program's folder; failing that the Windows directory. When none is present, shows
// "File di configurazione inesistente" and returns nothing: the program must then end.
std::optional<QString> CercaFileIni(const AvvioProgramma& avvio, MessageBox& messaggi);
