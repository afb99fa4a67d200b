// Splitting a key line into client, action and moment.
#include "ui/list/chiaveappuntamento.h"
#include "util/testi.h"

#include <QStringList>

std::optional<ChiaveAppuntamento> ChiaveAppuntamento::daRiga(const QString& riga) {
    const QString chiave = testi::trimSpaces(riga);
    if (chiave.isEmpty()) return std::nullopt;
    const QStringList parti = chiave.split(QLatin1Char('|'));
    // A well-formed line ends with "|", so it splits into at least four parts.
    if (parti.size() < 4) return std::nullopt;
    return ChiaveAppuntamento{parti.at(0), parti.at(1), parti.at(2)};
}
