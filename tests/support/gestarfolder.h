// A Gestar.ini with both databases of its operator, as the main window loads them.
#pragma once

#include <QString>

#include "support/tempdir.h"

class GestarFolder {
public:
    // Writes Gestar.ini (operator "op", AGENDA lines `agenda`) and creates both databases.
    explicit GestarFolder(const QByteArray& agenda = {});

    // Adds an active appointment of action VIS at day serial `date` with alarm lead `lead`
    // minutes.
    void addAppointment(int client, double date, int lead) const;

    TestFolder folder;
    QString fileIni;
};
