// Conversions through which every database field and entry box passes.
#pragma once

#include <QString>
#include <QVariant>

// Any value as a non-empty text: the default for Null, blank or NUL-led text.
QString ValoreTesto(const QVariant& valore, const QString& predefinito = QStringLiteral(" "));
// Any value as a number: dates (text with two "/") as day serials, numbers as read, else 0.
double ValoreNumero(const QVariant& valore);  // throws (std::exception subclass) on a bad date text
// The value's trimmed text right-aligned in `larghezza` characters (never cut).
QString AllineaDestra(const QVariant& valore, qint16 larghezza);
// A value as a 32-bit whole number, halves to the even neighbour; Null, a text that is no
// number or a value beyond 32 bits throws ConversionError.
qint32 InteroLungo(const QVariant& valore);
