// The three fields of a key line that identify the appointment behind a list line.
#pragma once

#include <QString>
#include <optional>

struct ChiaveAppuntamento {
    QString cliente;
    QString azione;
    QString data;

    // Splits a key line "cliente|azione|data|"; nothing when the trimmed line is empty or
    // has fewer than three "|", so that such a line opens no reminder window.
    static std::optional<ChiaveAppuntamento> daRiga(const QString& riga);
};
