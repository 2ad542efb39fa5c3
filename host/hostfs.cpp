#include "host/hostfs.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <utility>

#include "host/hostkernel.h"

namespace fs = std::filesystem;

namespace {

struct State {
    std::mutex m;
    std::string root = "./var";
    bool rootMade = false;
    std::optional<uint64_t> capacity;
    bool renameFault = false;
    int renameFaults = 0;  // renames still to fail
    std::optional<uint64_t> writesLeft;  // bytes until writes fail
    std::optional<uint64_t> syncsLeft;   // syncs until syncs fail
    std::function<void(const std::string&)> createHook;  // runs before each exclusive creation
    // Host path of each file created for writing, by target descriptor.
    std::array<std::string, hostfs::kLastDescriptor + 1> created;
    // What each task changed and has not synced yet: files it wrote and
    // closed, directories whose entries it renamed.
    struct Pending {
        std::set<std::string> files, dirs;
    };
    std::map<TASK_ID, Pending> pending;
    // A sync running or ended but not yet asked for, by task.
    struct SyncJob {
        std::atomic<bool> done{false};
        int err = 0;
    };
    std::map<TASK_ID, std::shared_ptr<SyncJob>> syncs;
    std::array<int, hostfs::kLastDescriptor + 1> hostFds;  // target descriptor -> host descriptor
    std::array<bool, hostfs::kLastDescriptor + 1> listening{};  // noted listening since entered
    // DOS attribute bits with no host equivalent, by (device, inode).
    std::map<std::pair<dev_t, ino_t>, uint8_t> attributes;
    State() { hostFds.fill(-1); }
};

State& state() {
    static State s;
    return s;
}

int fail(int err) {
    errno = err;
    return -1;
}

// Root directory, created at first use. Caller holds the lock.
std::string rootLocked(State& s) {
    if (!s.rootMade) {
        std::error_code ec;
        fs::create_directories(s.root, ec);
        s.rootMade = true;
    }
    return s.root;
}

int hostFd(int fd) {
    if (fd < hostfs::kFirstDescriptor || fd > hostfs::kLastDescriptor) return -1;
    State& s = state();
    std::lock_guard<std::mutex> lock(s.m);
    return s.hostFds[fd];
}

// Enters a host descriptor in the lowest free target slot; closes it and
// fails with EMFILE when every slot is taken.
int adopt(int h) {
    State& s = state();
    {
        std::lock_guard<std::mutex> lock(s.m);
        for (int fd = hostfs::kFirstDescriptor; fd <= hostfs::kLastDescriptor; ++fd) {
            if (s.hostFds[fd] < 0) {
                s.hostFds[fd] = h;
                s.listening[fd] = false;
                return fd;
            }
        }
    }
    ::close(h);
    return fail(EMFILE);
}

uint64_t usedBytes(const std::string& root) {
    uint64_t total = 0;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        std::error_code sec;
        if (it->is_regular_file(sec)) {
            const auto size = it->file_size(sec);
            if (!sec) total += size;
        }
    }
    return total;
}

// The part of a write of len bytes that the failing drive still takes.
size_t writableBeforeFault(size_t len) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.m);
    if (!s.writesLeft) return len;
    const size_t n = static_cast<size_t>(std::min<uint64_t>(len, *s.writesLeft));
    *s.writesLeft -= n;
    return n;
}

// write() on a host descriptor, cut short where the simulated drive is full.
long writeHost(int h, const void* buf, size_t len) {
    if (len > 0) {
        const size_t n = writableBeforeFault(len);
        if (n == 0) return fail(EIO);
        len = n;
    }
    if (len > 0 && state().capacity) {
        struct stat st{};
        const off_t pos = ::lseek(h, 0, SEEK_CUR);
        if (pos >= 0 && ::fstat(h, &st) == 0 && S_ISREG(st.st_mode)) {
            const uint64_t end = static_cast<uint64_t>(pos) + len;
            const uint64_t size = static_cast<uint64_t>(st.st_size);
            const uint64_t growth = end > size ? end - size : 0;
            const uint64_t space = hostfs::freeSpace();
            if (growth > space) {
                const uint64_t over = growth - space;
                if (over >= len) return fail(ENOSPC);
                len -= static_cast<size_t>(over);
            }
        }
    }
    return ::write(h, buf, len);
}

