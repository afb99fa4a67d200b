// What the parameters panel does: the interval check, the sound-file choice, the confirmation.
#pragma once

#include <QString>

#include "app/impostazioni.h"

struct Globali;
class FileDialog;

class GestioneParametri {
public:
    GestioneParametri(Globali& globali, const SuonoConfigurato& suono);

    // An interval the panel accepts when the focus leaves Text1: 1 to 60 seconds.
    static bool intervalloAccettabile(const QString& testo);

    // Asks for the sound file; a choice takes effect at once (FileSuono and the copies).
    // False when the operator cancelled: nothing changes.
    bool scegliFileSuono(FileDialog& dialogo);

    // The confirmation: applies the interval and the switch and writes the five AGENDA keys.
    // Refused (false, nothing applied or written) for an interval outside 1 to 60; an empty
    // or non-numeric one counts as the designed minute.
    bool conferma(const QString& testoSecondi, int posizioneSuono);

    const SuonoConfigurato& suono() const { return suono_; }

private:
    void dividiPercorso(const QString& percorso, const QString& nomeFile);

    Globali& globali_;
    SuonoConfigurato suono_;
};
