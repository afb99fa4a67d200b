// Values on their way into and out of the engine.
#include "db/storedvalue.h"

#include <QDate>
#include <QDateTime>

#include "util/dateserial.h"

namespace db {

namespace {

bool isWholeNumber(const QMetaType& type) {
    switch (type.id()) {
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::LongLong:
            return true;
        default:
            return false;
    }
}

}  // namespace

QVariant toStorable(const QVariant& value) {
    if (value.isNull()) return {};
    const QMetaType type = value.metaType();
    if (isWholeNumber(type)) return value.toLongLong();
    switch (type.id()) {
        case QMetaType::Float:
            return value.toDouble();
        case QMetaType::QDate:
            return dateserial::fromDateTime(QDateTime(value.toDate(), QTime(0, 0)));
        case QMetaType::QDateTime:
            return dateserial::fromDateTime(value.toDateTime());
        default:
            return value;
    }
}

}  // namespace db
