// The fault-injecting VFS: every file method forwards to the default VFS's file.
#include "faults/faultyvfs.h"

#include <sqlite3.h>

#include <stdexcept>

namespace {

sqlite3_vfs* plainVfs = nullptr;

// Our file object, followed in the same allocation by the plain VFS's own file object.
struct FaultyFile {
    sqlite3_file base;
    sqlite3_file* real;
};

sqlite3_file* real(sqlite3_file* file) {
    return reinterpret_cast<FaultyFile*>(file)->real;
}

bool failNow(FaultKind kind) {
    return FaultyVfs::instance().shouldFail(kind);
}

int fileClose(sqlite3_file* file) {
    const int rc = real(file)->pMethods->xClose(real(file));
    file->pMethods = nullptr;
    return rc;
}

int fileRead(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset) {
    if (failNow(FaultKind::Read)) return SQLITE_IOERR_READ;
    return real(file)->pMethods->xRead(real(file), buffer, amount, offset);
}

int fileWrite(sqlite3_file* file, const void* buffer, int amount, sqlite3_int64 offset) {
    if (failNow(FaultKind::Write)) return SQLITE_IOERR_WRITE;
    return real(file)->pMethods->xWrite(real(file), buffer, amount, offset);
}

int fileTruncate(sqlite3_file* file, sqlite3_int64 size) {
    return real(file)->pMethods->xTruncate(real(file), size);
}

int fileSync(sqlite3_file* file, int flags) {
    if (failNow(FaultKind::Sync)) return SQLITE_IOERR_FSYNC;
    return real(file)->pMethods->xSync(real(file), flags);
}

int fileSize(sqlite3_file* file, sqlite3_int64* size) {
    return real(file)->pMethods->xFileSize(real(file), size);
}

int fileLock(sqlite3_file* file, int level) {
    if (failNow(FaultKind::Lock)) return SQLITE_IOERR_LOCK;
    if (failNow(FaultKind::Busy)) return SQLITE_BUSY;
    return real(file)->pMethods->xLock(real(file), level);
}

int fileUnlock(sqlite3_file* file, int level) {
    return real(file)->pMethods->xUnlock(real(file), level);
}

int fileCheckReservedLock(sqlite3_file* file, int* reserved) {
    return real(file)->pMethods->xCheckReservedLock(real(file), reserved);
}

int fileControl(sqlite3_file* file, int op, void* argument) {
    return real(file)->pMethods->xFileControl(real(file), op, argument);
}

int fileSectorSize(sqlite3_file* file) {
    return real(file)->pMethods->xSectorSize(real(file));
}

int fileDeviceCharacteristics(sqlite3_file* file) {
    return real(file)->pMethods->xDeviceCharacteristics(real(file));
}

int fileShmMap(sqlite3_file* file, int page, int size, int extend, void volatile** memory) {
    return real(file)->pMethods->xShmMap(real(file), page, size, extend, memory);
}

int fileShmLock(sqlite3_file* file, int offset, int n, int flags) {
    return real(file)->pMethods->xShmLock(real(file), offset, n, flags);
}

void fileShmBarrier(sqlite3_file* file) {
    real(file)->pMethods->xShmBarrier(real(file));
}

int fileShmUnmap(sqlite3_file* file, int deleteFlag) {
    return real(file)->pMethods->xShmUnmap(real(file), deleteFlag);
}

int fileFetch(sqlite3_file* file, sqlite3_int64 offset, int amount, void** page) {
    return real(file)->pMethods->xFetch(real(file), offset, amount, page);
}

int fileUnfetch(sqlite3_file* file, sqlite3_int64 offset, void* page) {
    return real(file)->pMethods->xUnfetch(real(file), offset, page);
}

const sqlite3_io_methods faultyMethods = {
    3,
    fileClose,
    fileRead,
    fileWrite,
    fileTruncate,
    fileSync,
    fileSize,
    fileLock,
    fileUnlock,
    fileCheckReservedLock,
    fileControl,
    fileSectorSize,
    fileDeviceCharacteristics,
    fileShmMap,
    fileShmLock,
    fileShmBarrier,
    fileShmUnmap,
    fileFetch,
    fileUnfetch,
};

int vfsOpen(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags) {
    auto* faulty = reinterpret_cast<FaultyFile*>(file);
    faulty->real = reinterpret_cast<sqlite3_file*>(faulty + 1);
    faulty->real->pMethods = nullptr;
    file->pMethods = nullptr;
    if (failNow(FaultKind::Open)) return SQLITE_CANTOPEN;
    const int rc = plainVfs->xOpen(plainVfs, name, faulty->real, flags, outFlags);
    // SQLite closes a file only when its methods are set, even after a failed open.
    if (faulty->real->pMethods) file->pMethods = &faultyMethods;
    return rc;
}

int vfsDelete(sqlite3_vfs*, const char* name, int syncDir) {
    return plainVfs->xDelete(plainVfs, name, syncDir);
}

int vfsAccess(sqlite3_vfs*, const char* name, int flags, int* result) {
    return plainVfs->xAccess(plainVfs, name, flags, result);
}

int vfsFullPathname(sqlite3_vfs*, const char* name, int size, char* out) {
    return plainVfs->xFullPathname(plainVfs, name, size, out);
}

void* vfsDlOpen(sqlite3_vfs*, const char* name) {
    return plainVfs->xDlOpen(plainVfs, name);
}

void vfsDlError(sqlite3_vfs*, int size, char* message) {
    plainVfs->xDlError(plainVfs, size, message);
}

void (*vfsDlSym(sqlite3_vfs*, void* handle, const char* symbol))(void) {
    return plainVfs->xDlSym(plainVfs, handle, symbol);
}

void vfsDlClose(sqlite3_vfs*, void* handle) {
    plainVfs->xDlClose(plainVfs, handle);
}

int vfsRandomness(sqlite3_vfs*, int size, char* out) {
    return plainVfs->xRandomness(plainVfs, size, out);
}

int vfsSleep(sqlite3_vfs*, int microseconds) {
    if (FaultyVfs::instance().skipsWaits()) return microseconds;
    return plainVfs->xSleep(plainVfs, microseconds);
}

int vfsCurrentTime(sqlite3_vfs*, double* now) {
    return plainVfs->xCurrentTime(plainVfs, now);
}

int vfsGetLastError(sqlite3_vfs*, int size, char* message) {
    return plainVfs->xGetLastError(plainVfs, size, message);
}

int vfsCurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* now) {
    return plainVfs->xCurrentTimeInt64(plainVfs, now);
}

