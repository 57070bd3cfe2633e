// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/faulty_disk.h"

#include <sqlite3.h>

#include <cstring>
#include <mutex>

namespace faulty_disk {

namespace {

enum class Call { Read, Write, Sync, Truncate, Lock, Delete };

const char* callName(Call call) {
    switch (call) {
        case Call::Read:
            return "read";
        case Call::Write:
            return "write";
        case Call::Sync:
            return "sync";
        case Call::Truncate:
            return "truncate";
        case Call::Lock:
            return "lock";
        case Call::Delete:
            return "delete";
    }
    return "";
}

int errorOf(Call call, Failure failure) {
    if (failure == Failure::DiskFull && (call == Call::Write || call == Call::Truncate))
        return SQLITE_FULL;
    switch (call) {
        case Call::Read:
            return SQLITE_IOERR_READ;
        case Call::Write:
            return SQLITE_IOERR_WRITE;
        case Call::Sync:
            return SQLITE_IOERR_FSYNC;
        case Call::Truncate:
            return SQLITE_IOERR_TRUNCATE;
        case Call::Lock:
            return SQLITE_IOERR_LOCK;
        case Call::Delete:
            return SQLITE_IOERR_DELETE;
    }
    return SQLITE_IOERR;
}

// What the disk does now; SQLite may call from several threads (the
// start-up backup has one of its own).
struct Plan {
    std::mutex lock;
    enum class Mode { PassThrough, Counting, Failing } mode = Mode::PassThrough;
    Failure failure = Failure::IoError;
    int failingCall = 0;
    int calls = 0;
    bool reached = false;
    bool crashed = false;
    QString reachedCall;
};

Plan& plan() {
    static Plan p;
    return p;
}

// SQLITE_OK to pass the call on, or the error it fails with.
int verdict(Call call) {
    Plan& p = plan();
    std::lock_guard<std::mutex> hold(p.lock);
    if (p.mode == Plan::Mode::PassThrough) return SQLITE_OK;
    if (p.crashed) return errorOf(call, Failure::IoError);
    ++p.calls;
    if (p.mode != Plan::Mode::Failing || p.calls != p.failingCall) return SQLITE_OK;
    p.reached = true;
    p.reachedCall = QString::fromLatin1(callName(call));
    if (p.failure == Failure::Crash) p.crashed = true;
    return errorOf(call, p.failure);
}

bool crashed() {
    std::lock_guard<std::mutex> hold(plan().lock);
    return plan().crashed;
}

sqlite3_vfs* realVfs = nullptr;

// Our file, with the real one's state right behind it.
struct File {
    sqlite3_file base;
    sqlite3_file* real() { return reinterpret_cast<sqlite3_file*>(this + 1); }
};
File* ours(sqlite3_file* f) { return reinterpret_cast<File*>(f); }
sqlite3_file* real(sqlite3_file* f) { return ours(f)->real(); }

int close(sqlite3_file* f) { return real(f)->pMethods->xClose(real(f)); }
int read(sqlite3_file* f, void* into, int amount, sqlite3_int64 at) {
    if (int rc = verdict(Call::Read)) return rc;
    return real(f)->pMethods->xRead(real(f), into, amount, at);
}
int write(sqlite3_file* f, const void* from, int amount, sqlite3_int64 at) {
    if (int rc = verdict(Call::Write)) return rc;
    return real(f)->pMethods->xWrite(real(f), from, amount, at);
}
int truncate(sqlite3_file* f, sqlite3_int64 size) {
    if (int rc = verdict(Call::Truncate)) return rc;
    return real(f)->pMethods->xTruncate(real(f), size);
}
// Counted, never made: the crashes are this layer's, not the machine's, and
// a real sync would only cost time.
int sync(sqlite3_file*, int) { return verdict(Call::Sync); }
int fileSize(sqlite3_file* f, sqlite3_int64* size) {
    return real(f)->pMethods->xFileSize(real(f), size);
}
int lock(sqlite3_file* f, int level) {
    if (int rc = verdict(Call::Lock)) return rc;
    return real(f)->pMethods->xLock(real(f), level);
}
// Let go even after a crash: the system frees a dead program's locks.
int unlock(sqlite3_file* f, int level) { return real(f)->pMethods->xUnlock(real(f), level); }
int checkReservedLock(sqlite3_file* f, int* out) {
    return real(f)->pMethods->xCheckReservedLock(real(f), out);
}
int fileControl(sqlite3_file* f, int op, void* arg) {
    return real(f)->pMethods->xFileControl(real(f), op, arg);
}
int sectorSize(sqlite3_file* f) { return real(f)->pMethods->xSectorSize(real(f)); }
int deviceCharacteristics(sqlite3_file* f) {
    return real(f)->pMethods->xDeviceCharacteristics(real(f));
}
int shmMap(sqlite3_file* f, int region, int size, int extend, void volatile** out) {
    return real(f)->pMethods->xShmMap(real(f), region, size, extend, out);
}
int shmLock(sqlite3_file* f, int offset, int n, int flags) {
    return real(f)->pMethods->xShmLock(real(f), offset, n, flags);
}
void shmBarrier(sqlite3_file* f) { real(f)->pMethods->xShmBarrier(real(f)); }
int shmUnmap(sqlite3_file* f, int deleteFlag) {
    return real(f)->pMethods->xShmUnmap(real(f), deleteFlag);
}
// No memory-mapped pages: every page goes through read and write.
int fetch(sqlite3_file*, sqlite3_int64, int, void** out) {
    *out = nullptr;
    return SQLITE_OK;
}
int unfetch(sqlite3_file*, sqlite3_int64, void*) { return SQLITE_OK; }

const sqlite3_io_methods methods = {3,
                                    close,
                                    read,
                                    write,
                                    truncate,
                                    sync,
                                    fileSize,
                                    lock,
                                    unlock,
                                    checkReservedLock,
                                    fileControl,
                                    sectorSize,
                                    deviceCharacteristics,
                                    shmMap,
                                    shmLock,
                                    shmBarrier,
                                    shmUnmap,
                                    fetch,
                                    unfetch};

int open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* f, int flags, int* outFlags) {
    f->pMethods = nullptr;
    // A dead program makes no files.
    if (crashed()) return SQLITE_CANTOPEN;
    const int rc = realVfs->xOpen(realVfs, name, real(f), flags, outFlags);
    if (rc == SQLITE_OK) f->pMethods = &methods;
    return rc;
}
int remove(sqlite3_vfs*, const char* name, int) {
    if (int rc = verdict(Call::Delete)) return rc;
    return realVfs->xDelete(realVfs, name, 0);
}
int access(sqlite3_vfs*, const char* name, int flags, int* out) {
    return realVfs->xAccess(realVfs, name, flags, out);
}
int fullPathname(sqlite3_vfs*, const char* name, int size, char* out) {
    return realVfs->xFullPathname(realVfs, name, size, out);
}
void* dlOpen(sqlite3_vfs*, const char* name) { return realVfs->xDlOpen(realVfs, name); }
void dlError(sqlite3_vfs*, int size, char* out) { realVfs->xDlError(realVfs, size, out); }
void (*dlSym(sqlite3_vfs*, void* handle, const char* symbol))(void) {
    return realVfs->xDlSym(realVfs, handle, symbol);
}
void dlClose(sqlite3_vfs*, void* handle) { realVfs->xDlClose(realVfs, handle); }
int randomness(sqlite3_vfs*, int size, char* out) {
    return realVfs->xRandomness(realVfs, size, out);
}
int sleep(sqlite3_vfs*, int micro) { return realVfs->xSleep(realVfs, micro); }
int currentTime(sqlite3_vfs*, double* out) { return realVfs->xCurrentTime(realVfs, out); }
int lastError(sqlite3_vfs*, int size, char* out) {
    return realVfs->xGetLastError ? realVfs->xGetLastError(realVfs, size, out) : 0;
}
int currentTimeInt64(sqlite3_vfs*, sqlite3_int64* out) {
    return realVfs->xCurrentTimeInt64(realVfs, out);
}

sqlite3_vfs vfs;

}  // namespace

