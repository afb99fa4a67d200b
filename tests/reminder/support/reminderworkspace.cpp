// Building and inspecting the two database files of the reminder window's tests.
#include "reminderworkspace.h"

#include <QFile>

#include "db/schema.h"
#include "reminder/preavviso.h"
#include "util/dateserial.h"

namespace {

QString schemaScript(const QString& name) {
    QFile file(QStringLiteral(SCADEX_SCHEMA_DIR "/") + name);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

const QString kWhereAppointment =
    QStringLiteral(" FROM Appuntamenti WHERE ApCliente = ? AND ApData = ? AND ApAzione = ?");
const QString kWhereReminder =
    QStringLiteral(" FROM Promemoria WHERE PmCliente = ? AND PmData = ? AND PmAzione = ?");

}  // namespace

ChiavePromemoria keyOf(qint32 cliente, const QDateTime& moment, const QString& azione) {
    return {cliente, dateserial::fromDateTime(moment), azione};
}

ReminderWorkspace::ReminderWorkspace() {
    const QString visitePath = folder_.path(db::schema::kVisiteFile);
    const QString workPath = folder_.path(db::schema::kWorkFile);
    visite = std::make_unique<SideConnection>(visitePath);
    visite->runScript(schemaScript(QStringLiteral("visite.sql")));
    work = std::make_unique<SideConnection>(workPath);
    work->runScript(schemaScript(QStringLiteral("work.sql")));
    globali.DbVisite = db::Database::open(visitePath);
    globali.DbWork = db::Database::open(workPath);
}

void ReminderWorkspace::add(const Appointment& a) {
    const ChiavePromemoria& k = a.chiave;
    visite->run(QStringLiteral("INSERT INTO Appuntamenti VALUES (?, ?, ?, ?, 'N', 'A', ?, ?, ?)"),
                {k.cliente, k.data, k.azione, a.allarm, a.note, a.causa, a.documento});
    if (!a.withReminder) return;
    const double allarme = Preavviso::momentoAllarme(k.data, a.allarm.toDouble());
    work->run(QStringLiteral("INSERT INTO Promemoria VALUES (?, ?, ?, ?, 'S', ?)"),
              {k.cliente, k.data, k.azione.left(6), allarme, a.documento});
}

void ReminderWorkspace::addClient(qint32 code, const QVariant& ragsoc, const QVariant& estesa) {
    work->run(QStringLiteral("INSERT INTO Clienti VALUES (?, ?, ?)"), {code, ragsoc, estesa});
}

void ReminderWorkspace::addAction(const QString& code, const QVariant& descrizione,
                                  const QVariant& colore) {
    work->run(QStringLiteral("INSERT INTO TabAzioni VALUES (?, ?, ?)"),
              {code, descrizione, colore});
}

QVariant ReminderWorkspace::appointmentField(const ChiavePromemoria& k, const QString& field) {
    return visite->value(QStringLiteral("SELECT ") + field + kWhereAppointment,
                         {k.cliente, k.data, k.azione});
}

QVariant ReminderWorkspace::reminderField(const ChiavePromemoria& k, const QString& field) {
    return work->value(QStringLiteral("SELECT ") + field + kWhereReminder,
                       {k.cliente, k.data, k.azione});
}

bool ReminderWorkspace::reminderExists(const ChiavePromemoria& k) {
    return reminderField(k, QStringLiteral("count(*)")).toInt() > 0;
}