uint8_t attributesOf(const struct stat& st) {
    State& s = state();
    uint8_t a = 0;
    {
        std::lock_guard<std::mutex> lock(s.m);
        auto it = s.attributes.find({st.st_dev, st.st_ino});
        if (it != s.attributes.end()) a = it->second;
    }
    if ((st.st_mode & S_IWUSR) == 0) a |= hostfs::kAttrReadOnly;
    if (S_ISDIR(st.st_mode)) a |= hostfs::kAttrDirectory;
    return a;
}

// A file or folder made anew may take the inode of one removed before: it
// starts without the attributes kept for that one.
void forgetAttributes(const std::string& hp) {
    struct stat st{};
    if (::stat(hp.c_str(), &st) != 0) return;
    State& s = state();
    std::lock_guard<std::mutex> lock(s.m);
    s.attributes.erase({st.st_dev, st.st_ino});
}

bool exists(const std::string& hp) {
    struct stat st{};
    return ::lstat(hp.c_str(), &st) == 0;
}

int accessFlags(int flags) {
    switch (flags & 3) {
        case hostfs::kWriteOnly: return O_WRONLY;
        case hostfs::kReadWrite: return O_RDWR;
        default: return O_RDONLY;
    }
}


// fsync of one host file or directory (opened without following a link);
// 0, or the errno of the failure. A name gone meanwhile has nothing to sync.
int syncOne(const std::string& hp, bool directory) {
    {
        State& s = state();
        std::lock_guard<std::mutex> lock(s.m);
        if (s.syncsLeft) {
            if (*s.syncsLeft == 0) return EIO;
            --*s.syncsLeft;
        }
    }
    const int h = ::open(hp.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | (directory ? O_DIRECTORY : 0));
    if (h < 0) return errno == ENOENT ? 0 : errno;
    const int r = ::fsync(h) == 0 ? 0 : errno;
    ::close(h);
    return r;
}

// The files' data first, then the directories: 0, or the first failure.
int syncAll(const State::Pending& work) {
    int err = 0;
    for (const std::string& f : work.files)
        if (err == 0) err = syncOne(f, false);
    for (const std::string& d : work.dirs)
        if (err == 0) err = syncOne(d, true);
    return err;
}

}  // namespace

namespace hostfs {

void setApplicationRoot(const std::string& dir) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.m);
    s.root = dir.empty() ? std::string("./var") : dir;
    s.rootMade = false;
    rootLocked(s);
}

std::string applicationRoot() {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.m);
    return rootLocked(s);
}

std::string hostPath(const char* targetPath) {
    if (targetPath == nullptr) return {};
    const size_t rootLen = std::strlen(kApplicationRoot);
    if (std::strncmp(targetPath, kApplicationRoot, rootLen) != 0) return {};
    const char* rest = targetPath + rootLen;
    if (*rest != '\0' && *rest != '/') return {};
    std::string out = applicationRoot();
    while (*rest != '\0') {
        while (*rest == '/') ++rest;
        const char* end = rest;
        while (*end != '\0' && *end != '/') ++end;
        const std::string part(rest, end);
        rest = end;
        if (part.empty() || part == ".") continue;
        if (part == "..") return {};
        out += '/';
        out += part;
    }
    return out;
}

void setCapacity(std::optional<uint64_t> bytes) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.m);
    s.capacity = bytes;
}

void setRenameFault(bool failing) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.m);
    s.renameFault = failing;
}

void setRenameFaults(int count) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.m);
    s.renameFaults = count;
}

void setWriteFault(std::optional<uint64_t> bytes) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.m);
    s.writesLeft = bytes;
}

