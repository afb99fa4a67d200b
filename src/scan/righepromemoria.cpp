// Display and key lines of the due appointments.
#include "scan/righepromemoria.h"

#include "util/testi.h"
#include "util/valori.h"

namespace {
constexpr qint32 kClienteVisibile = 9999999;
constexpr int kLarghezzaCliente = 7;
}  // namespace

QString TestoFisso(const QString& testo, int larghezza) {
    return testo.left(larghezza).leftJustified(larghezza, QLatin1Char(' '));
}

QString RigaVisualizzata(const AppuntamentoDovuto& appuntamento) {
    const QString cliente = appuntamento.cliente < kClienteVisibile
                                ? AllineaDestra(appuntamento.cliente, kLarghezzaCliente)
                                : QString(kLarghezzaCliente, QLatin1Char(' '));
    return testi::ddmmyyhhnn(appuntamento.momento) + QLatin1Char(' ') + cliente + QLatin1Char(' ') +
           appuntamento.causa + QLatin1Char(' ') + appuntamento.note;
}

QString RigaChiave(const AppuntamentoDovuto& appuntamento) {
    const QChar bar = QLatin1Char('|');
    return QString::number(appuntamento.cliente) + bar + testi::trimSpaces(appuntamento.azione) +
           bar + testi::generalDateText(appuntamento.momento) + bar;
}
