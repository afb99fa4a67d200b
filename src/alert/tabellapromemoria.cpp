// Seeks on the reminder table by key.
#include "alert/tabellapromemoria.h"

#include "app/impostazioni.h"
#include "app/ini.h"
#include "db/database.h"
#include "db/schema.h"
#include "util/dataerror.h"
#include "util/valori.h"

namespace schema = db::schema;

namespace {

QString fileWork(const QString& fileIni) {
    const std::optional<Percorsi> percorsi = impostazioni::leggiPercorsi(IniLetto(fileIni));
    if (!percorsi) throw DataError("nessun operatore in " + fileIni.toStdString());
    return percorsi->fileWork();
}

}  // namespace

TabellaPromemoria::TabellaPromemoria(const QString& fileIni)
    : work_(db::open(fileWork(fileIni))), promemoria_(work_->openTable(schema::kPromemoria)) {
    promemoria_->selectIndex(schema::kPrimaria);
}

// Closing only releases the cursor: a failure then changes nothing for anyone.
TabellaPromemoria::~TabellaPromemoria() {
    try {
        promemoria_->close();
    } catch (const DataError&) {
    }
}

std::optional<double> TabellaPromemoria::allarme(const ChiavePromemoria& chiave) {
    promemoria_->seek(db::SeekComparison::Equal, chiave.valori());
    if (promemoria_->noMatch()) return std::nullopt;
    return ValoreNumero(promemoria_->field(schema::kPmAllarm));
}
