// The list window's snapshot of the due appointments: display lines and their reminders' keys.
#pragma once

#include <QList>
#include <QStringList>
#include <optional>

#include "reminder/chiavepromemoria.h"

class ElencoScadenze {
public:
    // Copies the main window's lines; key i belongs to display line i.
    ElencoScadenze(const QStringList& righe, const QList<ChiavePromemoria>& chiavi);

    const QStringList& righe() const { return righe_; }
    // The key of the line at `indice`; nothing when no line or no key is there.
    std::optional<ChiavePromemoria> chiave(qsizetype indice) const;

private:
    QStringList righe_;
    QList<ChiavePromemoria> chiavi_;
};
