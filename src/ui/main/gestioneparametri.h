// What the parameters panel does: the interval check, the sound-file choice, the confirmation.
#pragma once

#include <QString>

#include "app/impostazioni.h"

#include <optional>

struct Sessione;
class FileDialog;
class MessageBox;

class GestioneParametri {
public:
    // `secondiLetti` is the text of Secondi as read at start-up, which Text1 shows first.
    GestioneParametri(Sessione& sessione, const SuonoConfigurato& suono,
                      const QString& secondiLetti = QString());

    // An interval the panel accepts when typed: 1 to 60 seconds.
    static bool intervalloAccettabile(const QString& testo);
    // What Text1 may hold when the focus leaves it: an accepted interval, or the text read
    // at start-up left as it was (start-up has already applied its own rule to it).
    bool testoAccettabile(const QString& testo) const;

    // Asks for the sound file; a choice takes effect at once (FileSuono and the copies).
    // False when the operator cancelled: nothing changes.
    bool scegliFileSuono(FileDialog& dialogo);

    // The confirmation: applies the interval and the switch and writes the five AGENDA keys.
    // Refused (false, nothing applied or written) for an interval outside 1 to 60; an empty
    // or non-numeric one counts as a minute, the default. The text read at start-up, unedited,
    // is written back as it was, with the interval start-up took from it. Keys that could not
    // be stored leave the values in force for the run, and one box tells the operator why.
    bool conferma(const QString& testoSecondi, int posizioneSuono, MessageBox& messaggi);

    const SuonoConfigurato& suono() const { return suono_; }

private:
    void dividiPercorso(const QString& percorso, const QString& nomeFile);
    // Writes the five AGENDA keys in one go; why they were not stored, if they were not.
    std::optional<QString> salvaAgenda(const QString& testoSecondi) const;

    Sessione& sessione_;
    SuonoConfigurato suono_;
    QString secondiLetti_;
};
