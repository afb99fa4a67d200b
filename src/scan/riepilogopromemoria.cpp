// The tray icon's summary of the reminders.
#include "scan/riepilogopromemoria.h"

#include "scan/selezioneappuntamenti.h"
#include "util/testi.h"

void RiepilogoPromemoria::aggiorna(const EsitoSelezione& esito) {
    conteggio_ = esito.conteggio;
    didascalia_ = esito.didascalia();
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
        prossimo ? QStringLiteral("PROSSIMO AVVISO: ") + testi::generalDateText(*prossimo)
                 : QStringLiteral("NESSUN AVVISO IN ARRIVO");
    return didascalia_ + QLatin1Char('\n') + avviso;
}
