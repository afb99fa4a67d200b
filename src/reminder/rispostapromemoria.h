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
// reminder row. The appointment carries the answer: when its write fails nothing else is
// written and the answer is reported as not saved. A failing write of the reminder row is
// skipped, since the poll's rebuild may have replaced the row meanwhile and the rebuild that
// follows the answer derives it from the appointment again.
class RispostaPromemoria {
public:
    RispostaPromemoria(db::TableCursor& appuntamento, db::TableCursor& promemoria)
        : appuntamento_(appuntamento), promemoria_(promemoria) {}

    // "&IMPOSTA AVVISO": the typed amount in its unit becomes the appointment's lead and the
    // reminder row's new alarm moment. The appointment's document is cleared only when the
    // operator detached it; otherwise it stays as the appointment has it. When the new moment
    // would not fall after day 0, stops reminding instead. False when the answer could not be
    // saved.
    [[nodiscard]] bool impostaAvviso(const QString& quantita, UnitaAllarme unita,
                                     bool documentoStaccato);
    // "&NON AVVISARE PIU'": lead 0 on the appointment, reminder row deleted. False when the
    // answer could not be saved.
    [[nodiscard]] bool nonAvvisarePiu();

private:
    using Campi = std::initializer_list<std::pair<QString, QVariant>>;

    std::optional<double> dataAppuntamento() const;
    bool aggiornaAppuntamento(Campi campi);
    void aggiornaPromemoria(Campi campi);
    void eliminaPromemoria();

    db::TableCursor& appuntamento_;
    db::TableCursor& promemoria_;
};
