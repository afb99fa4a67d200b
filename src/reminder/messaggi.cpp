// The messages' wire form. A command line cannot hold a NUL byte: a message that starts with
// one is a control word, with its fields on the lines after it; anything else is what the
// copies have always sent (a reminder's argument, or nothing from a second start).
#include "reminder/messaggi.h"

#include <QStringList>

namespace messaggi {

namespace {

constexpr char kControllo = '\0';

QByteArray controllo(const char* parola, const QList<QByteArray>& campi = {}) {
    QByteArray testo = kControllo + QByteArray(parola);
    for (const QByteArray& campo : campi) testo += '\n' + campo;
    return testo;
}

// The control word and its fields; nothing for a plain message.
std::optional<QList<QByteArray>> campiDiControllo(const QByteArray& messaggio) {
    if (!messaggio.startsWith(kControllo)) return std::nullopt;
    return messaggio.mid(1).split('\n');
}

QByteArray rettangolo(const QRect& r) {
    return QByteArray::number(r.x()) + ' ' + QByteArray::number(r.y()) + ' ' +
           QByteArray::number(r.width()) + ' ' + QByteArray::number(r.height());
}

std::optional<QRect> leggiRettangolo(const QByteArray& campo) {
    const QList<QByteArray> numeri = campo.split(' ');
    if (numeri.size() != 4) return std::nullopt;
    int valori[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        valori[i] = numeri[i].toInt(&ok);
        if (!ok) return std::nullopt;
    }
    return QRect(valori[0], valori[1], valori[2], valori[3]);
}

std::optional<Aree> leggiAree(const QList<QByteArray>& campi) {
    Aree aree;
    for (qsizetype i = 1; i < campi.size(); ++i) {
        const std::optional<QRect> finestra = leggiRettangolo(campi[i]);
        if (!finestra) return std::nullopt;
        aree.finestre.append(*finestra);
    }
    return aree;
}

std::optional<Apri> leggiApri(const QList<QByteArray>& campi) {
    if (campi.size() != 4) return std::nullopt;
    bool clienteOk = false;
    bool dataOk = false;
    Apri apri{
        {campi[1].toInt(&clienteOk), campi[3].toDouble(&dataOk), QString::fromUtf8(campi[2])}};
    if (!clienteOk || !dataOk) return std::nullopt;
    return apri;
}

}  // namespace

QByteArray componi(const PerAvviso& messaggio) {
    struct {
        QByteArray operator()(const Promemoria& m) { return m.argomento.toUtf8(); }
        QByteArray operator()(const Rileggi&) { return controllo("RILEGGI"); }
        QByteArray operator()(const Fine&) { return controllo("FINE"); }
        QByteArray operator()(const Aree& m) {
            QList<QByteArray> campi;
            for (const QRect& finestra : m.finestre) campi.append(rettangolo(finestra));
            return controllo("AREE", campi);
        }
    } forma;
    return std::visit(forma, messaggio);
}

QByteArray componi(const PerScadex& messaggio) {
    struct {
        QByteArray operator()(const Richiama&) { return {}; }
        QByteArray operator()(const Apri& m) {
            // Seventeen digits carry the day serial exactly.
            return controllo("APRI",
                             {QByteArray::number(m.chiave.cliente), m.chiave.azione.toUtf8(),
                              QByteArray::number(m.chiave.data, 'g', 17)});
        }
        QByteArray operator()(const SuonoFallito& m) {
            return controllo("SUONO", {m.motivo.toUtf8().replace('\n', ' ')});
        }
        QByteArray operator()(const ChiediAree&) { return controllo("AREE?"); }
    } forma;
    return std::visit(forma, messaggio);
}

std::optional<PerAvviso> leggiPerAvviso(const QByteArray& messaggio) {
    const std::optional<QList<QByteArray>> campi = campiDiControllo(messaggio);
    if (!campi) return Promemoria{QString::fromUtf8(messaggio)};
    const QByteArray& parola = campi->first();
    if (parola == "RILEGGI") return Rileggi{};
    if (parola == "FINE") return Fine{};
    if (parola == "AREE") return leggiAree(*campi);
    return std::nullopt;
}

std::optional<PerScadex> leggiPerScadex(const QByteArray& messaggio) {
    const std::optional<QList<QByteArray>> campi = campiDiControllo(messaggio);
    if (!campi) return Richiama{};
    const QByteArray& parola = campi->first();
    if (parola == "APRI") return leggiApri(*campi);
    if (parola == "SUONO" && campi->size() == 2)
        return SuonoFallito{QString::fromUtf8(campi->at(1))};
    if (parola == "AREE?") return ChiediAree{};
    return std::nullopt;
}

}  // namespace messaggi
