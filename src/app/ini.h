// Reading and writing settings of the configuration file Gestar.ini.
#pragma once

#include <QString>
#include <optional>

// The cleaned value of a key: cut at a TAB, then at " ;", then trimmed; empty when missing.
QString LeggiIni(const QString& file, const QString& sezione, const QString& chiave);
// Sets a key, creating the file, the section and the key as needed; a failure goes unnoticed.
void ScriviIni(const QString& file, const QString& sezione, const QString& chiave,
               const QString& valore);
// ScriviIni for a caller that tells the operator: nothing once the value is stored, else why
// it was not (in Italian), the file then left as it was.
std::optional<QString> ScriviIniVerificato(const QString& file, const QString& sezione,
                                           const QString& chiave, const QString& valore);
// The text before its first NUL character.
QString TroncaAlNul(const QString& testo);
