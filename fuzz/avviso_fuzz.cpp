// Fuzzes the reading of the alert program's command-line argument.
#include <cmath>

#include "fuzzinput.h"
#include "reminder/argomentoavviso.h"
#include "reminder/argomentoerrato.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A command-line argument ends at its first NUL byte.
    const QByteArray bytes = fuzzBytes(data, size);
    const qsizetype nul = bytes.indexOf('\0');
    const QString argomento = QString::fromUtf8(nul < 0 ? bytes : bytes.first(nul));
    ArgomentoAvviso letto;
    try {
        letto = ArgomentoAvviso::leggi(argomento);
    } catch (const ArgomentoErrato&) {
        return 0;
    }
    if (!std::isfinite(letto.data)) fuzzFailure("an accepted argument gave a bad moment");
    // The argument the main program would compose from these values reads back the same.
    try {
        const ArgomentoAvviso riletto = ArgomentoAvviso::leggi(letto.componi());
        if (riletto.fileIni != letto.fileIni || riletto.inAttesa != letto.inAttesa ||
            !riletto.stessoAppuntamento(letto)) {
            fuzzFailure("a recomposed argument reads back other values");
        }
    } catch (const ArgomentoErrato&) {
        fuzzFailure("a recomposed argument is refused");
    }
    return 0;
}
