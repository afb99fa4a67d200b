// Fuzzes the alert program's reading of its command-line argument.
#include <cmath>

#include "alert/argomentoerrato.h"
#include "alert/avviso.h"
#include "fuzzinput.h"
#include "util/testi.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A command-line argument ends at its first NUL byte.
    const QByteArray bytes = fuzzBytes(data, size);
    const qsizetype nul = bytes.indexOf('\0');
    const QString argomento = QString::fromUtf8(nul < 0 ? bytes : bytes.first(nul));
    Avviso avviso;
    try {
        avviso = LeggiAvviso(argomento);
    } catch (const ArgomentoErrato&) {
        return 0;
    }
    if (avviso.azione.contains(QLatin1Char('|')) || !std::isfinite(avviso.data)) {
        fuzzFailure("an accepted argument gave a bad field");
    }
    // The argument the main program would build from these fields reads back the same.
    const QChar barra = QLatin1Char('|');
    const QString ricostruito = avviso.fileIni + barra + QString::number(avviso.inAttesa) + barra +
                                QString::number(avviso.cliente) + barra + avviso.azione + barra +
                                testi::generalDateText(avviso.data);
    try {
        if (!LeggiAvviso(ricostruito).stessoAppuntamento(avviso)) {
            fuzzFailure("a rebuilt argument names another appointment");
        }
    } catch (const ArgomentoErrato&) {
        fuzzFailure("a rebuilt argument is refused");
    }
    return 0;
}
