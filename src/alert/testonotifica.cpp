// Writing the notification of a batch.
#include "alert/testonotifica.h"

TestoNotifica TestoNotifica::perLotto(const QList<AvvisoDescritto>& lotto, int mostrati) {
    QStringList righe;
    for (auto avviso = lotto.crbegin(); avviso != lotto.crend(); ++avviso) {
        righe.append(avviso->descrizione());
    }
    TestoNotifica notifica;
    notifica.titolo = QStringLiteral("SCADEX: %1 PROMEMORIA NELLA FINESTRA D'AVVISO").arg(mostrati);
    notifica.testo = righe.join(QLatin1Char('\n'));
    return notifica;
}
