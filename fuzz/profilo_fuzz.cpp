// Fuzzes LeggiIni and ScriviIni over any file, section, key and value.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/ini.h"
#include "fuzzinput.h"

namespace {

// In memory where the system offers it: every write syncs the file, which a disk makes slow.
const QString& fileIni() {
    static const QTemporaryDir cartella(QDir(QStringLiteral("/dev/shm")).exists()
                                            ? QStringLiteral("/dev/shm/scadex-fuzz-XXXXXX")
                                            : QDir::tempPath() +
                                                  QStringLiteral("/scadex-fuzz-XXXXXX"));
    static const QString percorso = cartella.filePath(QStringLiteral("Gestar.ini"));
    return percorso;
}

// Printable ASCII without the characters the format or LeggiIni give a meaning to, and
// without outer blanks: such names and values must read back exactly as written.
bool semplice(const QString& testo, qsizetype massimo) {
    if (testo.isEmpty() || testo.size() > massimo || testo.trimmed() != testo) return false;
    for (const QChar c : testo) {
        if (c < QLatin1Char(' ') || c > QLatin1Char('~')) return false;
        if (QStringLiteral("[]=;\"'").contains(c)) return false;
    }
    return true;
}

// Unless the write was refused (the file is as it was), every line ends in CR LF and no CR
// or LF stands alone: nothing written broke a line.
bool righeChiuse(const QString& percorso, const QByteArray& prima) {
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray testo = file.readAll();
    if (testo == prima) return true;
    QByteArray senzaFini = testo;
    senzaFini.replace("\r\n", "");
    return testo.endsWith("\r\n") && !senzaFini.contains('\r') && !senzaFini.contains('\n');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QList<QByteArray> fields = fuzzFields(fuzzBytes(data, size), 4);
    {
        QFile file(fileIni());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
        file.write(fields[3]);
    }
    const QString sezione = QString::fromLatin1(fields[0]);
    const QString chiave = QString::fromLatin1(fields[1]);
    const QString valore = QString::fromLatin1(fields[2]);
    LeggiIni(fileIni(), sezione, chiave);
    ScriviIni(fileIni(), sezione, chiave, valore);
    const QString letto = LeggiIni(fileIni(), sezione, chiave);
    if (semplice(sezione, 200) && semplice(chiave, 200) && semplice(valore, 99) &&
        letto != valore) {
        fuzzFailure("a written value does not read back");
    }
    if (!righeChiuse(fileIni(), fields[3])) {
        fuzzFailure("a line of the written file lacks its CR LF");
    }
    return 0;
}
