// What the tray icon tells of the reminders: the count of the last rebuild and the next alarm.
#pragma once

#include <QList>
#include <QString>
#include <optional>

struct EsitoSelezione;

class RiepilogoPromemoria {
public:
    // Takes the count and the alarm moments of a rebuild that has just ended.
    void aggiorna(const EsitoSelezione& esito);

    int conteggio() const { return conteggio_; }

    // The earliest alarm moment after `adesso` (day serials); nothing when every alarm of
    // the last rebuild has already come.
    std::optional<double> prossimoAllarme(double adesso) const;

    // The count as the caption gives it, in good Italian ("PROMEMORIA: 1 APPUNTAMENTO",
    // "PROMEMORIA: 3 APPUNTAMENTI"; before any rebuild the first caption, "PROMEMORIA ") and,
    // on a second line, "PROSSIMO AVVISO: " with the general date text of the next alarm, or
    // "NESSUN AVVISO IN ARRIVO" when there is none.
    QString suggerimento(double adesso) const;

private:
    QString conteggioInParole() const;

    bool aggiornato_ = false;
    int conteggio_ = 0;
    QList<double> allarmi_;
};
