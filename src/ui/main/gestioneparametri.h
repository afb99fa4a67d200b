// What the parameters panel does: the interval check, the sound-file choice, the confirmation.
#pragma once

#include <QString>
#include <optional>

#include "app/impostazioni.h"

class FileDialog;
class MessageBox;

class GestioneParametri {
public:
    // `lette`: the settings read at start-up, whose interval text Text1 shows first and whose
    // sound the panel starts from; `fileIni` is where a confirmation writes.
    GestioneParametri(const QString& fileIni, const Impostazioni& lette);

    // An interval the panel accepts when typed: 1 to 60 seconds.
    static bool intervalloAccettabile(const QString& testo);
    // What Text1 may hold when the focus leaves it: an accepted interval, or the text read
    // at start-up left as it was (start-up has already applied its own rule to it).
    bool testoAccettabile(const QString& testo) const;

    // Asks for the sound file; a choice is what the panel shows, tries and confirms from then
    // on. False when the operator cancelled: nothing changes.
    bool scegliFileSuono(FileDialog& dialogo);

    // The confirmation: the settings made of the interval, the switch and the chosen sound,
    // written to the five AGENDA keys. Refused (nothing, nothing written) for an interval
    // outside 1 to 60; an empty or non-numeric one counts as a minute, the default. The text
    // read at start-up, unedited, is written back as it was, with the interval start-up took
    // from it. Keys that could not be stored leave the settings in force for the run, and one
    // box tells the operator why.
    std::optional<Impostazioni> conferma(const QString& testoSecondi, int posizioneSuono,
                                         MessageBox& messaggi) const;

    // The sound file the panel holds, confirmed or not.
    const SuonoConfigurato& suono() const { return suono_; }

private:
    void dividiPercorso(const QString& percorso, const QString& nomeFile);

    const QString fileIni_;
    const QString secondiLetti_;
    SuonoConfigurato suono_;
};
