// Reading the alert program's command line.
#include "alert/avviso.h"

#include "app/configurazione.h"
#include "reminder/argomentoerrato.h"

// The configuration file is checked last, so a garbled argument is reported as such rather
// than as a strange file name.
Avviso LeggiAvviso(const QString& argomento) {
    const Avviso avviso = ArgomentoAvviso::leggi(argomento);
    if (!FilePresente(avviso.fileIni)) {
        throw ArgomentoErrato(QStringLiteral("File di configurazione inesistente: \"") +
                              avviso.fileIni + QLatin1Char('"'));
    }
    return avviso;
}

ChiavePromemoria ChiaveDi(const Avviso& avviso) {
    return {avviso.cliente, avviso.data, avviso.azione};
}
