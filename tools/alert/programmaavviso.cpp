// Taking in reminders while the alert window is open.
#include "alert/programmaavviso.h"

#include <QTextStream>

#include "alert/argomentoerrato.h"
#include "app/globali.h"
#include "app/impostazioni.h"
#include "app/suonaavviso.h"

ProgrammaAvviso::ProgrammaAvviso(SoundPlayer& suono, QTextStream* eco) : suono_(suono), eco_(eco) {}

void ProgrammaAvviso::accogli(const Avviso& avviso) {
    const AvvisoDescritto descritto = DescriviAvviso(avviso);
    const bool nuovo = elenco_.aggiungi(descritto);
    finestra_.mostra(elenco_);
    if (nuovo) suona(avviso.fileIni);
    if (eco_) *eco_ << descritto.riga() << Qt::endl;
}

void ProgrammaAvviso::accogliArgomento(const QString& argomento) {
    try {
        accogli(LeggiAvviso(argomento));
    } catch (const ArgomentoErrato& errore) {
        QTextStream(stderr) << "SCADEX1.EXE: " << errore.messaggio() << Qt::endl;
    }
}

// The sound settings are read anew each time: the operator may have changed them since.
void ProgrammaAvviso::suona(const QString& fileIni) {
    Globali globali;
    globali.FileIni = fileIni;
    impostazioni::leggiAgenda(globali);
    SuonaAvviso(globali, suono_);
}