void install() {
    static std::once_flag once;
    std::call_once(once, [] {
        sqlite3_initialize();
        realVfs = sqlite3_vfs_find(nullptr);
        vfs = sqlite3_vfs{};
        vfs.iVersion = 2;
        vfs.szOsFile = int(sizeof(File)) + realVfs->szOsFile;
        vfs.mxPathname = realVfs->mxPathname;
        vfs.zName = "faulty-disk";
        vfs.xOpen = open;
        vfs.xDelete = remove;
        vfs.xAccess = access;
        vfs.xFullPathname = fullPathname;
        vfs.xDlOpen = dlOpen;
        vfs.xDlError = dlError;
        vfs.xDlSym = dlSym;
        vfs.xDlClose = dlClose;
        vfs.xRandomness = randomness;
        vfs.xSleep = sleep;
        vfs.xCurrentTime = currentTime;
        vfs.xGetLastError = lastError;
        vfs.xCurrentTimeInt64 = currentTimeInt64;
        sqlite3_vfs_register(&vfs, /*makeDflt=*/1);
    });
}

namespace {
void arm(Plan::Mode mode, int n, Failure failure) {
    Plan& p = plan();
    std::lock_guard<std::mutex> hold(p.lock);
    p.mode = mode;
    p.failingCall = n;
    p.failure = failure;
    p.calls = 0;
    p.reached = false;
    p.crashed = false;
    p.reachedCall.clear();
}
}  // namespace

void failAt(int n, Failure failure) { arm(Plan::Mode::Failing, n, failure); }
void count() { arm(Plan::Mode::Counting, 0, Failure::IoError); }
void disarm() {
    std::lock_guard<std::mutex> hold(plan().lock);
    plan().mode = Plan::Mode::PassThrough;
    plan().crashed = false;
}

int calls() {
    std::lock_guard<std::mutex> hold(plan().lock);
    return plan().calls;
}
bool reached() {
    std::lock_guard<std::mutex> hold(plan().lock);
    return plan().reached;
}
QString reachedCall() {
    std::lock_guard<std::mutex> hold(plan().lock);
    return plan().reachedCall;
}

}  // namespace faulty_disk
