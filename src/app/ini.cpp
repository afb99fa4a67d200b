// LeggiIni and ScriviIni over the profile file, and the text helpers they share.
#include "app/ini.h"

#include <QLatin1StringView>

#include "platform/profilefile.h"
#include "util/testi.h"

namespace {

// The text before `posizione`, or all of it when the position is negative (nothing found).
QString PrimaDi(const QString& testo, qsizetype posizione) {
    return posizione < 0 ? testo : testo.first(posizione);
}

// Where an inline comment " ;" begins, or -1. The profile reader has already dropped the blanks
// after "=", so a comment written as "chiave=   ; nota" reaches us as "; nota".
qsizetype InizioCommento(const QString& valore) {
    if (valore.startsWith(QLatin1Char(';'))) return 0;
    return valore.indexOf(QLatin1StringView(" ;"));
}

}  // namespace

QString LeggiIni(const QString& file, const QString& sezione, const QString& chiave) {
    QString valore = TroncaAlNul(profile::readValue(file, sezione, chiave));
    // Two inline comment forms: everything from a TAB, everything from " ;".
    valore = PrimaDi(valore, valore.indexOf(QLatin1Char('\t')));
    valore = PrimaDi(valore, InizioCommento(valore));
    return testi::trimSpaces(valore);
}

void ScriviIni(const QString& file, const QString& sezione, const QString& chiave,
               const QString& valore) {
    // Unchecked on purpose: after a failed write the value in memory stays in force for the run.
    profile::writeValue(file, sezione, chiave, valore);
}

QString TroncaAlNul(const QString& testo) {
    return PrimaDi(testo, testo.indexOf(QChar(0)));
}
