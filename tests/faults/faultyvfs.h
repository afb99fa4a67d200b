// A test-only SQLite VFS over the default one that fails one chosen file operation.
#pragma once

#include <QString>
#include <array>

// The file operations a failure can be injected into.
// Busy: a lock that another process holds for longer than any wait (the waits are skipped).
enum class FaultKind { Open, Read, Write, Sync, Lock, Busy };
inline constexpr std::array kAllFaultKinds = {FaultKind::Open, FaultKind::Read, FaultKind::Write,
                                              FaultKind::Sync, FaultKind::Lock, FaultKind::Busy};
QString faultKindName(FaultKind kind);

// Registered as the process's default VFS, so every connection opened afterwards (the
// program's own, through Qt's driver or SQLite's C API) goes through it. It counts the calls
// of each kind since the last arm() and fails the chosen one.
class FaultyVfs {
public:
    // Registers the shim on first use; connections opened before keep the plain VFS.
    static FaultyVfs& instance();

    // From now on: counts calls afresh and fails the `nth` call (1-based) of `kind`, and
    // every later call of that kind too when `persistent`. nth 0 only counts.
    void arm(FaultKind kind, int nth, bool persistent = false);
    // Stops failing; counting goes on.
    void disarm();
    // Calls of `kind` since the last arm().
    int calls(FaultKind kind) const;
    // Whether a failure was injected since the last arm().
    bool fired() const { return fired_; }

    // Called by the shim for each operation: true when this one must fail.
    bool shouldFail(FaultKind kind);
    // While a lock is held elsewhere, waiting for it is skipped: its end never comes.
    bool skipsWaits() const { return armed_ && kind_ == FaultKind::Busy; }

private:
    FaultyVfs();

    std::array<int, kAllFaultKinds.size()> calls_{};
    FaultKind kind_ = FaultKind::Open;
    int nth_ = 0;
    bool persistent_ = false;
    bool armed_ = false;
    bool fired_ = false;
};

// Arms the shim for one scope and disarms it at the end, whatever happens in between.
class ArmedFault {
public:
    ArmedFault(FaultKind kind, int nth, bool persistent = false) {
        FaultyVfs::instance().arm(kind, nth, persistent);
    }
    ~ArmedFault() { FaultyVfs::instance().disarm(); }
    ArmedFault(const ArmedFault&) = delete;
    ArmedFault& operator=(const ArmedFault&) = delete;
};
