// Display lines of the due appointments.
#include "scan/righepromemoria.h"

#include <QStringView>
#include <algorithm>
#include <charconv>

#include "util/texts.h"

namespace {
constexpr qint32 kClienteVisibile = 9999999;
constexpr int kLarghezzaCliente = 7;
constexpr int kLarghezzaCausa = 50;
// Moments kept at most: a book of slots repeats far fewer, a book of odd moments never fills
// the memory.
constexpr qsizetype kMomentiTenuti = 1024;

// The decimal digits of a whole number, as QString::number writes them.
struct Cifre {
    explicit Cifre(qint32 numero) : fine(std::to_chars(testo, testo + sizeof testo, numero).ptr) {}
    qsizetype size() const { return fine - testo; }

    char testo[12];
    const char* fine;
};

// Each piece is copied straight into a line made at its final length: the rebuild makes a
// line for every appointment.
QChar* copia(QChar* uscita, QStringView testo) {
    return std::copy(testo.begin(), testo.end(), uscita);
}

QChar* copia(QChar* uscita, const Cifre& cifre) {
    return std::transform(cifre.testo, cifre.fine, uscita, [](char c) { return QLatin1Char(c); });
}

QChar* spazi(QChar* uscita, qsizetype quanti) {
    return std::fill_n(uscita, quanti, QLatin1Char(' '));
}

}  // namespace

QString RighePromemoria::visualizzata(const AppuntamentoDovuto& appuntamento) {
    const QString& data = perMomento(appuntamento.momento);
    // The decimal code as AllineaDestra sets a whole number (never cut), or blanks for a
    // large one.
    const Cifre cliente(appuntamento.cliente);
    const qsizetype cifre = appuntamento.cliente < kClienteVisibile ? cliente.size() : 0;
    const qsizetype larghezzaCliente = std::max<qsizetype>(kLarghezzaCliente, cifre);
    const QStringView causa = QStringView(appuntamento.causa).left(kLarghezzaCausa);
    QString riga(
        data.size() + 1 + larghezzaCliente + 1 + kLarghezzaCausa + 1 + appuntamento.note.size(),
        Qt::Uninitialized);
    QChar* uscita = copia(riga.data(), data);
    *uscita++ = QLatin1Char(' ');
    uscita = spazi(uscita, larghezzaCliente - cifre);
    if (cifre > 0) uscita = copia(uscita, cliente);
    *uscita++ = QLatin1Char(' ');
    uscita = spazi(copia(uscita, causa), kLarghezzaCausa - causa.size());
    *uscita++ = QLatin1Char(' ');
    copia(uscita, appuntamento.note);
    return riga;
}

const QString& RighePromemoria::perMomento(double momento) {
    const auto trovato = momenti_.constFind(momento);
    if (trovato != momenti_.cend()) return *trovato;
    if (momenti_.size() >= kMomentiTenuti) momenti_.clear();
    return *momenti_.insert(momento, texts::ddmmyyhhnn(momento));
}
