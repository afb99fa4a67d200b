// The client and action look-ups of the reminder window, on the work database.
#pragma once

#include <QColor>
#include <QString>
#include <optional>

namespace db {
class Database;
}

// What the action table says of one action.
struct DatiAzione {
    QString descrizione;        // trimmed
    QColor colore = Qt::black;  // black when the stored colour cannot be read
};

class Ricerche {
public:
    explicit Ricerche(db::Database& work) : work_(work) {}

    // The client's name, with " >" and the extended name when there is one; empty for
    // client 0 (not looked up) and for an unknown client.
    QString DescrizioneCliente(qint32 cliente);
    // The action's description and colour; nothing for the empty code or an unknown action.
    std::optional<DatiAzione> azione(const QString& codice);

private:
    db::Database& work_;
};
