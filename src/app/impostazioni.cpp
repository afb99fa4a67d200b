// Start-up settings and database opening.
#include "app/impostazioni.h"

#include <QDir>

#include "app/globali.h"
#include "app/ini.h"
#include "db/database.h"
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

namespace impostazioni {

bool leggiPercorsi(Globali& globali) {
    globali.Operatore = LeggiIni(globali.FileIni, kBase, QStringLiteral("OPERATORE"));
    if (testi::trimSpaces(globali.Operatore).isEmpty()) return false;
    globali.PathFile = cartellaDati(LeggiIni(globali.FileIni, kPath, QStringLiteral("FILE")));
    globali.PathWork = cartellaDati(LeggiIni(globali.FileIni, kPath, QStringLiteral("WORK")));
    return true;
}

Impostazioni leggiAgenda(Globali& globali) {
    const auto leggi = [&](const char* chiave) {
        return testi::trimSpaces(LeggiIni(globali.FileIni, kAgenda, QString::fromLatin1(chiave)));
    };
    Impostazioni lette;
    const QString suonoSN = leggi("SuonoSN");
    lette.suonoAttivo = (suonoSN.isEmpty() ? QStringLiteral("N") : suonoSN) == QLatin1String("S");
    lette.suono.SuonoPath = leggi("SuonoPath");
    lette.suono.SuonoFile = leggi("SuonoFile");
    lette.suono.SuonoExt = leggi("SuonoExt");
    if (lette.suono.SuonoExt.isEmpty()) lette.suono.SuonoExt = QStringLiteral("wav");
    lette.testoSecondi = LeggiIni(globali.FileIni, kAgenda, QStringLiteral("Secondi"));
    lette.secondi = secondiDaTesto(lette.testoSecondi);

    globali.SuonoAttivo = lette.suonoAttivo;
    globali.FileSuono = lette.suono.percorso();
    globali.SecondiAnalisi = lette.secondi;
    return lette;
}

void apriDatabase(Globali& globali) {
    const QString sep = QDir::separator();
    globali.DbVisite =
        db::open(globali.PathFile + globali.Operatore + sep + db::schema::kVisiteFile);
    globali.DbWork = db::open(globali.PathWork + globali.Operatore + sep + db::schema::kWorkFile);
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
