// A Gestar workspace in a temporary folder.
#include "support/gestarfolder.h"

#include "support/sqlfile.h"

GestarFolder::GestarFolder(const QByteArray& agenda) {
    SqlFile::create(folder.path("dati/op/VisiteDV.mdb"), "visite.sql");
    SqlFile::create(folder.path("lavoro/op/WorkDV.mdb"), "work.sql");
    fileIni = folder.write(
        "Gestar.ini", "[BASE]\r\nOPERATORE=op\r\n[PATH]\r\nFILE=" + folder.path("dati").toUtf8() +
                          "\r\nWORK=" + folder.path("lavoro").toUtf8() + "\r\n[AGENDA]\r\n" +
                          agenda);
}

void GestarFolder::addAppointment(int client, double date, int lead) const {
    SqlFile(folder.path("dati/op/VisiteDV.mdb"))
        .exec("INSERT INTO Appuntamenti VALUES (?, ?, 'VIS', ?, 'N', 'A', 'nota', 'causa', NULL)",
              {client, date, lead});
}
