// Fuzzes the splitting of the list window's key lines.
#include "fuzzinput.h"
#include "ui/list/chiaveappuntamento.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString riga = QString::fromUtf8(fuzzBytes(data, size));
    const std::optional<ChiaveAppuntamento> chiave = ChiaveAppuntamento::daRiga(riga);
    if (!chiave) return 0;
    const QChar barra = QLatin1Char('|');
    if (chiave->cliente.contains(barra) || chiave->azione.contains(barra) ||
        chiave->data.contains(barra)) {
        fuzzFailure("a key field holds the separator");
    }
    if (riga.count(barra) < 3) fuzzFailure("a line with fewer than three \"|\" gave a key");
    return 0;
}
