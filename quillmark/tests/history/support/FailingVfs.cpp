#include "FailingVfs.h"

#include <sqlite3.h>

#include <cstring>

namespace qmtest {
namespace {

struct TWrappedFile {
    sqlite3_file base;
    sqlite3_file* real;  // follows this struct in the same allocation
};

TFailingVfsControl control;
sqlite3_vfs* realVfs = nullptr;
sqlite3_vfs failingVfs;
sqlite3_io_methods wrappedMethods;

sqlite3_file* Real(sqlite3_file* file) {
    return reinterpret_cast<TWrappedFile*>(file)->real;
}

int Close(sqlite3_file* file) {
    sqlite3_file* real = Real(file);
    return real->pMethods != nullptr ? real->pMethods->xClose(real) : SQLITE_OK;
}
int Read(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset) {
    return Real(file)->pMethods->xRead(Real(file), buffer, amount, offset);
}
// The code a write fails with now, SQLITE_OK to pass it on; counts down the failures left.
int WriteFailure() {
    const int code = control.writeError;
    if (code == SQLITE_OK) return SQLITE_OK;
    if (control.writeFailuresLeft >= 0 && control.writeFailuresLeft.fetch_sub(1) <= 0) {
        control.writeError = SQLITE_OK;
        control.writeFailuresLeft = -1;
        return SQLITE_OK;
    }
    return code;
}
bool FailingForGood() {
    return control.writeError != SQLITE_OK && control.writeFailuresLeft < 0;
}

int Write(sqlite3_file* file, const void* buffer, int amount, sqlite3_int64 offset) {
    if (const int code = WriteFailure(); code != SQLITE_OK) return code;
    return Real(file)->pMethods->xWrite(Real(file), buffer, amount, offset);
}
int Truncate(sqlite3_file* file, sqlite3_int64 size) {
    if (FailingForGood()) return SQLITE_IOERR_TRUNCATE;
    return Real(file)->pMethods->xTruncate(Real(file), size);
}
int Sync(sqlite3_file* file, int flags) {
    if (FailingForGood()) return SQLITE_IOERR_FSYNC;
    return Real(file)->pMethods->xSync(Real(file), flags);
}
int FileSize(sqlite3_file* file, sqlite3_int64* size) {
    return Real(file)->pMethods->xFileSize(Real(file), size);
}
int Lock(sqlite3_file* file, int level) {
    return Real(file)->pMethods->xLock(Real(file), level);
}
int Unlock(sqlite3_file* file, int level) {
    return Real(file)->pMethods->xUnlock(Real(file), level);
}
int CheckReservedLock(sqlite3_file* file, int* out) {
    return Real(file)->pMethods->xCheckReservedLock(Real(file), out);
}
int FileControl(sqlite3_file* file, int op, void* arg) {
    return Real(file)->pMethods->xFileControl(Real(file), op, arg);
}
int SectorSize(sqlite3_file* file) {
    return Real(file)->pMethods->xSectorSize(Real(file));
}
int DeviceCharacteristics(sqlite3_file* file) {
    return Real(file)->pMethods->xDeviceCharacteristics(Real(file));
}
int ShmMap(sqlite3_file* file, int region, int size, int extend, void volatile** out) {
    return Real(file)->pMethods->xShmMap(Real(file), region, size, extend, out);
}
int ShmLock(sqlite3_file* file, int offset, int n, int flags) {
    return Real(file)->pMethods->xShmLock(Real(file), offset, n, flags);
}
void ShmBarrier(sqlite3_file* file) {
    Real(file)->pMethods->xShmBarrier(Real(file));
}
int ShmUnmap(sqlite3_file* file, int deleteFlag) {
    return Real(file)->pMethods->xShmUnmap(Real(file), deleteFlag);
}

int Open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags) {
    auto* wrapped = reinterpret_cast<TWrappedFile*>(file);
    wrapped->base.pMethods = nullptr;
    if (control.refuseOpen) return SQLITE_CANTOPEN;
    wrapped->real = reinterpret_cast<sqlite3_file*>(wrapped + 1);
    const int rc = realVfs->xOpen(realVfs, name, wrapped->real, flags, outFlags);
    if (rc == SQLITE_OK) wrapped->base.pMethods = &wrappedMethods;
    return rc;
}

void Register() {
    realVfs = sqlite3_vfs_find(nullptr);
    failingVfs = *realVfs;
    failingVfs.zName = kFailingVfsName;
    failingVfs.szOsFile = static_cast<int>(sizeof(TWrappedFile)) + realVfs->szOsFile;
    failingVfs.xOpen = Open;
    failingVfs.pNext = nullptr;
    wrappedMethods = sqlite3_io_methods{2,
                                        Close,
                                        Read,
                                        Write,
                                        Truncate,
                                        Sync,
                                        FileSize,
                                        Lock,
                                        Unlock,
                                        CheckReservedLock,
                                        FileControl,
                                        SectorSize,
                                        DeviceCharacteristics,
                                        ShmMap,
                                        ShmLock,
                                        ShmBarrier,
                                        ShmUnmap,
                                        nullptr,
                                        nullptr};
    sqlite3_vfs_register(&failingVfs, 0);
}

}  // namespace

TFailingVfsControl& FailingVfs() {
    static const bool registered = (Register(), true);
    (void)registered;
    return control;
}

}  // namespace qmtest
