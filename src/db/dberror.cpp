// The operator's words for the adapter's failures.
#include "db/dberror.h"

namespace db {

QString faultText(Fault fault) {
    switch (fault) {
        case Fault::Missing:
            return QStringLiteral("ARCHIVIO INESISTENTE");
        case Fault::NotADatabase:
            return QStringLiteral("IL FILE NON È UN ARCHIVIO");
        case Fault::ReadOnly:
            return QStringLiteral("ARCHIVIO NON SCRIVIBILE DALL'OPERATORE");
        case Fault::Locked:
            return QStringLiteral("ARCHIVIO BLOCCATO DA UN ALTRO PROGRAMMA");
        case Fault::Unreachable:
            return QStringLiteral("ARCHIVIO NON RAGGIUNGIBILE");
        case Fault::MissingTable:
            return QStringLiteral("L'ARCHIVIO NON HA LE TABELLE DI GESTAR");
        case Fault::Other:
            break;
    }
    return QStringLiteral("ERRORE DELL'ARCHIVIO");
}

QString DbError::cause() const {
    const QString what =
        faultText(fault_) + QStringLiteral(" (") + engineMessage_ + QLatin1Char(')');
    return database_.isEmpty() ? what : database_ + QStringLiteral(": ") + what;
}

}  // namespace db
