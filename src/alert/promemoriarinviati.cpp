// Holding put-off reminders until their snooze ends.
#include "alert/promemoriarinviati.h"

#include <algorithm>

#include "platform/clock.h"

namespace {

// A monotonic timer stands still while the machine is suspended: the wall clock is looked at
// again at least this often.
constexpr qint64 kControlloMassimoMs = 1000;

}  // namespace

PromemoriaRinviati::PromemoriaRinviati(const Clock& orologio, QObject* parent)
    : QObject(parent), orologio_(orologio) {
    controllo_.setSingleShot(true);
    connect(&controllo_, &QTimer::timeout, this, &PromemoriaRinviati::concludiScaduti);
}

// The snooze lives in the alert program alone, and ends with it.
void PromemoriaRinviati::rinvia(const QList<Avviso>& avvisi, std::chrono::milliseconds durata) {
    if (avvisi.isEmpty()) return;
    gruppi_.append({orologio_.now().addMSecs(durata.count()), avvisi});
    armaControllo();
}

bool PromemoriaRinviati::trattiene(const Avviso& avviso) {
    for (Gruppo& gruppo : gruppi_) {
        for (Avviso& rinviato : gruppo.avvisi) {
            if (rinviato.stessoAppuntamento(avviso)) {
                rinviato = avviso;
                return true;
            }
        }
    }
    return false;
}

QList<Avviso> PromemoriaRinviati::avvisi() const {
    QList<Avviso> tutti;
    for (const Gruppo& gruppo : gruppi_) tutti += gruppo.avvisi;
    return tutti;
}

void PromemoriaRinviati::trattieniSolo(const std::function<bool(const Avviso&)>& resta) {
    for (Gruppo& gruppo : gruppi_) {
        gruppo.avvisi.removeIf([&](const Avviso& avviso) { return !resta(avviso); });
    }
    gruppi_.removeIf([](const Gruppo& gruppo) { return gruppo.avvisi.isEmpty(); });
    if (gruppi_.isEmpty()) controllo_.stop();
}

void PromemoriaRinviati::annulla() {
    gruppi_.clear();
    controllo_.stop();
}

void PromemoriaRinviati::armaControllo() {
    if (gruppi_.isEmpty()) return;
    const QDateTime adesso = orologio_.now();
    qint64 prossima = kControlloMassimoMs;
    for (const Gruppo& gruppo : gruppi_) prossima = std::min(prossima, adesso.msecsTo(gruppo.fine));
    controllo_.start(static_cast<int>(std::max<qint64>(prossima, 0)));
}

// Each ended snooze brings its reminders back, in the order they were put off.
void PromemoriaRinviati::concludiScaduti() {
    const QDateTime adesso = orologio_.now();
    while (true) {
        const auto scaduto = std::find_if(gruppi_.begin(), gruppi_.end(),
                                          [&](const Gruppo& g) { return g.fine <= adesso; });
        if (scaduto == gruppi_.end()) break;
        const QList<Avviso> avvisi = scaduto->avvisi;
        gruppi_.erase(scaduto);
        emit ritornati(avvisi);
    }
    armaControllo();
}