void setSyncFault(std::optional<uint64_t> syncs) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.m);
    s.syncsLeft = syncs;
}

void setCreateHook(std::function<void(const std::string&)> hook) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.m);
    s.createHook = std::move(hook);
}

uint64_t freeSpace() {
    State& s = state();
    std::string root;
    std::optional<uint64_t> capacity;
    {
        std::lock_guard<std::mutex> lock(s.m);
        root = rootLocked(s);
        capacity = s.capacity;
    }
    if (capacity) {
        const uint64_t used = usedBytes(root);
        return *capacity > used ? *capacity - used : 0;
    }
    struct statvfs vfs{};
    if (::statvfs(root.c_str(), &vfs) != 0) return 0;
    return static_cast<uint64_t>(vfs.f_bavail) * vfs.f_frsize;
}

int pathCat(const char* dir, const char* name, char* result) {
    if (dir == nullptr || name == nullptr || result == nullptr) return -1;
    std::string joined(dir);
    while (*name == '/') ++name;
    if (*name != '\0') {
        if (!joined.empty() && joined.back() != '/') joined += '/';
        joined += name;
    }
    if (joined.size() >= static_cast<size_t>(kMaxPath)) {
        result[0] = '\0';
        return -1;
    }
    std::memcpy(result, joined.c_str(), joined.size() + 1);
    return 0;
}

// Opens without blocking (a named pipe would wait for its other end), then
// keeps the descriptor only for a regular file or a directory, blocking.
static int openFile(const std::string& hp, int hostFlags) {
    const int h = ::open(hp.c_str(), hostFlags | O_CLOEXEC | O_NONBLOCK, 0644);
    if (h < 0) return -1;
    struct stat st{};
    if (::fstat(h, &st) != 0 || !(S_ISREG(st.st_mode) || S_ISDIR(st.st_mode)) ||
        ::fcntl(h, F_SETFL, ::fcntl(h, F_GETFL) & ~O_NONBLOCK) != 0) {
        const int err = S_ISREG(st.st_mode) || S_ISDIR(st.st_mode) ? errno : kNotAFile;
        ::close(h);
        return fail(err);
    }
    return adopt(h);
}

// A file opened by a creation: one made anew starts without attributes,
// and its data is synced by its task's next platform sync once it is closed.
static int noteCreated(int h, const std::string& hp, bool made) {
    if (h < 0) return h;
    if (made) forgetAttributes(hp);
    State& s = state();
    std::lock_guard<std::mutex> lock(s.m);
    s.created[h] = hp;
    return h;
}

// The file made anew (O_EXCL never opens what exists, O_NOFOLLOW never
// goes through a link), after the drive's other user had its turn.
static int createExclusive(const std::string& hp, int flags) {
    std::function<void(const std::string&)> hook;
    {
        State& s = state();
        std::lock_guard<std::mutex> lock(s.m);
        hook = s.createHook;
    }
    if (hook) hook(hp);
    return noteCreated(openFile(hp, accessFlags(flags) | O_CREAT | O_EXCL | O_NOFOLLOW), hp, true);
}

int open(const char* path, int flags, int /*mode: the host's default for a file made anew*/) {
    const std::string hp = hostPath(path);
    if (hp.empty()) return fail(ENOENT);
    if ((flags & kCreateExclusive) == kCreateExclusive) return createExclusive(hp, flags);
    return openFile(hp, accessFlags(flags));
}

int creat(const char* path, int flags) {
    const std::string hp = hostPath(path);
    if (hp.empty()) return fail(ENOENT);
    // A pipe is neither truncated nor written: O_TRUNC takes effect only on
    // a regular file, and the pipe is refused before any write.
    const bool existed = exists(hp);
    const int h = openFile(hp, accessFlags(flags) | O_CREAT | O_TRUNC);
    if (h < 0 && errno == ENXIO) return fail(kNotAFile);  // a pipe without a reader
    return noteCreated(h, hp, !existed);
}

