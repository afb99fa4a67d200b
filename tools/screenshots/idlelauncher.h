// A process launcher that starts nothing: the pictures must not set alert programs going.
#pragma once

#include "platform/processlauncher.h"

class IdleLauncher : public ProcessLauncher {
public:
    bool startDetached(const QString&, const QStringList&) override { return true; }
};
