// Reading and writing the keys WSTATE, DIMX, DIMY, POSX and POSY of a window's section.
#include "ui/list/geometriafinestra.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "app/ini.h"
#include "util/texts.h"
#include "util/valori.h"

namespace {

const QString kStato = QStringLiteral("WSTATE");
const QString kLarghezza = QStringLiteral("DIMX");
const QString kAltezza = QStringLiteral("DIMY");
const QString kSinistra = QStringLiteral("POSX");
const QString kAlto = QStringLiteral("POSY");

constexpr qint64 kMinimo16 = std::numeric_limits<qint16>::min();
constexpr qint64 kMassimo16 = std::numeric_limits<qint16>::max();
constexpr qint64 kMinimo32 = std::numeric_limits<qint32>::min();
constexpr qint64 kMassimo32 = std::numeric_limits<qint32>::max();

int intero(double valore) {
    return static_cast<int>(texts::roundHalfEven(valore));
}

}  // namespace

GeometriaFinestra::GeometriaFinestra(QString fileIni, QString sezione, QSize schermo)
    : fileIni_(std::move(fileIni)), sezione_(std::move(sezione)), schermo_(schermo) {}

std::optional<QRect> GeometriaFinestra::daRipristinare(QSizeF progetto,
                                                       bool ridimensionabile) const {
    if (leggi(kStato, kMinimo16, kMassimo16) == static_cast<qint64>(StatoFinestra::Massimizzata)) {
        return std::nullopt;
    }
    const int larghezza =
        lunghezza(kLarghezza, progetto.width(), schermo_.width(), ridimensionabile);
    const int altezza = lunghezza(kAltezza, progetto.height(), schermo_.height(), ridimensionabile);
    int sinistra = posizione(kSinistra, larghezza, schermo_.width());
    int alto = posizione(kAlto, altezza, schermo_.height());
    // A place left on a screen that is no longer there would hide the window.
    if (sinistra >= schermo_.width() || alto >= schermo_.height()) sinistra = alto = 0;
    return QRect(sinistra, alto, larghezza, altezza);
}

void GeometriaFinestra::salva(StatoFinestra stato, bool ridimensionabile,
                              const QRectF& esterno) const {
    // A minimised window would reopen as an icon only: it comes back maximised.
    if (stato == StatoFinestra::Minimizzata) stato = StatoFinestra::Massimizzata;
    if (stato == StatoFinestra::Normale) {
        if (ridimensionabile) {
            scrivi(kLarghezza, esterno.width());
            scrivi(kAltezza, esterno.height());
        }
        scrivi(kSinistra, esterno.left());
        scrivi(kAlto, esterno.top());
    }
    scrivi(kStato, static_cast<double>(stato));
}

// The key as a whole number within [minimo, massimo]; 0 for a missing key, an empty or
// non-numeric value and a value out of that range alike.
qint64 GeometriaFinestra::leggi(const QString& chiave, qint64 minimo, qint64 massimo) const {
    const QString testo = texts::trimSpaces(LeggiIni(fileIni_, sezione_, chiave));
    double numero = 0;
    try {
        numero = texts::roundHalfEven(ValoreNumero(testo));
    } catch (const ConversionError&) {
        return 0;  // a date-like text that is no date
    }
    if (!std::isfinite(numero) || numero < minimo || numero > massimo) return 0;
    return static_cast<qint64>(numero);
}

// One side of the outer size: the saved length for a sizable window, else (or when none is
// saved) the default one, never more than the screen's.
int GeometriaFinestra::lunghezza(const QString& chiave, double progetto, int schermo,
                                 bool ridimensionabile) const {
    qint64 salvata = ridimensionabile ? leggi(chiave, kMinimo32, kMassimo32) : 0;
    if (salvata <= 0) salvata = intero(progetto);
    return static_cast<int>(std::min<qint64>(salvata, schermo));
}

// One coordinate of the outer corner: the saved one, or centred on the screen when negative.
int GeometriaFinestra::posizione(const QString& chiave, int lunghezza, int schermo) const {
    const qint64 salvata = leggi(chiave, kMinimo32, kMassimo32);
    if (salvata < 0) return intero((schermo - lunghezza) / 2.0);
    return static_cast<int>(salvata);
}

void GeometriaFinestra::scrivi(const QString& chiave, double valore) const {
    ScriviIni(fileIni_, sezione_, chiave,
              QString::number(static_cast<qint64>(texts::roundHalfEven(valore))));
}