// File reads and writes are host calls and so kernel calls: a writer's or
// reader's loop reaches a scheduling point at each one.
long read(int fd, void* buf, size_t len) {
    hk::checkpoint();
    const int h = hostFd(fd);
    if (h < 0) return fail(EBADF);
    return ::read(h, buf, len);
}

long write(int fd, const void* buf, size_t len) {
    hk::checkpoint();
    const int h = hostFd(fd);
    if (h < 0) return fail(EBADF);
    return writeHost(h, buf, len);
}

int close(int fd) {
    if (fd < kFirstDescriptor || fd > kLastDescriptor) return fail(EBADF);
    int h;
    {
        State& s = state();
        std::lock_guard<std::mutex> lock(s.m);
        h = s.hostFds[fd];
        s.hostFds[fd] = -1;
        if (!s.created[fd].empty()) s.pending[taskIdSelf()].files.insert(s.created[fd]);
        s.created[fd].clear();
    }
    if (h < 0) return fail(EBADF);
    const int r = ::close(h);
    hk::descriptorClosed();
    return r;
}

long lseek(int fd, long offset, int whence) {
    const int h = hostFd(fd);
    if (h < 0) return fail(EBADF);
    const int w = whence == kSeekEnd ? SEEK_END : whence == kSeekCur ? SEEK_CUR : SEEK_SET;
    return ::lseek(h, offset, w);
}

int fstat(int fd, FileStat* st) {
    const int h = hostFd(fd);
    if (h < 0 || st == nullptr) return fail(EBADF);
    struct stat hs{};
    if (::fstat(h, &hs) != 0) return -1;
    st->size = static_cast<uint64_t>(hs.st_size);
    st->mtime = static_cast<uint32_t>(hs.st_mtime);
    st->attributes = attributesOf(hs);
    return 0;
}

int ioctl(int fd, int request, long arg) {
    const int h = hostFd(fd);
    if (h < 0) return fail(EBADF);
    if (request != kFioAttribSet) return fail(ENOTSUP);
    struct stat hs{};
    if (::fstat(h, &hs) != 0) return -1;
    const mode_t perm = hs.st_mode & 07777;
    const mode_t want = (arg & kAttrReadOnly) ? (perm & ~mode_t{0222}) : (perm | S_IWUSR);
    if (want != perm && ::fchmod(h, want) != 0) return -1;
    State& s = state();
    std::lock_guard<std::mutex> lock(s.m);
    s.attributes[{hs.st_dev, hs.st_ino}] = static_cast<uint8_t>(arg & ~(kAttrReadOnly | kAttrDirectory));
    return 0;
}

int rename(const char* oldPath, const char* newPath) {
    {
        State& s = state();
        std::lock_guard<std::mutex> lock(s.m);
        if (s.renameFault) return fail(EIO);
        if (s.renameFaults > 0) {
            --s.renameFaults;
            return fail(EIO);
        }
    }
    const std::string from = hostPath(oldPath);
    const std::string to = hostPath(newPath);
    if (from.empty() || to.empty()) return fail(ENOENT);
    if (::rename(from.c_str(), to.c_str()) != 0) return -1;
    State& s = state();
    std::lock_guard<std::mutex> lock(s.m);
    auto& dirs = s.pending[taskIdSelf()].dirs;
    dirs.insert(fs::path(from).parent_path().string());
    dirs.insert(fs::path(to).parent_path().string());
    return 0;
}

int remove(const char* path) {
    const std::string hp = hostPath(path);
    if (hp.empty()) return fail(ENOENT);
    // As the target's remove(): a file goes, a directory stays (EISDIR); a
    // link goes itself, whatever it leads to.
    return ::unlink(hp.c_str());
}

int mkdir(const char* path) {
    const std::string hp = hostPath(path);
    if (hp.empty()) return fail(ENOENT);
    if (::mkdir(hp.c_str(), 0755) != 0) return -1;
    forgetAttributes(hp);
    return 0;
}

