// The program's few globals, shared by the windows.
#pragma once

#include <QString>
#include <memory>

#include "db/database.h"

struct Globali {
    QString FileIni;    // full path of Gestar.ini
    QString Operatore;  // operator's sub-folder in each data folder
    QString PathFile;   // data folder of VisiteDV.mdb, ends with the separator
    QString PathWork;   // data folder of WorkDV.mdb, ends with the separator
    std::unique_ptr<db::Database> DbVisite;
    std::unique_ptr<db::Database> DbWork;
    bool SuonoAttivo = false;
    QString FileSuono;
    qint32 SecondiAnalisi = 60;
    qint16 UltimoComando = 0;  // last button pressed in a reminder window
};
