// The one error type of the database adapter.
#pragma once

#include <QString>

#include "util/dataerror.h"

namespace db {

// What went wrong, as far as the operator can act on it.
enum class Fault {
    Other,
    Missing,       // the database file does not exist
    NotADatabase,  // the file is no database of either engine
    ReadOnly,      // the operator may not write it
    Locked,        // another program holds a lock past the wait
    Unreachable,   // the server does not answer or refuses the connection
    MissingTable,  // a table of the host's is not there
    Denied,        // the server refuses the user a right on a table
};

class DbError : public DataError {
public:
    // `database`: the file, or the descriptor and server, the failure concerns; empty when
    // the throwing site does not know it.
    DbError(const QString& operation, const QString& engineMessage, Fault fault = Fault::Other,
            const QString& database = QString())
        : DataError((operation + QStringLiteral(": ") + engineMessage).toStdString()),
          operation_(operation),
          engineMessage_(engineMessage),
          fault_(fault),
          database_(database) {}

    // The statement or operation that failed.
    const QString& operation() const { return operation_; }
    // The engine's own message.
    const QString& engineMessage() const { return engineMessage_; }
    Fault fault() const { return fault_; }
    const QString& database() const { return database_; }

    // A right the server refuses the user on a table: the cause names them, "<database>:
    // <table>: <right> negato".
    static DbError denied(const QString& operation, const QString& database, const QString& table,
                          const QString& right);

    // The cause in the operator's words, "<database>: <what>"; the engine's own text, in its
    // language, is engineMessage(), for the diagnostic output alone.
    QString cause() const;

private:
    QString denial_;  // "<table>: <right> negato" of a right refused
    QString operation_;
    QString engineMessage_;
    Fault fault_;
    QString database_;
};

// The operator's words for a fault, in capitals as the program's messages are:
// "ARCHIVIO NON RAGGIUNGIBILE" and the like.
QString faultText(Fault fault);

// The fault and the cause, in the operator's words, of any data step's failure; a value that
// could not be converted is Fault::Other.
Fault faultOf(const DataError& error);
QString causeOf(const DataError& error);
// What the engine or the conversion said of the failure, for the diagnostic output: the
// operator's words stay apart from it.
QString detailsOf(const DataError& error);

}  // namespace db
