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
        case Fault::Denied:
            return QStringLiteral("PERMESSO NEGATO DAL SERVER");
        case Fault::Other:
            break;
    }
    return QStringLiteral("ERRORE DELL'ARCHIVIO");
}

DbError DbError::denied(const QString& operation, const QString& database, const QString& table,
                        const QString& right) {
    DbError error(operation, QStringLiteral("permission denied: %1 on table %2").arg(right, table),
                  Fault::Denied, database);
    error.denial_ = QStringLiteral("%1: %2 negato").arg(table, right);
    return error;
}

QString DbError::cause() const {
    const QString what = denial_.isEmpty() ? faultText(fault_) : denial_;
    return database_.isEmpty() ? what : database_ + QStringLiteral(": ") + what;
}

Fault faultOf(const DataError& error) {
    const auto* dbError = dynamic_cast<const DbError*>(&error);
    return dbError ? dbError->fault() : Fault::Other;
}

QString causeOf(const DataError& error) {
    if (const auto* dbError = dynamic_cast<const DbError*>(&error)) return dbError->cause();
    return faultText(Fault::Other);
}

QString detailsOf(const DataError& error) {
    if (const auto* dbError = dynamic_cast<const DbError*>(&error)) return dbError->engineMessage();
    return QString::fromStdString(error.what());
}

}  // namespace db
