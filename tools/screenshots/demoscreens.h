// The README's pictures of every window, taken on a demo workspace.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "app/sessione.h"
#include "idlelauncher.h"
#include "platform/gui/qtplatform.h"
#include "platform/services.h"
#include "reminder/chiavepromemoria.h"
#include "screenshotter.h"
#include "silentsound.h"

class Startup;

class DemoScreens {
public:
    DemoScreens(const QString& fileIni, const QString& outFolder);

    // Takes every picture; false, after a message on standard error, when one fails.
    bool takeAll();

private:
    bool mainWindowAndPanel(Startup& startup);
    bool listWindow(Startup& startup);
    bool reminderWindow(Startup& startup);
    bool alertWindow(Startup& startup);
    // The key of the first due appointment of `cliente`.
    std::optional<ChiavePromemoria> keyOf(const Startup& startup, int cliente) const;
    bool saved(QWidget& window, const QString& name);

    QtPlatform qt_;
    IdleLauncher launcher_;
    SilentSound sound_;
    PlatformServices services_;
    Sessione sessione_;
    Screenshotter shooter_;
};