sqlite3_vfs faultyVfs;

void registerFaultyVfs() {
    plainVfs = sqlite3_vfs_find(nullptr);
    if (!plainVfs) throw std::runtime_error("no default SQLite VFS");
    faultyVfs = sqlite3_vfs{};
    faultyVfs.iVersion = 2;
    faultyVfs.szOsFile = static_cast<int>(sizeof(FaultyFile)) + plainVfs->szOsFile;
    faultyVfs.mxPathname = plainVfs->mxPathname;
    faultyVfs.zName = "scadex-faults";
    faultyVfs.xOpen = vfsOpen;
    faultyVfs.xDelete = vfsDelete;
    faultyVfs.xAccess = vfsAccess;
    faultyVfs.xFullPathname = vfsFullPathname;
    faultyVfs.xDlOpen = vfsDlOpen;
    faultyVfs.xDlError = vfsDlError;
    faultyVfs.xDlSym = vfsDlSym;
    faultyVfs.xDlClose = vfsDlClose;
    faultyVfs.xRandomness = vfsRandomness;
    faultyVfs.xSleep = vfsSleep;
    faultyVfs.xCurrentTime = vfsCurrentTime;
    faultyVfs.xGetLastError = vfsGetLastError;
    faultyVfs.xCurrentTimeInt64 = vfsCurrentTimeInt64;
    if (sqlite3_vfs_register(&faultyVfs, 1) != SQLITE_OK)
        throw std::runtime_error("the fault-injecting VFS cannot be registered");
}

}  // namespace

QString faultKindName(FaultKind kind) {
    switch (kind) {
        case FaultKind::Open:
            return QStringLiteral("Open");
        case FaultKind::Read:
            return QStringLiteral("Read");
        case FaultKind::Write:
            return QStringLiteral("Write");
        case FaultKind::Sync:
            return QStringLiteral("Sync");
        case FaultKind::Lock:
            return QStringLiteral("Lock");
        case FaultKind::Busy:
            return QStringLiteral("Busy");
    }
    return {};
}

FaultyVfs& FaultyVfs::instance() {
    static FaultyVfs vfs;
    return vfs;
}

FaultyVfs::FaultyVfs() {
    registerFaultyVfs();
}

void FaultyVfs::arm(FaultKind kind, int nth, bool persistent) {
    calls_.fill(0);
    kind_ = kind;
    nth_ = nth;
    persistent_ = persistent;
    armed_ = nth > 0;
    fired_ = false;
}

void FaultyVfs::disarm() {
    armed_ = false;
}

int FaultyVfs::calls(FaultKind kind) const {
    return calls_[static_cast<size_t>(kind)];
}

bool FaultyVfs::shouldFail(FaultKind kind) {
    const int call = ++calls_[static_cast<size_t>(kind)];
    if (!armed_ || kind != kind_) return false;
    if (call == nth_ || (persistent_ && call > nth_)) {
        fired_ = true;
        return true;
    }
    return false;
}
