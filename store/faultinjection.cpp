// A pass-through SQLite file system that fails the Nth write or sync.
#include "store/faultinjection.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <sqlite3.h>

namespace tz::faultinjection {

namespace {

enum class Fault { None, Write, Sync, Full };

struct Plan {
    Fault fault = Fault::None;
    long nth = 0;
};

// TZ305_FAIL_IO as "write:N", "sync:N" or "full:N" with N >= 1.
Plan planFromEnvironment()
{
    const char *text = std::getenv("TZ305_FAIL_IO");
    if (text == nullptr)
        return {};
    const char *colon = std::strchr(text, ':');
    if (colon == nullptr)
        return {};
    const long nth = std::strtol(colon + 1, nullptr, 10);
    const size_t length = size_t(colon - text);
    Plan plan;
    plan.nth = nth;
    if (length == 5 && std::strncmp(text, "write", 5) == 0)
        plan.fault = Fault::Write;
    else if (length == 4 && std::strncmp(text, "sync", 4) == 0)
        plan.fault = Fault::Sync;
    else if (length == 4 && std::strncmp(text, "full", 4) == 0)
        plan.fault = Fault::Full;
    return nth >= 1 ? plan : Plan{};
}

const Plan &plan()
{
    static const Plan planned = planFromEnvironment();
    return planned;
}

std::atomic<long> writes{0};
std::atomic<long> syncs{0};

// The sweep tells from this line that the fault was met (a run that ends
// before the Nth write or sync meets none).
void announce(const char *what, long nth)
{
    std::fprintf(stderr, "tz305-faults: %s %ld failed\n", what, nth);
}

// The fault this write meets: None, Write or Full.
Fault nextWrite()
{
    const Plan &p = plan();
    if ((p.fault != Fault::Write && p.fault != Fault::Full) || ++writes != p.nth)
        return Fault::None;
    announce(p.fault == Fault::Write ? "write" : "full", p.nth);
    return p.fault;
}

bool nextSyncFails()
{
    const Plan &p = plan();
    if (p.fault != Fault::Sync || ++syncs != p.nth)
        return false;
    announce("sync", p.nth);
    return true;
}

// The wrapped file: ours first, the default file system's right after it.
struct File {
    sqlite3_file base;
    sqlite3_file *real;
};

sqlite3_vfs *underlying = nullptr;
sqlite3_vfs shim;
sqlite3_io_methods methods;

sqlite3_file *realOf(sqlite3_file *file)
{
    return reinterpret_cast<File *>(file)->real;
}

int fileClose(sqlite3_file *file)
{
    sqlite3_file *real = realOf(file);
    const int rc = real->pMethods ? real->pMethods->xClose(real) : SQLITE_OK;
    file->pMethods = nullptr;
    return rc;
}

int fileRead(sqlite3_file *file, void *data, int amount, sqlite3_int64 offset)
{
    sqlite3_file *real = realOf(file);
    return real->pMethods->xRead(real, data, amount, offset);
}

int fileWrite(sqlite3_file *file, const void *data, int amount, sqlite3_int64 offset)
{
    // errno as a failed write(2) or fsync(2) leaves it, which SQLite reports as the system error.
    switch (nextWrite()) {
    case Fault::Write:
        errno = EIO;
        return SQLITE_IOERR_WRITE;
    case Fault::Full:
        errno = ENOSPC;
        return SQLITE_FULL;
    default:
        break;
    }
    sqlite3_file *real = realOf(file);
    return real->pMethods->xWrite(real, data, amount, offset);
}

int fileTruncate(sqlite3_file *file, sqlite3_int64 size)
{
    sqlite3_file *real = realOf(file);
    return real->pMethods->xTruncate(real, size);
}

int fileSync(sqlite3_file *file, int flags)
{
    if (nextSyncFails()) {
        errno = EIO;
        return SQLITE_IOERR_FSYNC;
    }
    sqlite3_file *real = realOf(file);
    return real->pMethods->xSync(real, flags);
}

int fileSize(sqlite3_file *file, sqlite3_int64 *size)
{
    sqlite3_file *real = realOf(file);
    return real->pMethods->xFileSize(real, size);
}

int fileLock(sqlite3_file *file, int level)
{
    sqlite3_file *real = realOf(file);
    return real->pMethods->xLock(real, level);
}

int fileUnlock(sqlite3_file *file, int level)
{
    sqlite3_file *real = realOf(file);
    return real->pMethods->xUnlock(real, level);
}

int fileCheckReservedLock(sqlite3_file *file, int *result)
{
    sqlite3_file *real = realOf(file);
    return real->pMethods->xCheckReservedLock(real, result);
}

int fileControl(sqlite3_file *file, int op, void *arg)
{
    sqlite3_file *real = realOf(file);
    return real->pMethods->xFileControl(real, op, arg);
}

int fileSectorSize(sqlite3_file *file)
{
    sqlite3_file *real = realOf(file);
    return real->pMethods->xSectorSize(real);
}

int fileDeviceCharacteristics(sqlite3_file *file)
{
    sqlite3_file *real = realOf(file);
    return real->pMethods->xDeviceCharacteristics(real);
}

int fileShmMap(sqlite3_file *file, int page, int size, int extend, void volatile **memory)
{
    sqlite3_file *real = realOf(file);
    return real->pMethods->xShmMap(real, page, size, extend, memory);
}

int fileShmLock(sqlite3_file *file, int offset, int n, int flags)
{
    sqlite3_file *real = realOf(file);
    return real->pMethods->xShmLock(real, offset, n, flags);
}

void fileShmBarrier(sqlite3_file *file)
{
    sqlite3_file *real = realOf(file);
    real->pMethods->xShmBarrier(real);
}

int fileShmUnmap(sqlite3_file *file, int deleteFlag)
{
    sqlite3_file *real = realOf(file);
    return real->pMethods->xShmUnmap(real, deleteFlag);
}

int fileFetch(sqlite3_file *file, sqlite3_int64 offset, int amount, void **pages)
{
    sqlite3_file *real = realOf(file);
    return real->pMethods->xFetch(real, offset, amount, pages);
}

int fileUnfetch(sqlite3_file *file, sqlite3_int64 offset, void *page)
{
    sqlite3_file *real = realOf(file);
    return real->pMethods->xUnfetch(real, offset, page);
}

int shimOpen(sqlite3_vfs *, sqlite3_filename name, sqlite3_file *file, int flags, int *outFlags)
{
    auto *wrapped = reinterpret_cast<File *>(file);
    wrapped->real = reinterpret_cast<sqlite3_file *>(wrapped + 1);
    wrapped->base.pMethods = nullptr;
    const int rc = underlying->xOpen(underlying, name, wrapped->real, flags, outFlags);
    // SQLite calls xClose only when pMethods is set; the default file
    // system leaves it unset on failure.
    if (wrapped->real->pMethods != nullptr)
        wrapped->base.pMethods = &methods;
    return rc;
}

int shimDelete(sqlite3_vfs *, const char *name, int syncDir)
{
    return underlying->xDelete(underlying, name, syncDir);
}

int shimAccess(sqlite3_vfs *, const char *name, int flags, int *result)
{
    return underlying->xAccess(underlying, name, flags, result);
}

int shimFullPathname(sqlite3_vfs *, const char *name, int size, char *out)
{
    return underlying->xFullPathname(underlying, name, size, out);
}

void *shimDlOpen(sqlite3_vfs *, const char *name)
{
    return underlying->xDlOpen(underlying, name);
}

void shimDlError(sqlite3_vfs *, int size, char *message)
{
    underlying->xDlError(underlying, size, message);
}

void (*shimDlSym(sqlite3_vfs *, void *handle, const char *symbol))(void)
{
    return underlying->xDlSym(underlying, handle, symbol);
}

void shimDlClose(sqlite3_vfs *, void *handle)
{
    underlying->xDlClose(underlying, handle);
}

int shimRandomness(sqlite3_vfs *, int size, char *out)
{
    return underlying->xRandomness(underlying, size, out);
}

int shimSleep(sqlite3_vfs *, int microseconds)
{
    return underlying->xSleep(underlying, microseconds);
}

int shimCurrentTime(sqlite3_vfs *, double *now)
{
    return underlying->xCurrentTime(underlying, now);
}

int shimGetLastError(sqlite3_vfs *, int size, char *out)
{
    return underlying->xGetLastError(underlying, size, out);
}

int shimCurrentTimeInt64(sqlite3_vfs *, sqlite3_int64 *now)
{
    return underlying->xCurrentTimeInt64(underlying, now);
}

// Registers the shim as the default file system before main() runs, so
// every connection the program opens writes through it.
struct Registration {
    Registration()
    {
        underlying = sqlite3_vfs_find(nullptr);
        if (underlying == nullptr)
            return;
        methods = sqlite3_io_methods{3, fileClose, fileRead, fileWrite, fileTruncate, fileSync, fileSize,
                                     fileLock, fileUnlock, fileCheckReservedLock, fileControl, fileSectorSize,
                                     fileDeviceCharacteristics, fileShmMap, fileShmLock, fileShmBarrier,
                                     fileShmUnmap, fileFetch, fileUnfetch};
        shim = *underlying;
        shim.iVersion = 2;
        shim.szOsFile = int(sizeof(File)) + underlying->szOsFile;
        shim.pNext = nullptr;
        shim.zName = "tz305-faults";
        shim.pAppData = nullptr;
        shim.xOpen = shimOpen;
        shim.xDelete = shimDelete;
        shim.xAccess = shimAccess;
        shim.xFullPathname = shimFullPathname;
        shim.xDlOpen = shimDlOpen;
        shim.xDlError = shimDlError;
        shim.xDlSym = shimDlSym;
        shim.xDlClose = shimDlClose;
        shim.xRandomness = shimRandomness;
        shim.xSleep = shimSleep;
        shim.xCurrentTime = shimCurrentTime;
        shim.xGetLastError = shimGetLastError;
        shim.xCurrentTimeInt64 = shimCurrentTimeInt64;
        sqlite3_vfs_register(&shim, 1);
    }
};

const Registration registration;

} // namespace

int failWrite()
{
    switch (nextWrite()) {
    case Fault::Write:
        return EIO;
    case Fault::Full:
        return ENOSPC;
    default:
        return 0;
    }
}

int failFinish(bool writtenByPath)
{
    if (writtenByPath)
        if (const int error = failWrite())
            return error;
    return nextSyncFails() ? EIO : 0;
}

} // namespace tz::faultinjection

// Referenced by the linker option TZ305_FAULT_INJECTION adds, so every
// program that links the core library starts with the shim registered.
extern "C" const int tz305FaultInjectionAnchor = 1;
