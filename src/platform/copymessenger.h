// Messages to another program's copy running on this workstation, which it may not be.
#pragma once

#include <QByteArray>
#include <QString>

class CopyMessenger {
public:
    virtual ~CopyMessenger() = default;
    // Hands `message` to the copy of `program` running for this user and `key`; starts
    // nothing. True when the copy took it; false when none runs here or it did not answer.
    virtual bool tell(const QString& program, const QByteArray& key, const QByteArray& message) = 0;
};

// Over the running copy's private socket (SingleInstance).
class SocketCopyMessenger : public CopyMessenger {
public:
    bool tell(const QString& program, const QByteArray& key, const QByteArray& message) override;
};
