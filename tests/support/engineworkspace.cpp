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

void EngineWorkspace::addAppointment(const QVariant& client, double date, const QVariant& action,
                                     const QVariant& lead, const QVariant& deleted,
                                     const QVariant& state, const QVariant& note,
                                     const QVariant& cause, const QVariant& document) {
    visite_->exec(QStringLiteral("INSERT INTO Appuntamenti (ApCliente, ApData, ApAzione, "
                                 "ApAllarm, ApDelete, ApStato, ApNote, ApCausa, ApDocumento) "
                                 "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                  {client, date, action, lead, deleted, state, note, cause, document});
}
