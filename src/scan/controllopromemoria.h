// One poll's hand-over of every reminder falling due to the alert program.
#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <optional>

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
    static inline const QString kAvvisoNonAvviato =
        QStringLiteral("PROGRAMMA DI AVVISO SCADEX1.EXE NON AVVIATO");

    ControlloPromemoria(db::Database& work, const QString& fileIni, const Clock& clock,
                        EventYielder& yielder, ProcessLauncher& launcher);

    // Counts the reminders already waiting, marks every reminder due now (key order, from
    // client 0 on) as handed over in one transaction, then starts the alert program for each,
    // yielding to window events before every start. A failing step is skipped; the cause of
    // the first one is returned, in the operator's words.
    std::optional<QString> esegui();

private:
    // One due reminder: its key as stored and the fields of the alert's command line.
    struct Consegna {
        QVariant cliente;
        QVariant data;
        QVariant azione;
        QString argomento;  // everything after the waiting count
    };

    template <typename Passo>
    bool tenta(Passo&& passo);
    int contaInAttesa();
    QList<Consegna> leggiDovuti(double momento);
    QList<Consegna> segnaConsegnati(QList<Consegna> dovuti);
    std::optional<QList<Consegna>> segnaInsieme(const QList<Consegna>& dovuti, qsizetype& fallito);
    static bool segna(db::TableCursor& promemoria, const Consegna& consegna);
    void consegna(const Consegna& consegna, int inAttesa);

    db::Database& work_;
    QString fileIni_;
    const Clock& clock_;
    EventYielder& yielder_;
    ProcessLauncher& launcher_;
    std::optional<QString> guasto_;
};
