// One poll's hand-over of every reminder falling due to the alert program.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class Clock;
class EventYielder;
class ProcessLauncher;
namespace db {
class Database;
class Snapshot;
}  // namespace db

class ControlloPromemoria {
public:
    static inline const QString kProgrammaAvviso = QStringLiteral("SCADEX1.EXE");
    static inline const QString kAvvisoNonAvviato =
        QStringLiteral("PROGRAMMA DI AVVISO SCADEX1.EXE NON AVVIATO");

    ControlloPromemoria(db::Database& work, const QString& fileIni, const Clock& clock,
                        EventYielder& yielder, ProcessLauncher& launcher);

    // Counts the reminders already waiting, marks every reminder due now (from client 0 on)
    // as handed over with one statement, then starts the alert program for each in key
    // order, yielding to window events before every start. A failing step is
    // skipped; the cause of the first one is returned, in the operator's words.
    std::optional<QString> esegui();

private:
    template <typename Passo>
    bool tenta(Passo&& passo);
    int contaInAttesa();
    QStringList segnaDovuti(double momento);
    // What the alert's command line carries after the waiting count.
    static QString argomento(const db::Snapshot& segnato);
    void consegna(const QString& argomento, int inAttesa);

    db::Database& work_;
    QString fileIni_;
    const Clock& clock_;
    EventYielder& yielder_;
    ProcessLauncher& launcher_;
    std::optional<QString> guasto_;
};
