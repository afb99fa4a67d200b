// Conversions of the reminder key's values, as the list window hands them over.
#include "ui/reminder/chiavepromemoria.h"

#include <limits>
#include <optional>

#include "util/testi.h"
#include "util/valori.h"

namespace {

bool isNumber(const QVariant& valore) {
    switch (valore.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Double:
        case QMetaType::Float:
            return true;
        default:
            return false;
    }
}

[[noreturn]] void nonConvertibile(const char* cosa, const QVariant& valore) {
    throw ConversionError(std::string("not ") + cosa + ": " + valore.toString().toStdString());
}

}  // namespace

QVariantList ChiavePromemoria::valori() const {
    return {cliente, data, azione};
}

qint32 ChiavePromemoria::clienteDa(const QVariant& valore) {
    std::optional<double> numero;
    if (valore.isNull()) {
        nonConvertibile("a client code", valore);
    } else if (isNumber(valore)) {
        numero = valore.toDouble();
    } else if (valore.typeId() == QMetaType::QString) {
        numero = testi::parseNumber(valore.toString());
    }
    if (!numero) nonConvertibile("a client code", valore);
    // A fraction rounds to the nearest whole number, halves to the even one.
    const double intero = testi::roundHalfEven(*numero);
    if (intero < std::numeric_limits<qint32>::min() ||
        intero > std::numeric_limits<qint32>::max()) {
        nonConvertibile("a 32-bit client code", valore);
    }
    return static_cast<qint32>(intero);
}

double ChiavePromemoria::dataDa(const QVariant& valore) {
    if (valore.isNull()) nonConvertibile("a date", valore);
    if (isNumber(valore)) return valore.toDouble();
    if (valore.typeId() == QMetaType::QDateTime || valore.typeId() == QMetaType::QDate) {
        return ValoreNumero(valore);
    }
    return testi::parseDateText(valore.toString());
}

QString ChiavePromemoria::azioneDa(const QVariant& valore) {
    if (valore.isNull()) nonConvertibile("an action code", valore);
    if (valore.typeId() == QMetaType::QString) return valore.toString();
    return ValoreTesto(valore);
}
