// The settings of Gestar.ini: the operator's folders, the poll interval and the sound.
#include "app/impostazioni.h"

#include <QDir>

#include "app/ini.h"
#include "db/database.h"
#include "db/schema.h"
#include "util/texts.h"
#include "util/valori.h"

namespace {

// The sections and keys of Gestar.ini that SCADEX reads at start and writes on "&CONFERMA".
const QString kBase = QStringLiteral("BASE");
const QString kOperatore = QStringLiteral("OPERATORE");
const QString kPath = QStringLiteral("PATH");
const QString kFile = QStringLiteral("FILE");
const QString kWork = QStringLiteral("WORK");
const QString kAgenda = QStringLiteral("AGENDA");
const QString kSecondi = QStringLiteral("Secondi");
const QString kSuonoSN = QStringLiteral("SuonoSN");
const QString kSuonoPath = QStringLiteral("SuonoPath");
const QString kSuonoFile = QStringLiteral("SuonoFile");
const QString kSuonoExt = QStringLiteral("SuonoExt");
constexpr qint32 kSecondiPredefiniti = 60;

// A data folder from the configuration: the file system root when missing, always ending in
// the separator.
QString cartellaDati(const QString& valore) {
    QString cartella = texts::trimSpaces(valore).isEmpty() ? QDir::rootPath() : valore;
    if (!cartella.endsWith(QDir::separator())) cartella += QDir::separator();
    return cartella;
}

}  // namespace

QString SuonoConfigurato::percorso() const {
    QString file = SuonoPath;
    if (!SuonoFile.isEmpty()) file += QDir::separator() + SuonoFile;
    if (!SuonoExt.isEmpty()) file += QLatin1Char('.') + SuonoExt;
    return file;
}

QString Percorsi::fileVisite() const {
    return PathFile + Operatore + QDir::separator() + db::schema::kVisiteFile;
}

QString Percorsi::fileWork() const {
    return PathWork + Operatore + QDir::separator() + db::schema::kWorkFile;
}

namespace impostazioni {

QByteArray postazione(const QString& fileIni) {
    const std::optional<Percorsi> percorsi = leggiPercorsi(IniLetto(fileIni));
    return db::identity(percorsi ? percorsi->fileWork() : fileIni);
}

std::optional<Percorsi> leggiPercorsi(const IniLetto& ini) {
    Percorsi percorsi;
    percorsi.Operatore = ini.leggi(kBase, kOperatore);
    if (texts::trimSpaces(percorsi.Operatore).isEmpty()) return std::nullopt;
    percorsi.PathFile = cartellaDati(ini.leggi(kPath, kFile));
    percorsi.PathWork = cartellaDati(ini.leggi(kPath, kWork));
    return percorsi;
}

Impostazioni leggiAgenda(const IniLetto& ini) {
    const auto leggi = [&](const QString& chiave) {
        return texts::trimSpaces(ini.leggi(kAgenda, chiave));
    };
    Impostazioni lette;
    const QString suonoSN = leggi(kSuonoSN);
    lette.suonoAttivo = (suonoSN.isEmpty() ? QStringLiteral("N") : suonoSN) == QLatin1String("S");
    lette.suono.SuonoPath = leggi(kSuonoPath);
    lette.suono.SuonoFile = leggi(kSuonoFile);
    lette.suono.SuonoExt = leggi(kSuonoExt);
    if (lette.suono.SuonoExt.isEmpty()) lette.suono.SuonoExt = QStringLiteral("wav");
    lette.testoSecondi = ini.leggi(kAgenda, kSecondi);
    lette.secondi = secondiDaTesto(lette.testoSecondi);
    return lette;
}

std::optional<QString> scriviAgenda(const QString& fileIni, const Impostazioni& agenda) {
    const QString suonoSN = agenda.suonoAttivo ? QStringLiteral("S") : QStringLiteral("N");
    return ScriviIniVerificato(fileIni, kAgenda,
                               {{kSecondi, agenda.testoSecondi},
                                {kSuonoSN, suonoSN},
                                {kSuonoPath, agenda.suono.SuonoPath},
                                {kSuonoFile, agenda.suono.SuonoFile},
                                {kSuonoExt, agenda.suono.SuonoExt}});
}

qint32 secondiDaTesto(const QString& testo) {
    double secondi = 0;
    try {
        secondi = texts::roundHalfEven(ValoreNumero(testo));
    } catch (const ConversionError&) {
        // A date typed by mistake is no interval either.
    }
    // A slip in the file (0, negative, beyond a minute) falls back to the default minute
    // instead of stopping the program.
    if (secondi < 1 || secondi > 60) return kSecondiPredefiniti;
    return static_cast<qint32>(secondi);
}

}  // namespace impostazioni
