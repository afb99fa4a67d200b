// IniLetto, LeggiIni and ScriviIni over the profile file, and the text helpers they share.
#include "app/ini.h"

#include <QLatin1StringView>
#include <cerrno>

#include "platform/profilefile.h"
#include "util/texts.h"

namespace {

// The text before `posizione`, or all of it when the position is negative (nothing found).
QString PrimaDi(const QString& testo, qsizetype posizione) {
    return posizione < 0 ? testo : testo.first(posizione);
}

// What the file system's refusal means to the operator.
QString CausaDiSistema(int errore) {
    switch (errore) {
        case ENOSPC:
        case EDQUOT:
            return QStringLiteral("disco pieno");
        case EACCES:
        case EPERM:
            return QStringLiteral("permesso negato");
        case EROFS:
            return QStringLiteral("disco di sola lettura");
        case ENOENT:
        case ENOTDIR:
            return QStringLiteral("cartella inesistente");
        case EISDIR:
            return QStringLiteral("il percorso indica una cartella");
        case EIO:
            return QStringLiteral("errore di lettura o scrittura del disco");
        default:
            return QStringLiteral("errore di sistema n. ") + QString::number(errore);
    }
}

// Why the write left the file as it was, for the operator; nothing when it did not.
std::optional<QString> CausaDi(const profile::WriteResult& esito) {
    switch (esito.error) {
        case profile::WriteError::None:
            return std::nullopt;
        case profile::WriteError::LineBreak:
            return QStringLiteral("un valore va a capo");
        case profile::WriteError::Unencodable:
            return QStringLiteral("un carattere non rappresentabile nella codifica del file");
        case profile::WriteError::System:
            break;
    }
    return CausaDiSistema(esito.systemError);
}

}  // namespace

IniLetto::IniLetto(const QString& file) : profilo_(profile::Profile::load(file)) {}

QString IniLetto::leggi(const QString& sezione, const QString& chiave) const {
    QString valore = TroncaAlNul(profilo_.value(sezione, chiave));
    // Two inline comment forms: everything from a TAB, everything from " ;" ("chiave=   ; nota"
    // is empty, "chiave=;x" is ";x").
    valore = PrimaDi(valore, valore.indexOf(QLatin1Char('\t')));
    valore = PrimaDi(valore, valore.indexOf(QLatin1StringView(" ;")));
    return texts::trimSpaces(valore);
}

QString LeggiIni(const QString& file, const QString& sezione, const QString& chiave) {
    return IniLetto(file).leggi(sezione, chiave);
}

void ScriviIni(const QString& file, const QString& sezione, const QString& chiave,
               const QString& valore) {
    // Unchecked on purpose: after a failed write the value in memory stays in force for the run.
    ScriviIniVerificato(file, sezione, chiave, valore);
}

std::optional<QString> ScriviIniVerificato(const QString& file, const QString& sezione,
                                           const QList<std::pair<QString, QString>>& chiaviValori) {
    return CausaDi(profile::writeValues(file, sezione, chiaviValori));
}

std::optional<QString> ScriviIniVerificato(const QString& file, const QString& sezione,
                                           const QString& chiave, const QString& valore) {
    return ScriviIniVerificato(file, sezione, {{chiave, valore}});
}

QString TroncaAlNul(const QString& testo) {
    return PrimaDi(testo, testo.indexOf(QChar(0)));
}
