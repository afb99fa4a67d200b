// Looking up and writing out one reminder.
#include "alert/avvisodescritto.h"

#include <cmath>
#include <memory>
#include <optional>

#include "app/impostazioni.h"
#include "app/ini.h"
#include "db/database.h"
#include "db/dberror.h"
#include "util/texts.h"

namespace {

// Text followed by a blank and `aggiunta`, or the text alone when there is nothing to add.
QString conAggiunta(const QString& testo, const QString& aggiunta) {
    return aggiunta.isEmpty() ? testo : testo + QLatin1Char(' ') + aggiunta;
}

}  // namespace

QString AvvisoDescritto::giorno() const {
    // The general date text of a whole day leaves the time out.
    return texts::generalDateText(std::floor(avviso.data));
}

QString AvvisoDescritto::ora() const {
    return texts::hhnn(avviso.data);
}

QString AvvisoDescritto::descrizione() const {
    QString testo = QStringLiteral("%1 %2 cliente ").arg(giorno(), ora());
    testo += conAggiunta(QString::number(avviso.cliente), nomeCliente);
    if (!avviso.azione.isEmpty()) {
        testo += QStringLiteral(" - ") +
                 conAggiunta(avviso.azione, azione ? azione->descrizione : QString());
    }
    return testo;
}

QString AvvisoDescritto::riga() const {
    return QStringLiteral("AVVISO %1 (in attesa: %2)").arg(descrizione()).arg(avviso.inAttesa);
}

AvvisoDescritto DescriviAvviso(const Avviso& avviso) {
    AvvisoDescritto descritto{avviso, {}, {}};
    const std::optional<Percorsi> percorsi = impostazioni::leggiPercorsi(IniLetto(avviso.fileIni));
    if (!percorsi) return descritto;
    try {
        const std::unique_ptr<db::Database> work = db::open(percorsi->fileWork());
        Ricerche ricerche(*work);
        descritto.nomeCliente = ricerche.DescrizioneCliente(avviso.cliente);
        descritto.azione = ricerche.azione(avviso.azione);
    } catch (const DataError&) {
        // Codes only.
    }
    return descritto;
}
