// The list window's snapshot of the due appointments: display lines and their key lines.
#pragma once

#include <QStringList>
#include <optional>

#include "ui/list/chiaveappuntamento.h"

class ElencoScadenze {
public:
    // Copies the main window's lines; key line i stays paired with display line i, and a
    // display line without a key line gets an empty one.
    ElencoScadenze(const QStringList& righe, const QStringList& chiavi);

    const QStringList& righe() const { return righe_; }
    const QStringList& chiavi() const { return chiavi_; }
    // The key of the line at `indice`; nothing when no line is there or its key is unusable.
    std::optional<ChiaveAppuntamento> chiave(qsizetype indice) const;

private:
    QStringList righe_;
    QStringList chiavi_;
};
