// The Qt implementations of every platform service, owned together for the running program.
#pragma once

#include "platform/clock.h"
#include "platform/copymessenger.h"
#include "platform/desktopnotifier.h"
#include "platform/eventyielder.h"
#include "platform/gui/qtfiledialog.h"
#include "platform/gui/qtmessagebox.h"
#include "platform/gui/qtscreen.h"
#include "platform/gui/qtsoundplayer.h"
#include "platform/processlauncher.h"
#include "platform/qtdocumentopener.h"
#include "platform/services.h"

struct QtPlatform {
    SystemClock clock;
    QtProcessLauncher launcher;
    QtEventYielder yielder;
    QtMessageBox messages;
    QtScreen screen;
    QtSoundPlayer sound;
    QtFileDialog fileDialog;
    QtDocumentOpener documents{QStringLiteral("xdg-open")};
    DesktopNotifier notifications;
    SocketCopyMessenger copies;

    PlatformServices services() {
        return {clock, launcher,   yielder,   messages,      screen,
                sound, fileDialog, documents, notifications, copies};
    }
};
