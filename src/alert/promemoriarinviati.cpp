// Holding put-off reminders until their snooze ends.
#include "alert/promemoriarinviati.h"

#include <QTimer>
#include <algorithm>

// Each snooze has its own timer, stopped with this object: the snooze lives in the alert
// program alone, and ends with it.
void PromemoriaRinviati::rinvia(const QList<Avviso>& avvisi, std::chrono::milliseconds durata) {
    if (avvisi.isEmpty()) return;
    const quint64 numero = ++ultimo_;
    gruppi_.append({numero, avvisi});
    QTimer::singleShot(durata, this, [this, numero] { concludi(numero); });
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

void PromemoriaRinviati::concludi(quint64 numero) {
    const auto gruppo = std::find_if(gruppi_.begin(), gruppi_.end(),
                                     [numero](const Gruppo& g) { return g.numero == numero; });
    const QList<Avviso> avvisi = gruppo->avvisi;
    gruppi_.erase(gruppo);
    emit ritornati(avvisi);
}
