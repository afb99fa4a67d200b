// Starts another program without waiting for it and without a shell.
#pragma once

#include <QString>
#include <QStringList>

class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    // Starts `program` (found through PATH when it has no folder) with `arguments`;
    // false when it could not be started.
    virtual bool startDetached(const QString& program, const QStringList& arguments) = 0;
};

class QtProcessLauncher : public ProcessLauncher {
public:
    bool startDetached(const QString& program, const QStringList& arguments) override;
};
