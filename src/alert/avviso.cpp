// Reading the alert program's command line.
#include "alert/avviso.h"

#include <QStringList>

#include "alert/argomentoerrato.h"
#include "app/configurazione.h"
#include "util/dateserial.h"
#include "util/testi.h"

namespace {

constexpr qsizetype kCampi = 5;

QString traVirgolette(const QString& testo) {
    return QLatin1Char('"') + testo + QLatin1Char('"');
}

int inAttesa(const QString& campo) {
    bool ok = false;
    const int valore = campo.trimmed().toInt(&ok);
    if (!ok || valore < 0) {
        throw ArgomentoErrato(QStringLiteral("Numero di promemoria in attesa non valido: ") +
                              traVirgolette(campo));
    }
    return valore;
}

qint32 cliente(const QString& campo) {
    bool ok = false;
    const qint32 valore = campo.trimmed().toInt(&ok);
    if (!ok)
        throw ArgomentoErrato(QStringLiteral("Codice cliente non valido: ") + traVirgolette(campo));
    return valore;
}

double data(const QString& campo) {
    try {
        return testi::parseDateText(campo);
    } catch (const ConversionError&) {
        throw ArgomentoErrato(QStringLiteral("Data dell'appuntamento non valida: ") +
                              traVirgolette(campo));
    }
}

QString fileIni(const QString& campo) {
    const QString percorso = testi::trimSpaces(campo);
    if (!FilePresente(percorso)) {
        throw ArgomentoErrato(QStringLiteral("File di configurazione inesistente: ") +
                              traVirgolette(percorso));
    }
    return percorso;
}

}  // namespace

bool Avviso::stessoAppuntamento(const Avviso& altro) const {
    return cliente == altro.cliente && azione == altro.azione &&
           dateserial::sameSecond(data, altro.data);
}

// The configuration file is checked last, so a garbled argument is reported as such rather
// than as a strange file name.
Avviso LeggiAvviso(const QString& argomento) {
    const QStringList campi = argomento.split(QLatin1Char('|'));
    if (campi.size() != kCampi) {
        throw ArgomentoErrato(
            QStringLiteral("Argomento non valido: attesi 5 campi separati da \"|\" (file di "
                           "configurazione|promemoria in attesa|cliente|azione|data e ora), "
                           "trovati %1")
                .arg(argomento.isEmpty() ? 0 : campi.size()));
    }
    Avviso avviso;
    avviso.inAttesa = inAttesa(campi[1]);
    avviso.cliente = cliente(campi[2]);
    avviso.azione = campi[3];
    avviso.data = data(campi[4]);
    avviso.fileIni = fileIni(campi[0]);
    return avviso;
}
