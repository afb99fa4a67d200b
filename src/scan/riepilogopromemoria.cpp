// The tray icon's summary of the reminders.
#include "scan/riepilogopromemoria.h"

#include "scan/selezionaappuntamenti.h"
#include "util/texts.h"

void RiepilogoPromemoria::aggiorna(const EsitoSelezione& esito) {
    aggiornato_ = true;
    conteggio_ = esito.conteggio();
    allarmi_ = esito.allarmi;
}

std::optional<double> RiepilogoPromemoria::prossimoAllarme(double adesso) const {
    std::optional<double> prossimo;
    for (const double allarme : allarmi_) {
        if (allarme > adesso && (!prossimo || allarme < *prossimo)) prossimo = allarme;
    }
    return prossimo;
}

QString RiepilogoPromemoria::suggerimento(double adesso) const {
    const std::optional<double> prossimo = prossimoAllarme(adesso);
    const QString avviso =
        prossimo ? QStringLiteral("PROSSIMO AVVISO: ") + texts::generalDateText(*prossimo)
                 : QStringLiteral("NESSUN AVVISO IN ARRIVO");
    return conteggioInParole() + QLatin1Char('\n') + avviso;
}

// The caption keeps its one form for every count; the tooltip reads as a sentence.
QString RiepilogoPromemoria::conteggioInParole() const {
    if (!aggiornato_) return QStringLiteral("PROMEMORIA ");
    return QStringLiteral("PROMEMORIA: %1 %2")
        .arg(conteggio_)
        .arg(conteggio_ == 1 ? QStringLiteral("APPUNTAMENTO") : QStringLiteral("APPUNTAMENTI"));
}
