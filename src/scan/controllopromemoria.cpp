// The poll's walk over the reminder table.
#include "scan/controllopromemoria.h"

#include <memory>

#include "db/database.h"
#include "db/schema.h"
#include "platform/clock.h"
#include "platform/eventyielder.h"
#include "platform/processlauncher.h"
#include "util/dateserial.h"
#include "util/testi.h"
#include "util/valori.h"

using namespace db::schema;

namespace {

// Runs one step of the poll; a database or conversion failure skips it (returns false).
template <typename Passo>
bool tenta(Passo&& passo) {
    try {
        passo();
        return true;
    } catch (const db::DbError&) {
        return false;
    } catch (const ConversionError&) {
        return false;
    }
}

bool dovuto(const QVariant& allarme, const QVariant& attesa, double momento) {
    if (allarme.isNull() || attesa.isNull()) return false;
    return momento >= ValoreNumero(allarme) && attesa.toString() != QLatin1String("S");
}

}  // namespace

ControlloPromemoria::ControlloPromemoria(db::Database& work, const QString& fileIni,
                                         const Clock& clock, EventYielder& yielder,
                                         ProcessLauncher& launcher)
    : work_(work), fileIni_(fileIni), clock_(clock), yielder_(yielder), launcher_(launcher) {}

void ControlloPromemoria::esegui() {
    int inAttesa = contaInAttesa();
    std::unique_ptr<db::TableCursor> promemoria;
    double momento = 0;
    const bool posizionato = tenta([&] {
        promemoria = work_.openTable(kPromemoria);
        promemoria->selectIndex(kPrimaria);
        momento = dateserial::fromDateTime(clock_.now());
        promemoria->seek(db::SeekComparison::GreaterOrEqual, {qint16(0)});
    });
    if (posizionato && !promemoria->noMatch()) percorri(*promemoria, momento, inAttesa);
    if (promemoria) tenta([&] { promemoria->close(); });
}

int ControlloPromemoria::contaInAttesa() {
    int conteggio = 0;
    tenta([&] {
        const auto attesa = work_.openQuery(kContaInAttesa);
        conteggio = static_cast<int>(ValoreNumero(attesa->field(kNumWait)));
        attesa->close();
    });
    return conteggio;
}

void ControlloPromemoria::percorri(db::TableCursor& promemoria, double momento, int& inAttesa) {
    bool fine = false;
    while (tenta([&] { fine = promemoria.eof(); }) && !fine) {
        consegnaSeDovuto(promemoria, momento, inAttesa);
        if (!tenta([&] { promemoria.moveNext(); })) return;
    }
}

void ControlloPromemoria::consegnaSeDovuto(db::TableCursor& promemoria, double momento,
                                           int& inAttesa) {
    bool daConsegnare = false;
    QString cliente, azione, data;
    // Everything the hand-over needs is read before the yield, which may change the table.
    const bool letto = tenta([&] {
        daConsegnare = dovuto(promemoria.field(kPmAllarm), promemoria.field(kPmWait), momento);
        if (!daConsegnare) return;
        cliente = testi::numberText(ValoreNumero(promemoria.field(kPmCliente)));
        azione = testi::trimSpaces(ValoreTesto(promemoria.field(kPmAzione)));
        data = testi::generalDateText(ValoreNumero(promemoria.field(kPmData)));
    });
    if (!letto || !daConsegnare) return;
    // A reminder that cannot be marked as handed over is left for the next poll, so that
    // the operator is not alerted again on every tick.
    const bool segnato = tenta([&] {
        promemoria.edit();
        promemoria.setField(kPmWait, QStringLiteral("S"));
        promemoria.update();
    });
    if (!segnato) return;
    ++inAttesa;
    yielder_.yieldToEvents();
    const QChar bar = QLatin1Char('|');
    const QString argomento =
        fileIni_ + bar + QString::number(inAttesa) + bar + cliente + bar + azione + bar + data;
    launcher_.startDetached(kProgrammaAvviso, {argomento});
}
