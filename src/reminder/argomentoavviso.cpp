// Composing and reading the alert program's command-line argument.
#include "reminder/argomentoavviso.h"

#include <QStringList>
#include <QTime>
#include <optional>

#include "reminder/argomentoerrato.h"
#include "util/dateserial.h"
#include "util/texts.h"

namespace {

const QChar kSeparatore = QLatin1Char('|');
constexpr qsizetype kCampi = 5;

QString traVirgolette(const QString& testo) {
    return QLatin1Char('"') + testo + QLatin1Char('"');
}

std::optional<int> comeInAttesa(const QString& campo) {
    bool ok = false;
    const int valore = campo.trimmed().toInt(&ok);
    if (!ok || valore < 0) return std::nullopt;
    return valore;
}

std::optional<qint32> comeCliente(const QString& campo) {
    bool ok = false;
    const qint32 valore = campo.trimmed().toInt(&ok);
    if (!ok) return std::nullopt;
    return valore;
}

int inAttesaDa(const QString& campo) {
    const std::optional<int> valore = comeInAttesa(campo);
    if (!valore) {
        throw ArgomentoErrato(QStringLiteral("Numero di promemoria in attesa non valido: ") +
                              traVirgolette(campo));
    }
    return *valore;
}

qint32 clienteDa(const QString& campo) {
    const std::optional<qint32> valore = comeCliente(campo);
    if (!valore)
        throw ArgomentoErrato(QStringLiteral("Codice cliente non valido: ") + traVirgolette(campo));
    return *valore;
}

// The general date text of a moment on day 0 is its time alone: a reminder row whose date
// was lost still reaches the operator.
std::optional<double> soloOra(const QString& campo) {
    const QTime ora = QTime::fromString(campo.trimmed(), QStringLiteral("HH:mm:ss"));
    if (!ora.isValid()) return std::nullopt;
    return ora.msecsSinceStartOfDay() / (86400.0 * 1000);
}

double dataDa(const QString& campo) {
    if (const std::optional<double> ora = soloOra(campo)) return *ora;
    try {
        return texts::parseDateText(campo);
    } catch (const ConversionError&) {
        throw ArgomentoErrato(QStringLiteral("Data dell'appuntamento non valida: ") +
                              traVirgolette(campo));
    }
}

// The position of the waiting count: the first field from the left that is a count followed by
// a client, with an action and a moment still to come. Everything before it is the path.
// The one ambiguity: a path holding "|<number>|<number>|" (a folder "a|3|12|b"), or ending in
// "|<number>" that pairs with the count (a file named "Gestar|7"), is cut there: nothing in
// the layout tells those numbers from the fields that follow the path.
std::optional<qsizetype> posizioneInAttesa(const QStringList& campi) {
    for (qsizetype i = 1; i + 3 < campi.size(); ++i) {
        if (comeInAttesa(campi[i]) && comeCliente(campi[i + 1])) return i;
    }
    return std::nullopt;
}

// An argument without a count and a client: with enough fields the two after the first "|"
// are named as the culprits, as for a path without "|".
[[noreturn]] void senzaCampi(const QString& argomento, const QStringList& campi) {
    if (campi.size() >= kCampi) {
        inAttesaDa(campi[1]);
        clienteDa(campi[2]);
    }
    throw ArgomentoErrato(
        QStringLiteral("Argomento non valido: attesi 5 campi separati da \"|\" (file di "
                       "configurazione|promemoria in attesa|cliente|azione|data e ora), "
                       "trovati %1")
            .arg(argomento.isEmpty() ? 0 : campi.size()));
}

}  // namespace

QString ArgomentoAvviso::componi() const {
    return QStringList{fileIni, QString::number(inAttesa), QString::number(cliente), azione,
                       texts::generalDateText(data)}
        .join(kSeparatore);
}

// The path is read from the left up to the count, the moment from the right: the action is
// whatever lies between the client and the moment.
ArgomentoAvviso ArgomentoAvviso::leggi(const QString& argomento) {
    const QStringList campi = argomento.split(kSeparatore);
    const std::optional<qsizetype> posizione = posizioneInAttesa(campi);
    if (!posizione) senzaCampi(argomento, campi);
    const qsizetype azione = *posizione + 2;
    ArgomentoAvviso letto;
    letto.fileIni = texts::trimSpaces(campi.first(*posizione).join(kSeparatore));
    letto.inAttesa = inAttesaDa(campi[*posizione]);
    letto.cliente = clienteDa(campi[*posizione + 1]);
    letto.azione = campi.sliced(azione, campi.size() - 1 - azione).join(kSeparatore);
    letto.data = dataDa(campi.last());
    return letto;
}

bool ArgomentoAvviso::stessoAppuntamento(const ArgomentoAvviso& altro) const {
    return cliente == altro.cliente && azione == altro.azione &&
           dateserial::sameSecond(data, altro.data);
}
