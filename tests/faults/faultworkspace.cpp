// Fault-injection workspaces.
#include "faults/faultworkspace.h"

#include <QFile>

#include <gtest/gtest.h>

#include "app/ini.h"
#include "db/database.h"
#include "db/transaction.h"
#include "support/rawdatabase.h"
#include "support/sqlfile.h"

namespace {

constexpr double kOggi = 46362;  // 6 December 2026
// Client and action tell the reminders of this workspace apart.
const QString kKeyColumns = QStringLiteral("PmCliente || '|' || PmAzione");

double alle(double giorno, double ore) {
    return giorno + ore / 24;
}

}  // namespace

FaultWorkspace::FaultWorkspace()
    : visitePath(folder.path(QStringLiteral("dati/op/VisiteDV.mdb"))),
      workPath(folder.path(QStringLiteral("lavoro/op/WorkDV.mdb"))),
      sessione(folder.path(QStringLiteral("Gestar.ini"))) {
    SqlFile::create(visitePath, QStringLiteral("visite.sql"));
    SqlFile::create(workPath, QStringLiteral("work.sql"));
    seed();
    writeIni();
}

FaultWorkspace::FaultWorkspace(const FaultWorkspace& model)
    : visitePath(folder.path(QStringLiteral("dati/op/VisiteDV.mdb"))),
      workPath(folder.path(QStringLiteral("lavoro/op/WorkDV.mdb"))),
      sessione(folder.path(QStringLiteral("Gestar.ini"))) {
    folder.write(QStringLiteral("dati/op/VisiteDV.mdb"), TestFolder::read(model.visitePath));
    folder.write(QStringLiteral("lavoro/op/WorkDV.mdb"), TestFolder::read(model.workPath));
    writeIni();
}

void FaultWorkspace::writeIni() {
    folder.write(
        QStringLiteral("Gestar.ini"),
        "[BASE]\r\nOPERATORE=op\r\n[PATH]\r\nFILE=" + folder.path(QStringLiteral("dati")).toUtf8() +
            "\r\nWORK=" + folder.path(QStringLiteral("lavoro")).toUtf8() +
            "\r\n[AGENDA]\r\nSecondi=5\r\n");
    platform.clock.moment = QDateTime(QDate(2026, 12, 6), QTime(9, 45));
}

void FaultWorkspace::seed() {
    SqlFile visite(visitePath);
    const QString nuovo =
        QStringLiteral("INSERT INTO Appuntamenti VALUES (?, ?, ?, ?, 'N', 'A', ?, 'causa', ?)");
    visite.exec(nuovo, {1001, alle(kOggi, 10), "VIS", 30, "prima visita", {}});
    visite.exec(nuovo, {1002, alle(kOggi, 10.5), "TEL", 60, "richiamare", "contratto.pdf"});
    visite.exec(nuovo, {1003, alle(kOggi, 11), "VIS", 90, {}, "referto.pdf"});
    visite.exec(nuovo, {1004, alle(kOggi + 2, 9), "RIU", 30, "riunione", {}});
    visite.exec(nuovo, {1005, alle(kOggi - 1, 9), "VIS", 30, "ieri", {}});
    visite.exec(nuovo, {1006, alle(kOggi, 12), "VIS", 0, "senza avviso", {}});

    SqlFile work(workPath);
    const QString promemoria = QStringLiteral("INSERT INTO Promemoria VALUES (?, ?, ?, ?, ?, ?)");
    work.exec(promemoria, {1001, alle(kOggi, 10), "VIS", alle(kOggi, 9.5), "S", " "});
    work.exec(promemoria, {1002, alle(kOggi, 10.5), "TEL", alle(kOggi, 10), " ", "vecchio.pdf"});
    work.exec(promemoria, {999, alle(kOggi, 8), "VIS", alle(kOggi, 7), "S", " "});
    work.exec(QStringLiteral("INSERT INTO Clienti VALUES (?, ?, ?)"),
              {1002, "ROSSI MARIO", "Rossi Mario s.r.l."});
    work.exec(QStringLiteral("INSERT INTO TabAzioni VALUES (?, ?, ?)"), {"TEL", "Telefonata", 255});
}

void FaultWorkspace::openDatabases() {
    ASSERT_TRUE(sessione.caricaPercorsi(IniLetto(sessione.fileIni())));
    sessione.apriDatabase();
}

void FaultWorkspace::closeDatabases() {
    sessione.rilasciaDatabase();
}

bool FaultWorkspace::connectionsIdle() {
    for (db::Database* connessione : {sessione.visite(), sessione.work()}) {
        if (!connessione) continue;
        try {
            // Begins and rolls back at once: it can only begin when nothing is left open.
            const db::Transaction prova(*connessione);
        } catch (const db::DbError&) {
            return false;
        }
    }
    return true;
}

QStringList FaultWorkspace::promemoria() const {
    return RawDatabase(workPath).rows(
        QStringLiteral("SELECT * FROM Promemoria ORDER BY PmCliente, PmData, PmAzione"));
}

QStringList FaultWorkspace::appuntamenti() const {
    return RawDatabase(visitePath)
        .rows(QStringLiteral("SELECT * FROM Appuntamenti ORDER BY rowid"));
}

QStringList FaultWorkspace::dueKeys() const {
    const double adesso = kOggi + platform.clock.moment.time().msecsSinceStartOfDay() / 86400000.0;
    return RawDatabase(workPath).rows(
        QStringLiteral("SELECT %1 FROM Promemoria WHERE PmAllarm <= %2 AND PmCliente >= 0 "
                       "ORDER BY 1")
            .arg(kKeyColumns)
            .arg(adesso, 0, 'g', 17));
}

QStringList FaultWorkspace::handedOverKeys() const {
    return RawDatabase(workPath).rows(
        QStringLiteral("SELECT %1 FROM Promemoria WHERE PmWait = 'S' ORDER BY 1").arg(kKeyColumns));
}

QStringList FaultWorkspace::launchedKeys() const {
    QStringList keys;
    for (const LaunchRecord& launch : platform.launcher.launches)
        keys.append(launch.clientAndAction());
    return keys;
}
