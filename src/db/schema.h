// Names of the host product's tables, fields and index, and the statements the program sends.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <span>

#include "db/database.h"

namespace db::schema {

inline const QString kVisiteFile = QStringLiteral("VisiteDV.mdb");
inline const QString kWorkFile = QStringLiteral("WorkDV.mdb");

inline const QString kPrimaria = QStringLiteral("primaria");

inline const QString kAppuntamenti = QStringLiteral("Appuntamenti");
inline const QString kApCliente = QStringLiteral("ApCliente");
inline const QString kApData = QStringLiteral("ApData");
inline const QString kApAzione = QStringLiteral("ApAzione");
inline const QString kApAllarm = QStringLiteral("ApAllarm");
inline const QString kApDelete = QStringLiteral("ApDelete");
inline const QString kApStato = QStringLiteral("ApStato");
inline const QString kApNote = QStringLiteral("ApNote");
inline const QString kApCausa = QStringLiteral("ApCausa");
inline const QString kApDocumento = QStringLiteral("ApDocumento");

inline const QString kPromemoria = QStringLiteral("Promemoria");
inline const QString kPmCliente = QStringLiteral("PmCliente");
inline const QString kPmData = QStringLiteral("PmData");
inline const QString kPmAzione = QStringLiteral("PmAzione");
inline const QString kPmAllarm = QStringLiteral("PmAllarm");
inline const QString kPmWait = QStringLiteral("PmWait");
inline const QString kPmDocumento = QStringLiteral("PmDocumento");

inline const QString kClienti = QStringLiteral("Clienti");
inline const QString kCliCodice = QStringLiteral("CliCodice");
inline const QString kCliRagsoc = QStringLiteral("CliRagsoc");
inline const QString kCliRagsocEstesa = QStringLiteral("CliRagsocEstesa");

inline const QString kTabAzioni = QStringLiteral("TabAzioni");
inline const QString kTbaCodice = QStringLiteral("TbaCodice");
inline const QString kTbaDescrizione = QStringLiteral("TbaDescrizione");
inline const QString kTbaColore = QStringLiteral("TbaColore");

inline const QString kNumWait = QStringLiteral("NumWait");

// The rights the program's statements need on each database.
inline const QList<Database::TableRight> kDirittiVisite{{kAppuntamenti, QStringLiteral("SELECT")},
                                                        {kAppuntamenti, QStringLiteral("UPDATE")}};
inline const QList<Database::TableRight> kDirittiWork{
    {kPromemoria, QStringLiteral("SELECT")}, {kPromemoria, QStringLiteral("INSERT")},
    {kPromemoria, QStringLiteral("UPDATE")}, {kPromemoria, QStringLiteral("DELETE")},
    {kClienti, QStringLiteral("SELECT")},    {kTabAzioni, QStringLiteral("SELECT")}};

// The reminder rows with their rowids first, by client and moment, those `condizione` selects:
// a rebuild compares them with the rows it writes. Nulls first, as index primaria keeps them.
inline QString promemoriaDove(const QString& condizione) {
    return QStringLiteral(
               "SELECT rowid, PmCliente, PmData, PmAzione, PmAllarm, PmWait, PmDocumento FROM "
               "Promemoria WHERE ") +
           condizione + QStringLiteral(" ORDER BY PmCliente NULLS FIRST, PmData NULLS FIRST");
}
// All of them.
inline const QString kPromemoriaPerChiave = promemoriaDove(QStringLiteral("1 = 1"));

// The row identity of a selected appointment, to name a row that cannot be read.
inline const QString kApRiga = QStringLiteral("ApRiga");

// The due appointments from the given day number (whole days since 30/12/1899) on, in rowid
// order: the fields the rebuild reads, and each row's identity, to name a row that cannot be
// read and to hold the row by. With `righe`, only the rows of those rowids.
inline QString selezionaAppuntamenti(qint64 giorno, std::span<const qint64> righe = {}) {
    QString sql = QStringLiteral(
                      "SELECT rowid AS ApRiga, ApCliente, ApData, ApAzione, ApAllarm, ApNote, "
                      "ApCausa, ApDocumento FROM Appuntamenti") +
                  QStringLiteral(" WHERE ((ApData >= ") + QString::number(giorno) +
                  QStringLiteral(")") +
                  QStringLiteral(" AND (ApAllarm > 0) AND (ApDelete < 'S') AND (ApStato = 'A'))");
    if (!righe.empty()) {
        QStringList rowid;
        for (const qint64 riga : righe) rowid.append(QString::number(riga));
        sql += QStringLiteral(" AND rowid IN (") + rowid.join(QLatin1Char(',')) + QLatin1Char(')');
    }
    return sql + QStringLiteral(" ORDER BY rowid");
}

// How many reminders have been handed over and wait for the operator.
inline const QString kContaInAttesa =
    QStringLiteral("SELECT Count(Promemoria.PmWait) AS NumWait FROM Promemoria") +
    QStringLiteral(" WHERE PmWait = 'S'");

// The earliest alarm moment of the reminders not handed over yet, those the next hand-over
// would take when their moment comes.
inline const QString kProssimo = QStringLiteral("Prossimo");
inline const QString kProssimoAllarme = QStringLiteral(
    "SELECT Min(PmAllarm) AS Prossimo FROM Promemoria WHERE PmCliente >= 0 AND "
    "PmWait <> 'S' COLLATE BINARY");

// Marks the reminders due at the moment bound (a day serial) and not handed over yet as
// handed over, from client 0 on, and returns their keys. Only "S" counts as handed over,
// whatever its case elsewhere.
inline const QString kSegnaDovuti = QStringLiteral(
    "UPDATE Promemoria SET PmWait = 'S' WHERE PmCliente >= 0 AND PmAllarm <= ? AND "
    "PmWait <> 'S' COLLATE BINARY RETURNING PmCliente, PmData, PmAzione");

// The columns the poll's statements look rows up by: on a server each leads an index, or
// every poll reads the whole reminder table. The host's files keep the host's indexes.
inline const QList<Database::IndexedColumn> kIndiciControllo{{kPromemoria, kPmAllarm},
                                                             {kPromemoria, kPmWait}};
// What creates those missing, as schema/postgresql/work.sql does.
inline const QStringList kCreaIndiciControllo{
    QStringLiteral("CREATE INDEX IF NOT EXISTS promemoria_allarme ON Promemoria (PmAllarm)"),
    QStringLiteral("CREATE INDEX IF NOT EXISTS promemoria_attesa ON Promemoria (PmWait)")};

// The column the rebuild's selection reads the appointments from today on by, and what creates
// its index, as schema/postgresql/visite.sql does.
inline const QList<Database::IndexedColumn> kIndiciSelezione{{kAppuntamenti, kApData}};
inline const QStringList kCreaIndiciSelezione{
    QStringLiteral("CREATE INDEX IF NOT EXISTS appuntamenti_data ON Appuntamenti (ApData)")};

// Hands every reminder over again when due: what a rebuild that resets the marks leaves of a
// table that a rebuild left and only the polls have marked since.
inline const QString kAzzeraSegni =
    QStringLiteral("UPDATE Promemoria SET PmWait = ' ' WHERE PmWait = 'S'");

// Client name look-up; the code is a number and goes in unquoted.
inline QString descrizioneCliente(qint32 cliente) {
    return QStringLiteral("SELECT CliRagsoc, CliRagsocEstesa FROM Clienti WHERE CliCodice = ") +
           QString::number(cliente);
}

// Action look-up; quotes in the code are doubled so the code can never change the statement.
inline QString descrizioneAzione(const QString& azione) {
    QString quoted = azione;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QStringLiteral("SELECT TbaDescrizione, TbaColore FROM TabAzioni WHERE TbaCodice = '") +
           quoted + QStringLiteral("'");
}

}  // namespace db::schema
