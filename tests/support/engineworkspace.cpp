// Both databases of a workspace on one engine.
#include "support/engineworkspace.h"

#include "db/database.h"

EngineWorkspace::EngineWorkspace(Engine engine)
    : engine(engine),
      visitePath(createTestDatabase(engine, folder, QStringLiteral("VisiteDV.mdb"),
                                    QStringLiteral("visite.sql"))),
      workPath(createTestDatabase(engine, folder, QStringLiteral("WorkDV.mdb"),
                                  QStringLiteral("work.sql"))),
      visite_(directSql(engine, visitePath)),
      work_(directSql(engine, workPath)) {
    sessione.FileIni = folder.path(QStringLiteral("Gestar.ini"));
    sessione.DbVisite = db::open(visitePath);
    sessione.DbWork = db::open(workPath);
}

void EngineWorkspace::aggiungiAppuntamento(const QVariant& cliente, double data,
                                           const QVariant& azione, const QVariant& allarme,
                                           const QVariant& cancellato, const QVariant& stato,
                                           const QVariant& note, const QVariant& causa,
                                           const QVariant& documento) {
    visite_->exec(QStringLiteral("INSERT INTO Appuntamenti (ApCliente, ApData, ApAzione, "
                                 "ApAllarm, ApDelete, ApStato, ApNote, ApCausa, ApDocumento) "
                                 "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                  {cliente, data, azione, allarme, cancellato, stato, note, causa, documento});
}
