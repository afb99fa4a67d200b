// Telling a running copy through its socket.
#include "platform/copymessenger.h"

#include "platform/singleinstance.h"

namespace {

// The copy confirms on a thread of its own: one that has not within this is stopped or hung,
// and the caller's window must not wait on it longer.
constexpr int kWaitMs = 1000;

}  // namespace

bool SocketCopyMessenger::tell(const QString& program, const QByteArray& key,
                               const QByteArray& message) {
    return SingleInstance::tell(program, key, message, kWaitMs);
}
