// The settings the main window reads from Gestar.ini when it loads, and the database opening.
#pragma once

#include <QString>

struct Globali;

// The main window's own copies of the three sound keys.
struct SuonoConfigurato {
    QString SuonoPath;  // folder, no trailing separator
    QString SuonoFile;  // name without folder and extension
    QString SuonoExt;   // extension without the dot

    // Folder, separator, name, dot, extension; no dot when the extension is empty.
    QString percorso() const;
};

struct Impostazioni {
    QString testoSecondi;  // Secondi as read, shown in Text1
    qint32 secondi = 60;   // SecondiAnalisi
    bool suonoAttivo = false;
    SuonoConfigurato suono;
};

namespace impostazioni {

// Operatore, PathFile and PathWork into `globali`; false when no operator is configured.
bool leggiPercorsi(Globali& globali);
// The AGENDA settings; also sets SuonoAttivo, FileSuono and SecondiAnalisi in `globali`.
Impostazioni leggiAgenda(Globali& globali);
// Opens VisiteDV.mdb and WorkDV.mdb under the operator's folders (throws db::DbError).
void apriDatabase(Globali& globali);
// Poll interval from the text of Text1: nearest whole number; 60 outside 1 to 60.
qint32 secondiDaTesto(const QString& testo);

}  // namespace impostazioni
