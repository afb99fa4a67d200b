// ValoreTesto, ValoreNumero and AllineaDestra.
#include "util/valori.h"

#include <QDateTime>
#include <limits>

#include "util/dateserial.h"
#include "util/texts.h"

namespace {

bool isNumeric(const QVariant& valore) {
    switch (valore.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::Double:
        case QMetaType::Float:
            return true;
        default:
            return false;
    }
}

bool isDateTime(const QVariant& valore) {
    return valore.typeId() == QMetaType::QDateTime || valore.typeId() == QMetaType::QDate;
}

double serialOf(const QVariant& valore) {
    if (valore.typeId() == QMetaType::QDate) return dateserial::dayNumber(valore.toDate());
    return dateserial::fromDateTime(valore.toDateTime());
}

// The value's text in the regional formats (a non-null value).
QString textForm(const QVariant& valore) {
    if (isDateTime(valore)) return texts::generalDateText(serialOf(valore));
    if (valore.typeId() == QMetaType::Double || valore.typeId() == QMetaType::Float) {
        return texts::numberText(valore.toDouble());
    }
    if (valore.typeId() == QMetaType::Bool) {
        return valore.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    }
    return valore.toString();
}

}  // namespace

QString ValoreTesto(const QVariant& valore, const QString& predefinito) {
    const QString fallback =
        texts::trimSpaces(predefinito).isEmpty() ? QStringLiteral(" ") : predefinito;
    if (valore.isNull()) return fallback;
    const QString text = textForm(valore);
    if (texts::trimSpaces(text).isEmpty()) return fallback;
    if (text.at(0) == QChar(0)) return fallback;
    return text;
}

double ValoreNumero(const QVariant& valore) {
    if (valore.isNull()) return 0;
    if (isNumeric(valore)) return valore.toDouble();
    if (isDateTime(valore)) return serialOf(valore);
    if (valore.typeId() == QMetaType::Bool) return valore.toBool() ? -1 : 0;
    const QString text = texts::trimSpaces(textForm(valore));
    if (text.isEmpty()) return 0;
    if (text.count(QLatin1Char('/')) >= 2) return texts::parseDateText(text);
    return texts::parseNumber(text).value_or(0);
}

QString AllineaDestra(const QVariant& valore, qint16 larghezza) {
    if (valore.isNull()) throw ConversionError("AllineaDestra: Null value");
    const QString text = texts::trimSpaces(textForm(valore));
    if (text.isEmpty() || text.size() >= larghezza) return text;
    return QString(larghezza - text.size(), QLatin1Char(' ')) + text;
}

qint32 InteroLungo(const QVariant& valore) {
    std::optional<double> numero;
    if (isNumeric(valore)) {
        numero = valore.toDouble();
    } else if (valore.typeId() == QMetaType::QString) {
        numero = texts::parseNumber(valore.toString());
    }
    const double intero = texts::roundHalfEven(numero.value_or(NAN));
    if (!(intero >= std::numeric_limits<qint32>::min() &&
          intero <= std::numeric_limits<qint32>::max())) {
        throw ConversionError("not a 32-bit whole number: " + valore.toString().toStdString());
    }
    return static_cast<qint32>(intero);
}
