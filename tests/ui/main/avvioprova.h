// The main window started as the program starts it, on a Gestar.ini of its own and fake
// platform services at 09:00 on 6 December 2026: for the tray icon's tests.
#pragma once

#include <gtest/gtest.h>

#include <QDateTime>
#include <memory>

#include "app/sessione.h"
#include "support/fakes.h"
#include "support/gestarfolder.h"
#include "ui/main/startup.h"

class AvvioProva {
public:
    AvvioProva() { platform.clock.moment = QDateTime(QDate(2026, 12, 6), QTime(9, 0)); }

    // Makes the main window, not loaded yet; a close only counts in `chiusure`.
    Startup& crea() {
        startup = std::make_unique<Startup>(sessione, services);
        startup->impostaChiusura([this] { ++chiusure; });
        return *startup;
    }

    // Loads the main window (made first when needed), which ends minimised.
    Startup& avvia() {
        if (!startup) crea();
        EXPECT_EQ(startup->avvia(), Startup::Avvio::Avviato);
        startup->showMinimized();
        return *startup;
    }

    GestarFolder gestar;
    FakePlatform platform;
    PlatformServices services = platform.services();
    Sessione sessione{gestar.fileIni};
    std::unique_ptr<Startup> startup;
    int chiusure = 0;
};
