// Client and action look-ups: one read-only query each, closed before returning.
#include "reminder/ricerche.h"

#include "db/database.h"
#include "db/schema.h"
#include "reminder/coloreazione.h"
#include "util/texts.h"
#include "util/valori.h"

namespace schema = db::schema;

QString Ricerche::DescrizioneCliente(qint32 cliente) {
    if (cliente == 0) return {};
    const auto righe = work_.openQuery(schema::descrizioneCliente(cliente), true);
    QString descrizione;
    if (righe->recordCount() > 0) {
        descrizione = texts::trimSpaces(ValoreTesto(righe->field(schema::kCliRagsoc)));
        const QString estesa =
            texts::trimSpaces(ValoreTesto(righe->field(schema::kCliRagsocEstesa)));
        if (!estesa.isEmpty()) descrizione += QStringLiteral(" >") + estesa;
    }
    righe->close();
    return descrizione;
}

std::optional<DatiAzione> Ricerche::azione(const QString& codice) {
    if (codice.isEmpty()) return std::nullopt;
    const auto righe = work_.openQuery(schema::descrizioneAzione(codice), true);
    std::optional<DatiAzione> dati;
    if (righe->recordCount() > 0) {
        dati = DatiAzione{texts::trimSpaces(ValoreTesto(righe->field(schema::kTbaDescrizione))),
                          ColoreAzione(righe->field(schema::kTbaColore)).value_or(Qt::black)};
    }
    righe->close();
    return dati;
}
