// Both databases of a workspace on one engine.
#include "support/engineworkspace.h"

EngineWorkspace::EngineWorkspace(Engine engine)
    : engine(engine),
      visitePath(createTestDatabase(engine, folder, QStringLiteral("VisiteDV.mdb"),
                                    QStringLiteral("visite.sql"))),
      workPath(createTestDatabase(engine, folder, QStringLiteral("WorkDV.mdb"),
                                  QStringLiteral("work.sql"))),
      fileIni(folder.path(QStringLiteral("Gestar.ini"))),
      visiteDb(db::open(visitePath)),
      workDb(db::open(workPath)),
      visite_(directSql(engine, visitePath)),
      work_(directSql(engine, workPath)) {}

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
