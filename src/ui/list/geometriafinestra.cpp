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

// A length or coordinate in twips as the file keeps it: a whole number.
std::pair<QString, QString> chiaveValore(const QString& chiave, double valore) {
    return {chiave, QString::number(static_cast<qint64>(texts::roundHalfEven(valore)))};
}

}  // namespace

GeometriaFinestra::GeometriaFinestra(QString fileIni, QString sezione, QSize schermo)
    : fileIni_(std::move(fileIni)), sezione_(std::move(sezione)), schermo_(schermo) {}

std::optional<QRect> GeometriaFinestra::daRipristinare(QSizeF progetto,
                                                       bool ridimensionabile) const {
    const IniLetto ini(fileIni_);
    const qint64 stato = leggi(ini, kStato, kMinimo16, kMassimo16);
    if (stato == static_cast<qint64>(StatoFinestra::Massimizzata)) return std::nullopt;
    const int larghezza =
        lunghezza(ini, kLarghezza, progetto.width(), schermo_.width(), ridimensionabile);
    const int altezza =
        lunghezza(ini, kAltezza, progetto.height(), schermo_.height(), ridimensionabile);
    int sinistra = posizione(ini, kSinistra, larghezza, schermo_.width());
    int alto = posizione(ini, kAlto, altezza, schermo_.height());
    // A place left on a screen that is no longer there would hide the window.
    if (sinistra >= schermo_.width() || alto >= schermo_.height()) sinistra = alto = 0;
    return QRect(sinistra, alto, larghezza, altezza);
}

std::optional<QString> GeometriaFinestra::salva(StatoFinestra stato, bool ridimensionabile,
                                                const QRectF& esterno) const {
    // A minimised window would reopen as an icon only: it comes back maximised.
    if (stato == StatoFinestra::Minimizzata) stato = StatoFinestra::Massimizzata;
    QList<std::pair<QString, QString>> chiavi;
    if (stato == StatoFinestra::Normale) {
        if (ridimensionabile) {
            chiavi << chiaveValore(kLarghezza, esterno.width())
                   << chiaveValore(kAltezza, esterno.height());
        }
        chiavi << chiaveValore(kSinistra, esterno.left()) << chiaveValore(kAlto, esterno.top());
    }
    chiavi << chiaveValore(kStato, static_cast<double>(stato));
    return ScriviIniVerificato(fileIni_, sezione_, chiavi);
}

// The key as a whole number within [minimo, massimo]; 0 for a missing key, an empty or
// non-numeric value and a value out of that range alike.
qint64 GeometriaFinestra::leggi(const IniLetto& ini, const QString& chiave, qint64 minimo,
                                qint64 massimo) const {
    const QString testo = ini.leggi(sezione_, chiave);
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
int GeometriaFinestra::lunghezza(const IniLetto& ini, const QString& chiave, double progetto,
                                 int schermo, bool ridimensionabile) const {
    qint64 salvata = ridimensionabile ? leggi(ini, chiave, kMinimo32, kMassimo32) : 0;
    if (salvata <= 0) salvata = intero(progetto);
    return static_cast<int>(std::min<qint64>(salvata, schermo));
}

// One coordinate of the outer corner: the saved one, or centred on the screen when negative.
int GeometriaFinestra::posizione(const IniLetto& ini, const QString& chiave, int lunghezza,
                                 int schermo) const {
    const qint64 salvata = leggi(ini, chiave, kMinimo32, kMassimo32);
    if (salvata < 0) return intero((schermo - lunghezza) / 2.0);
    return static_cast<int>(salvata);
}
