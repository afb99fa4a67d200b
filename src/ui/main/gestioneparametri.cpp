// Parameters panel logic.
#include "ui/main/gestioneparametri.h"

#include "platform/filedialog.h"
#include "platform/messagebox.h"
#include "util/texts.h"
#include "util/valori.h"

namespace {

constexpr int kCaratteriEstensione = 4;

// The interval typed in Text1 (0 when empty, not a number or a date by mistake).
double secondiDigitati(const QString& testo) {
    try {
        return ValoreNumero(testo);
    } catch (const ConversionError&) {
        return 0;
    }
}

}  // namespace

GestioneParametri::GestioneParametri(const QString& fileIni, const Impostazioni& lette)
    : fileIni_(fileIni), secondiLetti_(lette.testoSecondi), suono_(lette.suono) {}

bool GestioneParametri::intervalloAccettabile(const QString& testo) {
    const double secondi = secondiDigitati(testo);
    return secondi >= 1 && secondi <= 60;
}

bool GestioneParametri::testoAccettabile(const QString& testo) const {
    return testo == secondiLetti_ || intervalloAccettabile(testo);
}

bool GestioneParametri::scegliFileSuono(FileDialog& dialogo) {
    FileDialogRequest richiesta;
    richiesta.defaultSuffix = QStringLiteral("wav");
    richiesta.filter = QStringLiteral("File di Suono (*.WAV);;Tutti i files (*.*)");
    richiesta.title = QStringLiteral("SUONO DI AVVISO");
    richiesta.initialFolder = suono_.SuonoPath;
    richiesta.fileName = suono_.SuonoFile + QLatin1Char('.') + suono_.SuonoExt;
    const std::optional<FileChoice> scelta = dialogo.open(richiesta);
    if (!scelta) return false;
    dividiPercorso(scelta->fullPath, scelta->fileTitle);
    return true;
}

// Folder without its trailing separator, then name and an extension of at most three letters.
void GestioneParametri::dividiPercorso(const QString& percorso, const QString& nomeFile) {
    suono_.SuonoFile = nomeFile;
    suono_.SuonoPath = percorso;
    const qsizetype posizione = nomeFile.isEmpty() ? -1 : percorso.indexOf(nomeFile);
    if (posizione >= 0) suono_.SuonoPath = percorso.left(qMax<qsizetype>(posizione - 1, 0));
    const qsizetype inizioCoda = qMax<qsizetype>(nomeFile.size() - kCaratteriEstensione, 0);
    const qsizetype punto = nomeFile.indexOf(QLatin1Char('.'), inizioCoda);
    if (punto < 0) {
        suono_.SuonoExt.clear();
        return;
    }
    suono_.SuonoExt = nomeFile.mid(punto + 1);
    suono_.SuonoFile = nomeFile.left(punto);
}

std::optional<Impostazioni> GestioneParametri::conferma(const QString& testoSecondi,
                                                        int posizioneSuono,
                                                        MessageBox& messaggi) const {
    const bool comeLetto = testoSecondi == secondiLetti_;
    const double secondi = texts::roundHalfEven(secondiDigitati(testoSecondi));
    if (!comeLetto && secondi != 0 && !intervalloAccettabile(testoSecondi)) return std::nullopt;
    Impostazioni confermate;
    if (comeLetto) {
        confermate.secondi = impostazioni::secondiDaTesto(secondiLetti_);
        confermate.testoSecondi = secondiLetti_;
    } else {
        confermate.secondi = secondi == 0 ? 60 : static_cast<qint32>(secondi);
        confermate.testoSecondi = QString::number(confermate.secondi);
    }
    confermate.suonoAttivo = posizioneSuono == 0;
    confermate.suono = suono_;
    const std::optional<QString> causa = impostazioni::scriviAgenda(fileIni_, confermate);
    if (causa) {
        messaggi.show(
            {QStringLiteral("PARAMETRI NON SALVATI IN ") + fileIni_ + QStringLiteral(": ") + *causa,
             QString(), MessageIcon::Stop, MessageButtons::Ok});
    }
    return confermate;
}