int copy(const char* fromPath, const char* toPath) {
    const std::string from = hostPath(fromPath);
    const std::string to = hostPath(toPath);
    if (from.empty() || to.empty()) return fail(ENOENT);
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return -1;
    const bool existed = exists(to);
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0) {
        const int err = errno;
        ::close(in);
        return fail(err);
    }
    if (!existed) forgetAttributes(to);
    char buf[8192];
    int result = 0;
    for (;;) {
        const long n = ::read(in, buf, sizeof buf);
        if (n == 0) break;
        if (n < 0) {
            result = -1;
            break;
        }
        long done = 0;
        while (done < n) {
            const long w = writeHost(out, buf + done, static_cast<size_t>(n - done));
            if (w <= 0) {
                result = -1;
                break;
            }
            done += w;
        }
        if (result != 0) break;
    }
    const int err = errno;
    ::close(in);
    if (::close(out) != 0) result = -1;
    if (result != 0) errno = err;
    return result;
}

int adoptSocket(int hostFd) { return hostFd < 0 ? fail(EBADF) : adopt(hostFd); }

int hostDescriptor(int fd) { return hostFd(fd); }

int hostDescriptor(int fd, bool* listening) {
    *listening = false;
    if (fd < kFirstDescriptor || fd > kLastDescriptor) return -1;
    State& s = state();
    std::lock_guard<std::mutex> lock(s.m);
    *listening = s.hostFds[fd] >= 0 && s.listening[fd];
    return s.hostFds[fd];
}

void noteListening(int fd, int hostFd) {
    if (fd < kFirstDescriptor || fd > kLastDescriptor) return;
    State& s = state();
    std::lock_guard<std::mutex> lock(s.m);
    if (hostFd >= 0 && s.hostFds[fd] == hostFd) s.listening[fd] = true;
}

int socketShutdown(int fd, int how) {
    const int host = hostFd(fd);
    if (host < 0) return fail(EBADF);
    const int h = how == 0 ? SHUT_RD : how == 1 ? SHUT_WR : SHUT_RDWR;
    // The target's stack shuts down an unconnected (UDP or never-connected)
    // socket without complaint; Linux answers ENOTCONN.
    if (::shutdown(host, h) == 0 || errno == ENOTCONN) return 0;
    return -1;
}

int socketClose(int fd) { return close(fd); }

int openDescriptors() {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.m);
    int n = 0;
    for (int h : s.hostFds)
        if (h >= 0) ++n;
    return n;
}

}  // namespace hostfs

int VKDriveSpaceAvailable(uint32_t bytes) { return hostfs::freeSpace() >= bytes ? 0 : 1; }

int is_directory_sync_ee_file_active() {
    State& s = state();
    const TASK_ID self = taskIdSelf();
    std::shared_ptr<State::SyncJob> job;
    State::Pending work;
    {
        std::lock_guard<std::mutex> lock(s.m);
        auto it = s.syncs.find(self);
        if (it != s.syncs.end()) {
            if (!it->second->done.load()) return 1;
            job = it->second;
            s.syncs.erase(it);
        } else {
            auto p = s.pending.find(self);
            if (p == s.pending.end()) return 0;
            work = std::move(p->second);
            s.pending.erase(p);
        }
    }
    if (!job) {
        job = std::make_shared<State::SyncJob>();
        // In real time the syncs wait for the drive in a host thread while
        // the calling task sleeps between its asks and the emulated CPU runs
        // on; in simulated time, where time stands still while a task runs,
        // they take none of it.
        if (hk::mode() == hk::ClockMode::RealTime && hk::onCpuThread()) {
            {
                std::lock_guard<std::mutex> lock(s.m);
                s.syncs[self] = job;
            }
            std::thread([job, work = std::move(work)] {
                job->err = syncAll(work);
                job->done.store(true);
            }).detach();
            return 1;
        }
        job->err = syncAll(work);
    }
    if (job->err == 0) return 0;
    errno = job->err;
    errnoSet(job->err);
    return -1;
}
