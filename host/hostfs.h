// The controller's file system on the host.
//
// Every application file lives under the target path
// "/HD1/Varnekar/Applications", which is mapped to a host directory given at
// start (default "./var"). The calls below are the target kernel's file
// calls the system needs, on target paths and target descriptors; they live
// in this namespace so that they do not collide with the C library's
// functions of the same names.
//
// Target descriptors are small numbers 3..255, as on the target: each maps
// to a host descriptor, whatever its number, so checks for a descriptor out
// of that range keep their meaning.
//
// A drive capacity can be set (tests of a full disk): writes that would
// make the files under the root exceed it are cut short and then fail with
// ENOSPC, as on a full drive.
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace hostfs {

constexpr const char* kApplicationRoot = "/HD1/Varnekar/Applications";
constexpr int kMaxPath = 256;        // longest target path, terminating NUL included
constexpr int kFirstDescriptor = 3;  // 0..2 are the console
constexpr int kLastDescriptor = 255;

// Access modes of open() and creat(), as on the target.
constexpr int kReadOnly = 0;
constexpr int kWriteOnly = 1;
constexpr int kReadWrite = 2;
// Flag of open(): the file is created anew, as on the target (O_CREAT |
// O_EXCL). Whatever stands under the name (a file, a directory, a symbolic
// link, also one that leads nowhere) makes the open fail with EEXIST; a
// link is never followed and nothing that exists is opened.
constexpr int kCreateExclusive = 0x0A00;
// Origins of lseek().
constexpr int kSeekSet = 0;
constexpr int kSeekCur = 1;
constexpr int kSeekEnd = 2;
// ioctl request that sets the DOS attribute byte of an open file.
constexpr int kFioAttribSet = 0x23;
// DOS attribute bits.
constexpr uint8_t kAttrReadOnly = 0x01;
constexpr uint8_t kAttrDirectory = 0x10;

// Maps the application root to `dir` (created when missing).
void setApplicationRoot(const std::string& dir);
std::string applicationRoot();
// Host path of a target path below the application root; empty when the
// path lies outside it or climbs out of it with "..".
std::string hostPath(const char* targetPath);

// Simulated drive size: the files under the root may hold at most `bytes`
// bytes; std::nullopt removes the limit (the host drive's free space counts).
void setCapacity(std::optional<uint64_t> bytes);
// Free bytes on the application drive.
uint64_t freeSpace();
// A drive that refuses to update its directory: while set, rename() fails
// with EIO and changes nothing (tests of a failed save).
void setRenameFault(bool failing);
// The same for the next `count` renames only (0 ends it).
void setRenameFaults(int count);
// A drive that fails in the middle of writing: once `bytes` more bytes were
// written to files, every write fails with EIO (a write across the point is
// cut short there); std::nullopt ends the fault (tests of failed writes).
void setWriteFault(std::optional<uint64_t> bytes);

// A drive whose cache cannot be written out: once `syncs` more files or
// directories were synced, every sync fails with EIO; std::nullopt ends
// the fault (tests of a failed save).
void setSyncFault(std::optional<uint64_t> syncs);

// Another program acting on the drive while a file is created: `hook` runs
// with the host path of the file just before each creation by open() with
// kCreateExclusive, after whatever the caller did first; an empty function
// ends it (tests of a name taken between its clearing and the creation).
void setCreateHook(std::function<void(const std::string& hostPath)> hook);

// pathCat: `dir` and `name` joined with one '/' into `result` (kMaxPath
// bytes). 0 on success; -1 when an argument is null or the result would not
// fit (the buffer is then left as an empty string).
int pathCat(const char* dir, const char* name, char* result);

// The target's file system holds regular files and directories only: a
// name that leads to anything else on the host (a named pipe, a device, a
// socket, also through a symbolic link) is refused by open() and creat()
// with this errno, without waiting for a writer or reader of a pipe.
constexpr int kNotAFile = ENODEV;

// File calls on target paths and descriptors: -1 with errno on failure.
// open() creates a file only with kCreateExclusive; remove() removes a
// file or a link, never a directory (EISDIR).
int open(const char* path, int flags, int mode);
int creat(const char* path, int flags);  // creates or truncates
long read(int fd, void* buf, size_t len);
long write(int fd, const void* buf, size_t len);
int close(int fd);
long lseek(int fd, long offset, int whence);

struct FileStat {
    uint64_t size;
    uint32_t mtime;      // seconds since 1970
    uint8_t attributes;  // DOS attribute byte
};
int fstat(int fd, FileStat* st);
// Only kFioAttribSet (arg: the new attribute byte) is provided.
int ioctl(int fd, int request, long arg);

int rename(const char* oldPath, const char* newPath);  // replaces newPath atomically
int remove(const char* path);
int mkdir(const char* path);
int copy(const char* fromPath, const char* toPath);

// Sockets share the target descriptors with files: a host socket is entered
// in the table (adoptSocket: its target descriptor, or -1 with EMFILE when
// every descriptor is taken, the host socket then closed), the socket calls
// of the host layer find the host socket again (hostDescriptor: -1 for a
// descriptor that is not open), and the OS services close it through these.
int adoptSocket(int hostFd);
int hostDescriptor(int fd);
// The same, and whether the socket was noted as listening since it was
// entered (noteListening, for the host socket `hostFd` that the descriptor
// still holds; a descriptor entered anew starts unnoted).
int hostDescriptor(int fd, bool* listening);
void noteListening(int fd, int hostFd);
int socketShutdown(int fd, int how);
int socketClose(int fd);

// Number of target descriptors open now (tests of leaks).
int openDescriptors();

}  // namespace hostfs

// Platform library: 0 when `bytes` bytes are free on the application drive,
// non-zero otherwise.
int VKDriveSpaceAvailable(uint32_t bytes);

// Platform library, found by name: syncs to the drive what the calling task
// changed since its last sync (the data of the files it created and closed,
// then the directories in which it renamed). 1 while the sync runs (ask
// again), 0 when it ended well or nothing was left to sync, -1 when it
// failed (the task's errno tells why).
int is_directory_sync_ee_file_active();
