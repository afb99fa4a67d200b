// The operator's answers to a reminder that change data: a new alarm lead, or no more alarms.
#pragma once

#include <QString>
#include <QVariant>
#include <initializer_list>
#include <optional>
#include <utility>

#include "reminder/preavviso.h"

namespace db {
class TableCursor;
}

// Works on the two cursors the reminder window's load left on the appointment and on its
// reminder row. Each write is tried on its own: a failing one is skipped and the next still
// runs, since the poll's rebuild may have replaced the reminder row meanwhile.
class RispostaPromemoria {
public:
    RispostaPromemoria(db::TableCursor& appuntamento, db::TableCursor& promemoria)
        : appuntamento_(appuntamento), promemoria_(promemoria) {}

    // "&IMPOSTA AVVISO": the typed amount in its unit becomes the appointment's lead (and the
    // document its trimmed name) and the reminder row's new alarm moment. When that moment
    // would not fall after day 0, stops reminding instead.
    void impostaAvviso(const QString& quantita, UnitaAllarme unita, const QString& documento);
    // "&NON AVVISARE PIU'": lead 0 on the appointment, reminder row deleted.
    void nonAvvisarePiu();

private:
    using Campi = std::initializer_list<std::pair<QString, QVariant>>;

    std::optional<double> dataAppuntamento() const;
    void aggiornaAppuntamento(Campi campi);
    void aggiornaPromemoria(Campi campi);
    void eliminaPromemoria();

    db::TableCursor& appuntamento_;
    db::TableCursor& promemoria_;
};
