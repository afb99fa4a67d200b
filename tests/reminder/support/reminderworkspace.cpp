// Building and inspecting the two databases of the reminder window's tests.
#include "reminderworkspace.h"

#include "reminder/preavviso.h"
#include "util/dateserial.h"

namespace {

const QString kWhereAppointment =
    QStringLiteral(" FROM Appuntamenti WHERE ApCliente = ? AND ApData = ? AND ApAzione = ?");
const QString kWhereReminder =
    QStringLiteral(" FROM Promemoria WHERE PmCliente = ? AND PmData = ? AND PmAzione = ?");

}  // namespace

ChiavePromemoria keyOf(qint32 cliente, const QDateTime& moment, const QString& azione) {
    return {cliente, dateserial::fromDateTime(moment), azione};
}

ReminderWorkspace::ReminderWorkspace(Engine engine) : EngineWorkspace(engine) {}

void ReminderWorkspace::add(const Appointment& a) {
    const ChiavePromemoria& k = a.chiave;
    addAppointment(k.cliente, k.data, k.azione, a.allarm, QStringLiteral("N"), QStringLiteral("A"),
                   a.note, a.causa, a.documento);
    if (!a.withReminder) return;
    const double allarme = Preavviso::momentoAllarme(k.data, a.allarm.toDouble());
    work().exec(QStringLiteral("INSERT INTO Promemoria VALUES (?, ?, ?, ?, 'S', ?)"),
                {k.cliente, k.data, k.azione.left(6), allarme, a.documento});
}

void ReminderWorkspace::addClient(qint32 code, const QVariant& ragsoc, const QVariant& estesa) {
    work().exec(QStringLiteral("INSERT INTO Clienti VALUES (?, ?, ?)"), {code, ragsoc, estesa});
}

void ReminderWorkspace::addAction(const QString& code, const QVariant& descrizione,
                                  const QVariant& colore) {
    work().exec(QStringLiteral("INSERT INTO TabAzioni VALUES (?, ?, ?)"),
                {code, descrizione, colore});
}

QVariant ReminderWorkspace::appointmentField(const ChiavePromemoria& k, const QString& field) {
    return visite().value(QStringLiteral("SELECT ") + field + kWhereAppointment,
                          {k.cliente, k.data, k.azione});
}

QVariant ReminderWorkspace::reminderField(const ChiavePromemoria& k, const QString& field) {
    return work().value(QStringLiteral("SELECT ") + field + kWhereReminder,
                        {k.cliente, k.data, k.azione});
}

bool ReminderWorkspace::reminderExists(const ChiavePromemoria& k) {
    return reminderField(k, QStringLiteral("count(*)")).toInt() > 0;
}
