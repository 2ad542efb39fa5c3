#include "platform/vkosfile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "host/hostfs.h"
#include "host/hostsym.h"
#include "host/vxworks.h"
#include "platform/send_evt.h"

uint8_t _writeFileCache[VKOS_WRITE_CACHE_SIZE];
int32_t _cacheIndex = 0;
int32_t W_cacheFileHandle = 0;

namespace {

constexpr int kEventError = 3;

// Joins a caller's file name onto the application directory.
bool joinName(const char* name, char* path) {
    return hostfs::pathCat(VKOS_APPLICATION_DIR, name, path) == 0;
}

// A failed open, create, rename or removal leaves its reason in the calling
// task's errno, as the target's I/O system does.
int keepErrno(int result) {
    if (result < 0) errnoSet(errno);
    return result;
}
// 0 stands for no file.
int openedOr0(int fd) { return keepErrno(fd) >= 0 ? fd : 0; }

bool validDescriptor(int fd) { return fd >= hostfs::kFirstDescriptor && fd <= hostfs::kLastDescriptor; }

// Writes len bytes, continuing after partial writes. Returns the number of
// bytes written before the first failure (all of them on success), or -1
// when the first write already failed.
long writeOut(int fd, const uint8_t* buffer, uint32_t length) {
    long done = 0;
    while (static_cast<uint32_t>(done) < length) {
        const long n = hostfs::write(fd, buffer + done, length - static_cast<uint32_t>(done));
        if (n <= 0) return done > 0 ? done : -1;
        done += n;
    }
    return done;
}

// Flushes the cache; true only when every cached byte reached the file.
bool flushComplete() {
    const int32_t cached = _cacheIndex;
    return VKOS_FlushCache() == cached;
}

// The console line and application event about a descriptor that cannot be
// valid. `what` is the name of the refusing operation.
void reportDescriptor(const char* what, int fd, const char* suffix, bool print) {
    const TASK_ID tid = taskIdSelf();
    const char* taskText = taskName(tid);
    char text[256];
    std::snprintf(text, sizeof text, "%s %d.  TaskID 0x%x,-%s%s\n", what, fd, static_cast<unsigned>(tid),
                  taskText ? taskText : "", suffix);
    if (print) std::printf("%s", text);
    SendAppEvent(kEventError, text);
}

// Opens name for reading and writing, or creates it when it cannot be
// opened; the descriptor is positioned at the end.
int openForAppending(const char* name) {
    const int fd = VKOS_OpenFileRW(name);
    if (fd == 0) return VKOS_CreateFileWrite(name);
    VKOS_seek(fd, 0);
    return fd;
}

}  // namespace

int VKOS_pathCat(const char* directory, const char* name, char* result) {
    return hostfs::pathCat(directory, name, result) == 0 ? 0 : 1;
}

void* VKOS_FindSymbol(const char* name) {
    void* addr = nullptr;
    if (VKSymFindByName(name, &addr) != OK) return nullptr;
    return addr;
}

int VKOS_CreateDirectory(const char* name) {
    char path[VKOS_PATH_MAX];
    if (!joinName(name, path)) return -1;
    return hostfs::mkdir(path) == 0 ? 0 : -1;
}

int VKOS_OpenFileRead(const char* name) {
    char path[VKOS_PATH_MAX];
    if (!joinName(name, path)) return 0;
    return openedOr0(hostfs::open(path, hostfs::kReadOnly, 0));
}

int VKOS_OpenFileRW(const char* name) {
    char path[VKOS_PATH_MAX];
    if (!joinName(name, path)) return 0;
    return openedOr0(hostfs::open(path, hostfs::kReadWrite, 0));
}

int VKOS_CreateFileRW(const char* name) {
    char path[VKOS_PATH_MAX];
    if (!joinName(name, path)) return 0;
    return openedOr0(hostfs::creat(path, hostfs::kReadWrite));
}

namespace {
// A file opened for writing takes the write cache when no other file has it.
int takeCache(int fd) {
    if (fd == 0) return 0;
    const int key = intLock();
    if (W_cacheFileHandle == 0) {
        _cacheIndex = 0;
        W_cacheFileHandle = fd;
    }
    intUnlock(key);
    return fd;
}
}  // namespace

int VKOS_CreateFileWrite(const char* name) {
    char path[VKOS_PATH_MAX];
    if (!joinName(name, path)) return 0;
    return takeCache(openedOr0(hostfs::creat(path, hostfs::kWriteOnly)));
}

int VKOS_CreateNewFileWrite(const char* name) {
    char path[VKOS_PATH_MAX];
    if (!joinName(name, path)) return 0;
    return takeCache(openedOr0(hostfs::open(path, hostfs::kWriteOnly | hostfs::kCreateExclusive, 0)));
}

int VKOS_OpenLogFileForAppending(const char* name, const char* backupName, uint32_t maxKB) {
    int fd = VKOS_OpenFileRW(name);
    if (fd == 0) return VKOS_CreateFileWrite(name);
    const long size = hostfs::lseek(fd, 0, hostfs::kSeekEnd);
    if (size < 0 || static_cast<uint64_t>(size) < uint64_t{maxKB} * 1024) return fd;

    VKOS_CloseFile(fd);
    // The rename replaces an old backup in one step. When the log cannot be
    // moved aside it is kept and appended to, never truncated.
    if (!VKOS_RenameFile(name, backupName)) return openForAppending(name);
    return VKOS_CreateFileWrite(name);
}

int VKOS_ReadFileBytes(int fd, void* buffer, uint32_t length) {
    return static_cast<int>(hostfs::read(fd, buffer, length));
}

