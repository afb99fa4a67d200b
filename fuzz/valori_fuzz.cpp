// Fuzzes the conversions every field and entry box passes through, and the date texts.
#include <QVariant>
#include <cmath>
#include <cstring>

#include "fuzzinput.h"
#include "util/texts.h"
#include "util/valori.h"

namespace {

// A text value: a value text and a default text, then a width from the input's first bytes.
void testo(const QByteArray& bytes) {
    const QList<QByteArray> fields = fuzzFields(bytes, 2);
    const QVariant valore(QString::fromUtf8(fields[0]));
    if (ValoreTesto(valore, QString::fromUtf8(fields[1])).isEmpty()) {
        fuzzFailure("ValoreTesto returned an empty text");
    }
    try {
        ValoreNumero(valore);
    } catch (const ConversionError&) {
        // A text with two "/" that is no date: the callers' policy.
    }
    qint16 larghezza = 0;
    std::memcpy(&larghezza, bytes.constData(), std::min<std::size_t>(bytes.size(), 2));
    const QString allineato = AllineaDestra(valore, larghezza);
    if (!allineato.endsWith(texts::trimSpaces(valore.toString()))) {
        fuzzFailure("AllineaDestra lost part of the text");
    }
}

// A number value: the input's first eight bytes as a double, as a field may hold it.
void numero(const QByteArray& bytes) {
    if (bytes.size() < static_cast<qsizetype>(sizeof(double))) return;
    double serial = 0;
    std::memcpy(&serial, bytes.constData(), sizeof serial);
    const double letto = ValoreNumero(QVariant(serial));
    if (letto != serial && !(std::isnan(letto) && std::isnan(serial))) {
        fuzzFailure("ValoreNumero changed a number");
    }
    if (ValoreTesto(QVariant(serial)).isEmpty()) fuzzFailure("ValoreTesto of a number is empty");
    try {
        const QString data = texts::generalDateText(serial);
        texts::ddmmyyhhnn(serial);
        texts::weekdayUpper(serial);
        // A date from 1900 to 9999 reads back to the same second.
        if (serial >= 1 && serial < 2958466) {
            const double riletto = texts::parseDateText(data);
            if (std::abs(riletto - serial) > 1.0 / 86400) {
                fuzzFailure("a general date text does not read back");
            }
        }
    } catch (const ConversionError&) {
        // A serial beyond the calendar.
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = fuzzBytes(data, size);
    testo(bytes);
    numero(bytes);
    return 0;
}
