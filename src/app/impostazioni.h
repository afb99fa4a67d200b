// The settings the main window reads from Gestar.ini when it loads, and the database opening.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class IniLetto;

// The alert sound as the three keys SuonoPath, SuonoFile and SuonoExt name it.
struct SuonoConfigurato {
    QString SuonoPath;  // folder, no trailing separator
    QString SuonoFile;  // name without folder and extension
    QString SuonoExt;   // extension without the dot

    // Folder, separator, name, dot, extension; no dot when the extension is empty.
    QString percorso() const;
};

// The AGENDA settings: the poll interval and the alert sound.
struct Impostazioni {
    QString testoSecondi;  // Secondi as written in the file, shown in Text1
    qint32 secondi = 60;   // the poll interval it stands for
    bool suonoAttivo = false;
    SuonoConfigurato suono;
};

// Where an operator's databases are: BASE's OPERATORE and PATH's FILE and WORK.
struct Percorsi {
    QString Operatore;  // operator's sub-folder in each data folder
    QString PathFile;   // data folder of VisiteDV.mdb, ends with the separator
    QString PathWork;   // data folder of WorkDV.mdb, ends with the separator

    QString fileVisite() const;
    QString fileWork() const;
};

namespace impostazioni {

// The operator's folders; nothing when no operator is configured.
std::optional<Percorsi> leggiPercorsi(const IniLetto& ini);
// The AGENDA settings.
Impostazioni leggiAgenda(const IniLetto& ini);
// Writes the five AGENDA keys in one go; why they were not stored, if they were not (the
// file then left as it was).
std::optional<QString> scriviAgenda(const QString& fileIni, const Impostazioni& agenda);
// The set-up that `fileIni` leads to, for the single-instance rule: the identity of the
// operator's work database, so that two copies of one Gestar.ini, or two paths to it, run
// one copy. Without an operator, the configuration file's own identity.
QByteArray postazione(const QString& fileIni);
// Poll interval from the text of Text1: nearest whole number; 60 outside 1 to 60.
qint32 secondiDaTesto(const QString& testo);

}  // namespace impostazioni
