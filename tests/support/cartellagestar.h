// A Gestar.ini with both databases of its operator, as the main window loads them.
#pragma once

#include <QString>

#include "support/tempdir.h"

class CartellaGestar {
public:
    // Writes Gestar.ini (operator "op", AGENDA lines `agenda`) and creates both databases.
    explicit CartellaGestar(const QByteArray& agenda = {});

    // Adds an active appointment of action VIS at day serial `data` with alarm lead `allarme`
    // minutes.
    void appuntamento(int cliente, double data, int allarme) const;

    TestFolder folder;
    QString fileIni;
};
