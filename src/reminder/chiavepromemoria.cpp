// Conversions of the reminder key's values, as the list window hands them over.
#include "reminder/chiavepromemoria.h"

#include "util/testi.h"
#include "util/valori.h"

namespace {

[[noreturn]] void nonConvertibile(const char* cosa, const QVariant& valore) {
    throw ConversionError(std::string("not ") + cosa + ": " + valore.toString().toStdString());
}

}  // namespace

QVariantList ChiavePromemoria::valori() const {
    return {cliente, data, azione};
}

qint32 ChiavePromemoria::clienteDa(const QVariant& valore) {
    return InteroLungo(valore);
}

double ChiavePromemoria::dataDa(const QVariant& valore) {
    if (valore.isNull()) nonConvertibile("a date", valore);
    if (valore.typeId() == QMetaType::QString) return testi::parseDateText(valore.toString());
    return ValoreNumero(valore);
}

QString ChiavePromemoria::azioneDa(const QVariant& valore) {
    if (valore.isNull()) nonConvertibile("an action code", valore);
    if (valore.typeId() == QMetaType::QString) return valore.toString();
    return ValoreTesto(valore);
}
