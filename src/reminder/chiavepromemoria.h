// The key of one reminder: client, appointment moment and action.
#pragma once

#include <QString>
#include <QVariantList>

struct ChiavePromemoria {
    qint32 cliente = 0;
    double data = 0;  // day serial
    QString azione;

    // The key values in the order of the index "primaria".
    QVariantList valori() const;

    bool operator==(const ChiavePromemoria&) const = default;
};
