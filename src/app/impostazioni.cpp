// Start-up settings and database opening.
#include "app/impostazioni.h"

#include <QDir>

#include "app/ini.h"
#include "db/schema.h"
#include "util/testi.h"
#include "util/valori.h"

namespace {

const QString kBase = QStringLiteral("BASE");
const QString kPath = QStringLiteral("PATH");
const QString kAgenda = QStringLiteral("AGENDA");
constexpr qint32 kSecondiPredefiniti = 60;

// A data folder from the configuration: the file system root when missing, always ending in
// the separator.
QString cartellaDati(const QString& valore) {
    QString cartella = testi::trimSpaces(valore).isEmpty() ? QDir::rootPath() : valore;
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

std::optional<Percorsi> leggiPercorsi(const QString& fileIni) {
    Percorsi percorsi;
    percorsi.Operatore = LeggiIni(fileIni, kBase, QStringLiteral("OPERATORE"));
    if (testi::trimSpaces(percorsi.Operatore).isEmpty()) return std::nullopt;
    percorsi.PathFile = cartellaDati(LeggiIni(fileIni, kPath, QStringLiteral("FILE")));
    percorsi.PathWork = cartellaDati(LeggiIni(fileIni, kPath, QStringLiteral("WORK")));
    return percorsi;
}

Impostazioni leggiAgenda(const QString& fileIni) {
    const auto leggi = [&](const char* chiave) {
        return testi::trimSpaces(LeggiIni(fileIni, kAgenda, QString::fromLatin1(chiave)));
    };
    Impostazioni lette;
    const QString suonoSN = leggi("SuonoSN");
    lette.suonoAttivo = (suonoSN.isEmpty() ? QStringLiteral("N") : suonoSN) == QLatin1String("S");
    lette.suono.SuonoPath = leggi("SuonoPath");
    lette.suono.SuonoFile = leggi("SuonoFile");
    lette.suono.SuonoExt = leggi("SuonoExt");
    if (lette.suono.SuonoExt.isEmpty()) lette.suono.SuonoExt = QStringLiteral("wav");
    lette.testoSecondi = LeggiIni(fileIni, kAgenda, QStringLiteral("Secondi"));
    lette.secondi = secondiDaTesto(lette.testoSecondi);
    return lette;
}

qint32 secondiDaTesto(const QString& testo) {
    double secondi = 0;
    try {
        secondi = testi::roundHalfEven(ValoreNumero(testo));
    } catch (const ConversionError&) {
        // A date typed by mistake is no interval either.
    }
    // A slip in the file (0, negative, beyond a minute) falls back to the default minute
    // instead of stopping the program.
    if (secondi < 1 || secondi > 60) return kSecondiPredefiniti;
    return static_cast<qint32>(secondi);
}

}  // namespace impostazioni
