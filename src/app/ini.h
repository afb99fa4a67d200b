// Reading and writing settings of the configuration file Gestar.ini.
#pragma once

#include <QList>
#include <QString>
#include <optional>
#include <utility>

#include "platform/profilefile.h"

// Gestar.ini read once, for a caller that wants several of its keys.
class IniLetto {
public:
    // Reads the file now; a missing file has no keys.
    explicit IniLetto(const QString& file);

    // The cleaned value of a key: cut at a TAB, then at " ;", then trimmed; empty when missing.
    QString leggi(const QString& sezione, const QString& chiave) const;

private:
    profile::Profile profilo_;
};

// IniLetto(file).leggi(sezione, chiave): one key of the file as it is now.
QString LeggiIni(const QString& file, const QString& sezione, const QString& chiave);
// Sets a key, creating the file, the section and the key as needed; a failure goes unnoticed.
void ScriviIni(const QString& file, const QString& sezione, const QString& chiave,
               const QString& valore);
// Sets several keys of one section in their order, with a single replacement of the file, for
// a caller that tells the operator: nothing once every value is stored, else why none was (in
// Italian), the file then left as it was.
std::optional<QString> ScriviIniVerificato(const QString& file, const QString& sezione,
                                           const QList<std::pair<QString, QString>>& chiaviValori);
// ScriviIniVerificato of one key.
std::optional<QString> ScriviIniVerificato(const QString& file, const QString& sezione,
                                           const QString& chiave, const QString& valore);
// The text before its first NUL character.
QString TroncaAlNul(const QString& testo);
