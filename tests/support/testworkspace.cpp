// Test workspaces with both databases.
#include "support/testworkspace.h"

#include "db/database.h"

TestWorkspace::TestWorkspace()
    : visitePath(folder.path(QStringLiteral("VisiteDV.mdb"))),
      workPath(folder.path(QStringLiteral("WorkDV.mdb"))) {
    SqlFile::create(visitePath, QStringLiteral("visite.sql"));
    SqlFile::create(workPath, QStringLiteral("work.sql"));
    visite_ = std::make_unique<SqlFile>(visitePath);
    work_ = std::make_unique<SqlFile>(workPath);
    globali.FileIni = folder.path(QStringLiteral("Gestar.ini"));
    globali.DbVisite = db::Database::open(visitePath);
    globali.DbWork = db::Database::open(workPath);
}

void TestWorkspace::aggiungiAppuntamento(const QVariant& cliente, double data,
                                         const QVariant& azione, const QVariant& allarme,
                                         const QVariant& cancellato, const QVariant& stato,
                                         const QVariant& note, const QVariant& causa,
                                         const QVariant& documento) {
    visite_->exec(QStringLiteral("INSERT INTO Appuntamenti (ApCliente, ApData, ApAzione, "
                                 "ApAllarm, ApDelete, ApStato, ApNote, ApCausa, ApDocumento) "
                                 "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                  {cliente, data, azione, allarme, cancellato, stato, note, causa, documento});
}
