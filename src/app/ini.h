// Reading and writing settings of the configuration file Gestar.ini.
#pragma once

#include <QString>

// The cleaned value of a key: cut at a TAB, then at " ;", then trimmed; empty when missing.
QString LeggiIni(const QString& file, const QString& sezione, const QString& chiave);
// Sets a key, creating the file, the section and the key as needed; a failure goes unnoticed.
void ScriviIni(const QString& file, const QString& sezione, const QString& chiave,
               const QString& valore);
// The text before its first NUL character.
QString TroncaAlNul(const QString& testo);
