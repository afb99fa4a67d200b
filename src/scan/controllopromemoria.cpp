// The poll's hand-overs.
#include "scan/controllopromemoria.h"

#include <memory>

#include "db/database.h"
#include "db/lockwait.h"
#include "db/schema.h"
#include "db/transaction.h"
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

const QChar kBarra = QLatin1Char('|');

}  // namespace

ControlloPromemoria::ControlloPromemoria(db::Database& work, const QString& fileIni,
                                         const Clock& clock, EventYielder& yielder,
                                         ProcessLauncher& launcher)
    : work_(work), fileIni_(fileIni), clock_(clock), yielder_(yielder), launcher_(launcher) {}

void ControlloPromemoria::esegui() {
    int inAttesa = 0;
    QList<Consegna> segnati;
    {
        // The next tick tries again: a lock the host holds for long skips a step rather than
        // freezing the window. The operator's answers, given between ticks, wait longer.
        const db::LockWait attesa(work_, db::kBriefLockWait);
        inAttesa = contaInAttesa();
        const double momento = dateserial::fromDateTime(clock_.now());
        segnati = segnaConsegnati(leggiDovuti(momento));
    }
    // Everything is read and marked before the first yield: a yield may open a modal window,
    // and nothing may hold the host product off the work database meanwhile.
    for (const Consegna& dovuto : segnati) consegna(dovuto, ++inAttesa);
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

QList<ControlloPromemoria::Consegna> ControlloPromemoria::leggiDovuti(double momento) {
    QList<Consegna> dovuti;
    tenta([&] {
        const auto selezione = work_.openQuery(promemoriaDovuti(momento), true);
        for (; !selezione->eof(); selezione->moveNext()) {
            Consegna dovuto{selezione->field(kPmCliente), selezione->field(kPmData),
                            selezione->field(kPmAzione), QString()};
            // A row whose fields cannot be read is passed over.
            tenta([&] {
                dovuto.argomento = testi::numberText(ValoreNumero(dovuto.cliente)) + kBarra +
                                   testi::trimSpaces(ValoreTesto(dovuto.azione)) + kBarra +
                                   testi::generalDateText(ValoreNumero(dovuto.data));
                dovuti.append(dovuto);
            });
        }
        selezione->close();
    });
    return dovuti;
}

// Marks the reminders as handed over in one transaction; returns those that were marked.
// A reminder that cannot be marked is left for the next poll, so that the operator is not
// alerted again on every tick.
QList<ControlloPromemoria::Consegna> ControlloPromemoria::segnaConsegnati(
    const QList<Consegna>& dovuti) {
    QList<Consegna> segnati;
    if (dovuti.isEmpty()) return segnati;
    const bool salvati = tenta([&] {
        db::Transaction transazione(work_);
        const auto promemoria = work_.openTable(kPromemoria);
        promemoria->selectIndex(kPrimaria);
        for (const Consegna& dovuto : dovuti) {
            if (segna(*promemoria, dovuto)) segnati.append(dovuto);
        }
        promemoria->close();
        transazione.commit();
    });
    return salvati ? segnati : QList<Consegna>();
}

bool ControlloPromemoria::segna(db::TableCursor& promemoria, const Consegna& consegna) {
    return tenta([&] {
               promemoria.seek(db::SeekComparison::Equal,
                               {consegna.cliente, consegna.data, consegna.azione});
               if (promemoria.noMatch()) return;
               promemoria.edit();
               promemoria.setField(kPmWait, QStringLiteral("S"));
               promemoria.update();
           }) &&
           !promemoria.noMatch();
}

void ControlloPromemoria::consegna(const Consegna& consegna, int inAttesa) {
    yielder_.yieldToEvents();
    launcher_.startDetached(kProgrammaAvviso, {fileIni_ + kBarra + QString::number(inAttesa) +
                                               kBarra + consegna.argomento});
}
