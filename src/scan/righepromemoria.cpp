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
    QString riga;
    riga.reserve(74 + appuntamento.note.size());
    riga += testi::ddmmyyhhnn(appuntamento.momento);
    riga += QLatin1Char(' ');
    riga += appuntamento.cliente < kClienteVisibile
                ? AllineaDestra(appuntamento.cliente, kLarghezzaCliente)
                : QString(kLarghezzaCliente, QLatin1Char(' '));
    riga += QLatin1Char(' ');
    riga += appuntamento.causa;
    riga += QLatin1Char(' ');
    riga += appuntamento.note;
    return riga;
}

QString RigaChiave(const AppuntamentoDovuto& appuntamento) {
    const QChar bar = QLatin1Char('|');
    QString riga;
    riga.reserve(40);
    riga += QString::number(appuntamento.cliente);
    riga += bar;
    riga += testi::trimSpaces(appuntamento.azione);
    riga += bar;
    riga += testi::generalDateText(appuntamento.momento);
    riga += bar;
    return riga;
}
