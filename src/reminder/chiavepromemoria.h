// The key of one reminder (client, appointment moment, action) and its conversions from any value.
#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>

struct ChiavePromemoria {
    qint32 cliente = 0;
    double data = 0;  // day serial
    QString azione;

    // The key values in the order of the index "primaria".
    QVariantList valori() const;

    bool operator==(const ChiavePromemoria&) const = default;

    // Each throws ConversionError when the value cannot be converted.
    static qint32 clienteDa(const QVariant& valore);
    static double dataDa(const QVariant& valore);
    static QString azioneDa(const QVariant& valore);
};
