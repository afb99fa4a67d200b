// One walk of the reminder table that hands every reminder falling due to the alert program.
#pragma once

#include <QString>

class Clock;
class EventYielder;
class ProcessLauncher;
namespace db {
class Database;
class TableCursor;
}  // namespace db

class ControlloPromemoria {
public:
    static inline const QString kProgrammaAvviso = QStringLiteral("SCADEX1.EXE");

    ControlloPromemoria(db::Database& work, const QString& fileIni, const Clock& clock,
                        EventYielder& yielder, ProcessLauncher& launcher);

    // Counts the reminders already waiting, then walks Promemoria in key order from client 0
    // and hands over each due one. A failing step is skipped; the walk always ends.
    void esegui();

private:
    int contaInAttesa();
    void percorri(db::TableCursor& promemoria, double momento, int& inAttesa);
    void consegnaSeDovuto(db::TableCursor& promemoria, double momento, int& inAttesa);

    db::Database& work_;
    QString fileIni_;
    const Clock& clock_;
    EventYielder& yielder_;
    ProcessLauncher& launcher_;
};
