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

}  // namespace

QString LeggiIni(const QString& file, const QString& sezione, const QString& chiave) {
    QString valore = TroncaAlNul(profile::readValue(file, sezione, chiave));
    // Two inline comment forms, cut while the blanks after "=" are still there: everything
    // from a TAB, everything from " ;" ("chiave=   ; nota" is empty, "chiave=;x" is ";x").
    valore = PrimaDi(valore, valore.indexOf(QLatin1Char('\t')));
    valore = PrimaDi(valore, valore.indexOf(QLatin1StringView(" ;")));
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
