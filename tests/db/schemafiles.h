// Database files built from the schema scripts, for the adapter's tests.
#pragma once

#include <QString>
#include <QVariant>

#include "db/database.h"
#include "support/tempdir.h"
#include "support/testengines.h"

namespace schemafiles {

// A new work database (Promemoria, Clienti, TabAzioni) on the engine, its file in the folder;
// returns its path.
QString createWork(Engine engine, const TestFolder& folder,
                   const QString& name = QStringLiteral("WorkDV.mdb"));
// A new main database (Appuntamenti) on the engine, its file in the folder; returns its path.
QString createVisite(Engine engine, const TestFolder& folder,
                     const QString& name = QStringLiteral("VisiteDV.mdb"));

// Opens a test database without waiting for the disk at every commit: the tests write
// thousands of single-row transactions (the test server never waits for the disk).
std::unique_ptr<db::Database> openUnsynced(Engine engine, const QString& path);

// Empties the reminder table.
inline const QString kEmptyPromemoria = QStringLiteral("DELETE FROM Promemoria");

// One Promemoria row; `tag` goes into PmDocumento so tests can tell rows apart.
struct Reminder {
    QVariant cliente;
    QVariant data;
    QVariant azione;
    QString tag;
};

// Adds the rows through a table cursor of the database.
void addReminders(db::Database& database, const QList<Reminder>& reminders);
// The PmDocumento tags of the whole Promemoria table in key order.
QStringList tagsInKeyOrder(db::Database& database);
// The number of rows of a table.
int rowCount(db::Database& database, const QString& table);

}  // namespace schemafiles
