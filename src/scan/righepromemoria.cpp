// Display and key lines of the due appointments.
#include "scan/righepromemoria.h"

#include <QStringView>

#include "util/testi.h"

namespace {
constexpr qint32 kClienteVisibile = 9999999;
constexpr int kLarghezzaCliente = 7;
constexpr int kLarghezzaCausa = 50;
// The display line before its note: date and time, client, cause and their separators.
constexpr int kLunghezzaSenzaNote = 14 + 1 + kLarghezzaCliente + 1 + kLarghezzaCausa + 1;
// Moments kept at most: a book of slots repeats far fewer, a book of odd moments never fills
// the memory.
constexpr qsizetype kMomentiTenuti = 1024;
}  // namespace

// Appends `testo` right-aligned in `larghezza` characters, never cut.
void allineaDestra(QString& riga, const QString& testo, int larghezza) {
    riga.resize(riga.size() + qMax(0, larghezza - int(testo.size())), u' ');
    riga += testo;
}

QString RighePromemoria::visualizzata(const AppuntamentoDovuto& appuntamento) {
    QString riga;
    riga.reserve(kLunghezzaSenzaNote + appuntamento.note.size());
    riga += perMomento(appuntamento.momento).breve;
    riga += QLatin1Char(' ');
    // The decimal code as AllineaDestra sets a whole number, or blanks for a large one.
    allineaDestra(
        riga,
        appuntamento.cliente < kClienteVisibile ? QString::number(appuntamento.cliente) : QString(),
        kLarghezzaCliente);
    riga += QLatin1Char(' ');
    riga += QStringView(appuntamento.causa).left(kLarghezzaCausa);
    riga.resize(riga.size() + qMax(0, kLarghezzaCausa - int(appuntamento.causa.size())), u' ');
    riga += QLatin1Char(' ');
    riga += appuntamento.note;
    return riga;
}

QString RighePromemoria::chiave(const AppuntamentoDovuto& appuntamento) {
    const QChar bar = QLatin1Char('|');
    const QString cliente = QString::number(appuntamento.cliente);
    const QString& data = perMomento(appuntamento.momento).generale;
    // Exactly as long as it needs to be: the rebuild keeps one per appointment.
    QString riga;
    riga.reserve(cliente.size() + appuntamento.azione.size() + data.size() + 3);
    riga += cliente;
    riga += bar;
    riga += appuntamento.azione;
    riga += bar;
    riga += data;
    riga += bar;
    return riga;
}

const RighePromemoria::TestiMomento& RighePromemoria::perMomento(double momento) {
    const auto trovati = momenti_.constFind(momento);
    if (trovati != momenti_.cend()) return *trovati;
    TestiMomento nuovi{testi::ddmmyyhhnn(momento), testi::generalDateText(momento)};
    if (momenti_.size() >= kMomentiTenuti) momenti_.clear();
    return *momenti_.insert(momento, std::move(nuovi));
}
