// Locating Gestar.ini at start-up.
#include "app/configurazione.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "app/ini.h"
#include "app/versione.h"
#include "platform/messagebox.h"
#include "util/texts.h"

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

QString CartellaDiSistema() {
    return QStringLiteral("/etc/");
}

// Hidden files count as absent, as a directory look-up for normal files would have it.
bool FilePresente(const QString& percorso) {
    const QFileInfo file(percorso);
    return file.isFile() && !file.fileName().startsWith(QLatin1Char('.'));
}

// A relative XDG_CONFIG_HOME is invalid by the XDG rules and is ignored.
QString CartellaUtente(const QString& xdgConfigHome, const QString& home) {
    const QString base =
        QDir::isAbsolutePath(xdgConfigHome) ? xdgConfigHome : home + QStringLiteral("/.config");
    return base + QStringLiteral("/scadex/");
}

QString RigaDiComando(const QStringList& argomenti) {
    return argomenti.mid(1).join(QLatin1Char(' '));
}

// Only leading arguments are options, so a path that holds "-h" between blanks stays a path.
Opzioni LeggiOpzioni(const QStringList& argomenti) {
    Opzioni opzioni;
    qsizetype primo = 1;
    for (; primo < argomenti.size(); ++primo) {
        const QString& argomento = argomenti.at(primo);
        if (const std::optional<Opzioni::Richiesta> richiesta = RichiestaDiOpzione(argomento)) {
            // --help wins over --version, whichever comes first.
            if (opzioni.richiesta != Opzioni::Richiesta::Aiuto) opzioni.richiesta = *richiesta;
        } else if (argomento == u"--autostart") {
            opzioni.avvioAutomatico = true;
        } else {
            break;
        }
    }
    opzioni.rigaDiComando = argomenti.mid(primo).join(QLatin1Char(' '));
    return opzioni;
}

std::optional<Opzioni::Richiesta> RichiestaDiOpzione(const QString& parola) {
    if (parola == u"--help" || parola == u"-h") return Opzioni::Richiesta::Aiuto;
    if (parola == u"--version" || parola == u"-V") return Opzioni::Richiesta::Versione;
    return std::nullopt;
}

int RispondiARichiesta(Opzioni::Richiesta richiesta, const QString& programma,
                       const QString& aiuto) {
    const QString testo = richiesta == Opzioni::Richiesta::Aiuto
                              ? aiuto
                              : programma + QLatin1Char(' ') + VersioneScadex() + u'\n';
    std::fputs(qUtf8Printable(testo), stdout);
    return 0;
}

QString TestoAiuto(const QString& programma) {
    return QStringLiteral(
               "Uso: %1 [--autostart] [FILE]\n"
               "Promemoria degli appuntamenti in scadenza nell'agenda di Gestar.\n"
               "\n"
               "FILE è il file di configurazione, scritto com'è: gli spazi fanno parte del\n"
               "percorso. Senza FILE il programma cerca Gestar.ini accanto a sé, poi in\n"
               "$XDG_CONFIG_HOME/scadex/ (~/.config/scadex/), poi in /etc/.\n"
               "\n"
               "  --autostart    avvio all'accesso: senza file di configurazione termina\n"
               "                 con una riga sull'errore standard, senza finestre\n"
               "  -h, --help     mostra questo aiuto ed esce\n"
               "  -V, --version  mostra la versione ed esce\n")
        .arg(programma);
}

// A command line naming a missing file falls back to the operator's folder directly: the
// program's folder is tried only when the command line is empty.
std::optional<QString> TrovaFileIni(const AvvioProgramma& avvio) {
    QString primo = texts::trimSpaces(avvio.rigaDiComando);
    if (primo.isEmpty()) primo = avvio.cartellaProgramma + QLatin1Char('/') + kNomeFileIni;
    for (const QString& fileIni :
         {primo, avvio.cartellaUtente + kNomeFileIni, avvio.cartellaDiSistema + kNomeFileIni}) {
        if (FilePresente(fileIni)) return fileIni;
    }
    return std::nullopt;
}

std::optional<QString> CercaFileIni(const AvvioProgramma& avvio, MessageBox& messaggi) {
    std::optional<QString> fileIni = TrovaFileIni(avvio);
    if (!fileIni) SegnalaFileIniMancante(avvio.fileProgramma, messaggi);
    return fileIni;
}
