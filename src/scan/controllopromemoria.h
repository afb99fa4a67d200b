// One poll's hand-over of every reminder falling due to the alert program.
#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "reminder/argomentoavviso.h"

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

    // Every reminder handed over waits to be handed over again: what esegui(Segni::Azzera) of
    // a rebuild leaves of a table that it wrote itself from a book unchanged since. One
    // statement, the book unread. False when it failed; the cause is kept as esegui()'s.
    bool azzeraSegni();

    // The earliest alarm moment of a reminder not handed over yet, as the hand-over reads
    // them; nothing when there is none. Throws DataError.
    static std::optional<double> prossimoAllarme(db::Database& work);

private:
    template <typename Passo>
    bool tenta(Passo&& passo);
    int contaInAttesa();
    QList<ArgomentoAvviso> segnaDovuti(double momento);
    // The alert's argument for a marked reminder, all but the waiting count.
    static ArgomentoAvviso avvisoDi(const db::Snapshot& segnato, const QString& fileIni);
    void consegna(const QString& argomento);

    db::Database& work_;
    QString fileIni_;
    const Clock& clock_;
    EventYielder& yielder_;
    ProcessLauncher& launcher_;
    std::optional<QString> guasto_;
};
