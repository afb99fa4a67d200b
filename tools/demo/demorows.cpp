// The rows of the demo workspace.
#include "demorows.h"

#include "util/dateserial.h"

namespace demorows {

namespace {

constexpr qint32 rgb(qint32 red, qint32 green, qint32 blue) {
    return red + 256 * green + 65536 * blue;
}

double minutesFrom(const QDateTime& moment, double minutes) {
    return dateserial::fromDateTime(moment) + minutes / 1440.0;
}

// Halfway between midnight and now: earlier today whatever the hour.
double earlierToday(const QDateTime& now) {
    const QDateTime midnight(now.date(), QTime(0, 0));
    return minutesFrom(midnight, midnight.secsTo(now) / 120.0);
}

}  // namespace

QList<Cliente> clienti() {
    return {
        {1, QStringLiteral("Rossi Mario"), QStringLiteral("Rossi Mario - Consulenze fiscali")},
        {2, QStringLiteral("Bianchi S.r.l."), QStringLiteral("Bianchi Costruzioni S.r.l.")},
        {3, QStringLiteral("Verdi Giuseppina"), QStringLiteral("Studio Legale Verdi Giuseppina")},
        {4, QStringLiteral("Esposito Antonio"), QStringLiteral("Esposito Antonio & Figli S.n.c.")},
        {5, QStringLiteral("Ferrari Lucia"), QStringLiteral("Farmacia Ferrari Dott.ssa Lucia")},
        {6, QStringLiteral("Colombo Giovanni"),
         QStringLiteral("Colombo Giovanni - Impianti elettrici")},
    };
}

QList<Azione> azioni() {
    return {
        {QStringLiteral("VIS"), QStringLiteral("Visita presso il cliente"), rgb(200, 30, 30)},
        {QStringLiteral("TEL"), QStringLiteral("Telefonata"), rgb(30, 90, 200)},
        {QStringLiteral("CONS"), QStringLiteral("Consegna documenti"), rgb(20, 140, 60)},
        // The host also stores colours as text.
        {QStringLiteral("RIUN"), QStringLiteral("Riunione"), QString::number(rgb(230, 130, 0))},
    };
}

QList<Appuntamento> appuntamenti(const QDateTime& now, const QString& documento,
                                 const QString& documentoMancante) {
    const QString attivo = QStringLiteral("A");
    const QString vivo = QStringLiteral("N");
    const double domaniAlleDieci =
        dateserial::fromDateTime(QDateTime(now.date().addDays(1), QTime(10, 0)));
    // A 30-minute lead counts as 0.0208 days (29 min 57 s): these fall due a minute or two
    // after the workspace is made.
    return {
        {1, minutesFrom(now, 31), QStringLiteral("VIS"), 30, vivo, attivo,
         QStringLiteral("Revisione della dichiarazione dei redditi"),
         QStringLiteral("Portare le ricevute delle spese mediche"), documento},
        {2, minutesFrom(now, 31.5), QStringLiteral("TEL"), 30, vivo, attivo,
         QStringLiteral("Sollecito pagamento fattura n. 118"),
         QStringLiteral("Chiedere dell'amministratore, sig.ra Galli"), documentoMancante},
        {3, minutesFrom(now, 32), QStringLiteral("CONS"), 30, vivo, attivo,
         QStringLiteral("Consegna documentazione contratto di locazione"),
         QStringLiteral("Citofono: Studio Verdi, secondo piano"), QString()},
        {4, earlierToday(now), QStringLiteral("RIUN"), 15, vivo, attivo,
         QStringLiteral("Riunione di condominio"), QStringLiteral("Verbale da firmare"), QString()},
        {5, domaniAlleDieci, QStringLiteral("VIS"), 60, vivo, attivo,
         QStringLiteral("Inventario di fine anno"),
         QStringLiteral("Confermare l'orario il giorno prima"), QString()},
        {6, minutesFrom(now, 40), QStringLiteral("TEL"), 30, QStringLiteral("S"), attivo,
         QStringLiteral("Appuntamento annullato dal cliente"), QStringLiteral("Non richiamare"),
         QString()},
        {2, minutesFrom(now, 180), QStringLiteral("VIS"), 0, vivo, attivo,
         QStringLiteral("Sopralluogo cantiere di via Garibaldi"),
         QStringLiteral("Nessun avviso richiesto"), QString()},
    };
}

}  // namespace demorows