int VKOS_ReadFile(int fd, void* buffer, uint32_t length) {
    const long n = hostfs::read(fd, buffer, length);
    return n >= 0 && static_cast<uint32_t>(n) == length ? 1 : 0;
}

int VKOS_WriteFile(int fd, const void* buffer, uint32_t length) {
    const bool cached = W_cacheFileHandle != 0 && fd == W_cacheFileHandle;
    if (cached && length < static_cast<uint32_t>(VKOS_WRITE_CACHE_SIZE)) {
        // A flush that did not write every cached byte loses data: the write
        // fails, so that the caller does not go on to rename a cut file.
        if (static_cast<uint32_t>(_cacheIndex) + length > static_cast<uint32_t>(VKOS_WRITE_CACHE_SIZE) &&
            !flushComplete())
            return 0;
        VKOS_CacheWrite(buffer, length);
        return 1;
    }
    if (cached && _cacheIndex > 0 && !flushComplete()) return 0;
    return writeOut(fd, static_cast<const uint8_t*>(buffer), length) == static_cast<long>(length) ? 1 : 0;
}

int VKOS_CacheWrite(const void* buffer, uint32_t length) {
    // Bounded, so that a caller other than VKOS_WriteFile cannot overrun it.
    if (length > static_cast<uint32_t>(VKOS_WRITE_CACHE_SIZE - _cacheIndex)) return 0;
    std::memcpy(_writeFileCache + _cacheIndex, buffer, length);
    _cacheIndex += static_cast<int32_t>(length);
    return static_cast<int>(length);
}

int VKOS_FlushCache() {
    long result = 0;
    if (W_cacheFileHandle != 0 && _cacheIndex > 0)
        result = writeOut(W_cacheFileHandle, _writeFileCache, static_cast<uint32_t>(_cacheIndex));
    _cacheIndex = 0;
    return static_cast<int>(result);
}

int VKOS_seek(int fd, int toStart) {
    hostfs::lseek(fd, 0, toStart != 0 ? hostfs::kSeekSet : hostfs::kSeekEnd);
    return 0;
}

int VKOS_GetFileSize(int fd, uint64_t* size) {
    hostfs::FileStat st{};
    if (hostfs::fstat(fd, &st) == 0) *size = st.size;
    return 0;
}

int VKOS_GetFileSize(int fd, uint32_t* size) {
    uint64_t whole = *size;
    VKOS_GetFileSize(fd, &whole);
    *size = static_cast<uint32_t>(whole);
    return 0;
}

int VKOS_GetFileDate(int fd, uint32_t* date) {
    hostfs::FileStat st{};
    if (hostfs::fstat(fd, &st) != 0) return 0;
    *date = st.mtime;
    return 1;
}

int VKOS_SetFileAttributes(int fd, int code) {
    uint8_t bit;
    bool set = true;
    switch (code) {
        case 1: case 2: case 4: case 8: case 16: case 32: bit = static_cast<uint8_t>(code); break;
        case 44: bit = 0x01; set = false; break;
        default: return 0;
    }
    hostfs::FileStat st{};
    if (hostfs::fstat(fd, &st) != 0) return -1;
    const uint8_t attributes = set ? (st.attributes | bit) : (st.attributes & ~bit);
    return hostfs::ioctl(fd, hostfs::kFioAttribSet, attributes) == 0 ? 0 : -1;
}

int VKOS_DriveSpaceAvailable(uint32_t bytes, int ramDrive) {
    using SpaceFn = int (*)(uint32_t);
    void* ram = ramDrive != 0 ? VKOS_FindSymbol("VKRAMDriveSpaceAvailable") : nullptr;
    const int r = ram != nullptr ? reinterpret_cast<SpaceFn>(ram)(bytes) : VKDriveSpaceAvailable(bytes);
    return r == 0 ? 1 : 0;
}

int VKOS_CloseFile(int fd) {
    bool flushed = true;
    if (W_cacheFileHandle != 0 && fd == W_cacheFileHandle) {
        flushed = flushComplete();
        W_cacheFileHandle = 0;
    }
    if (!validDescriptor(fd)) {
        reportDescriptor("VKOS_CloseFile", fd, "", true);
        return 1;
    }
    const bool closed = hostfs::close(fd) == 0;
    // Bytes of the cache that did not reach the file make the close fail.
    return closed && flushed ? 1 : 0;
}

int VKOS_CloseSocket(int fd) {
    if (fd == -1) return -1;
    if (!validDescriptor(fd)) {
        reportDescriptor("VKOS_CloseSocket", fd, "", true);
        return -1;
    }
    if (hostfs::socketShutdown(fd, 2) != 0) reportDescriptor("VKOS_CloseSocket", fd, " shutdown give back ERROR", false);
    return hostfs::socketClose(fd) == 0 ? 0 : -1;
}

int VKOS_CopyFile(const char* source, const char* destination) {
    char from[VKOS_PATH_MAX];
    char to[VKOS_PATH_MAX];
    if (!joinName(source, from) || !joinName(destination, to)) return 0;
    return hostfs::copy(from, to) == 0 ? 1 : 0;
}

int VKOS_RenameFile(const char* oldName, const char* newName) {
    char from[VKOS_PATH_MAX];
    char to[VKOS_PATH_MAX];
    if (!joinName(oldName, from) || !joinName(newName, to)) return 0;
    return keepErrno(hostfs::rename(from, to)) == 0 ? 1 : 0;
}

int VKOS_DeleteFile(const char* name) {
    char path[VKOS_PATH_MAX];
    if (!joinName(name, path)) return 0;
    return keepErrno(hostfs::remove(path)) == 0 ? 1 : 0;
}
