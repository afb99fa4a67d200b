// Conversion between text and the single-byte Windows-1252 code page of the profile file.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace windows1252 {

// Every byte becomes one character; the five unassigned bytes keep their own code point.
QString decode(QByteArrayView bytes);
// Every character becomes one byte; a character outside the code page becomes "?".
QByteArray encode(QStringView text);
// Whether every character of `text` has a byte of its own in the code page.
bool holds(QStringView text);

}  // namespace windows1252
