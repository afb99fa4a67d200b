// Database files built from the schema scripts, for the adapter's tests.
#include "schemafiles.h"

#include <QStringList>

#include "db/schema.h"

namespace schemafiles {

QString createWork(Engine engine, const TestFolder& folder, const QString& name) {
    return createTestDatabase(engine, folder, name, QStringLiteral("work.sql"));
}

QString createVisite(Engine engine, const TestFolder& folder, const QString& name) {
    return createTestDatabase(engine, folder, name, QStringLiteral("visite.sql"));
}

std::unique_ptr<db::Database> openUnsynced(Engine engine, const QString& path) {
    auto database = db::open(path);
    if (engine == Engine::Sqlite) database->execute(QStringLiteral("PRAGMA synchronous = OFF"));
    return database;
}

void addReminders(db::Database& database, const QList<Reminder>& reminders) {
    auto table = database.openTable(db::schema::kPromemoria);
    for (const Reminder& reminder : reminders) {
        table->addNew();
        table->setField(db::schema::kPmCliente, reminder.cliente);
        table->setField(db::schema::kPmData, reminder.data);
        table->setField(db::schema::kPmAzione, reminder.azione);
        table->setField(db::schema::kPmWait, QStringLiteral(" "));
        table->setField(db::schema::kPmDocumento, reminder.tag);
        table->update();
    }
    table->close();
}

QStringList tagsInKeyOrder(db::Database& database) {
    auto table = database.openTable(db::schema::kPromemoria);
    table->selectIndex(db::schema::kPrimaria);
    QStringList tags;
    for (; !table->eof(); table->moveNext())
        tags.append(table->field(db::schema::kPmDocumento).toString());
    return tags;
}

int rowCount(db::Database& database, const QString& table) {
    auto count = database.openQuery(QStringLiteral("SELECT count(*) AS n FROM ") + table);
    return count->field(QStringLiteral("n")).toInt();
}

}  // namespace schemafiles
