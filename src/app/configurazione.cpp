// Locating Gestar.ini at start-up.
#include "app/configurazione.h"

#include <QFileInfo>

#include "app/ini.h"
#include "platform/messagebox.h"
#include "util/testi.h"

namespace {

const QString kNomeFileIni = QStringLiteral("Gestar.ini");

// "SCADEX -ERRORE" for the executable scadex: its name without extension, in capitals.
QString TitoloErrore(const QString& fileProgramma) {
    return QFileInfo(fileProgramma).completeBaseName().toUpper() + QStringLiteral(" -ERRORE");
}

void SegnalaFileIniMancante(const QString& fileProgramma, MessageBox& messaggi) {
    messaggi.show({.text = QStringLiteral("File di configurazione inesistente"),
                   .title = TitoloErrore(fileProgramma),
                   .icon = MessageIcon::Stop,
                   .buttons = MessageButtons::Ok});
}

}  // namespace

// Linux file names are case-sensitive, so the folder is not upper-cased.
QString CartellaWindows() {
    return QStringLiteral("/etc/");
}

// Hidden files count as absent, as a directory look-up for normal files would have it.
bool FilePresente(const QString& percorso) {
    const QFileInfo file(percorso);
    return file.isFile() && !file.fileName().startsWith(QLatin1Char('.'));
}

QString RigaDiComando(const QStringList& argomenti) {
    return argomenti.mid(1).join(QLatin1Char(' '));
}

// A command line naming a missing file falls back to the Windows directory directly: the
// program's folder is tried only when the command line is empty.
std::optional<QString> CercaFileIni(const AvvioProgramma& avvio, MessageBox& messaggi) {
    QString fileIni = testi::trimSpaces(avvio.rigaDiComando);
    if (fileIni.isEmpty()) fileIni = avvio.cartellaProgramma + QLatin1Char('/') + kNomeFileIni;
    if (!FilePresente(fileIni)) fileIni = avvio.cartellaWindows + kNomeFileIni;
    if (FilePresente(fileIni)) return fileIni;
    SegnalaFileIniMancante(avvio.fileProgramma, messaggi);
    return std::nullopt;
}
