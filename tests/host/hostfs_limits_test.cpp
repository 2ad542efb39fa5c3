// The host file system at its edges: copies that cannot finish, writes that
// grow a file on a nearly full drive, permission bits behind the read-only
// attribute, socket shutdowns, the listening note of a descriptor, and host
// descriptor 0.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "host/hostfs.h"

namespace fs = std::filesystem;

namespace {

class HostFsLimits : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/hostfs-limits-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        root_ = tmpl;
        hostfs::setApplicationRoot(root_);
    }
    void TearDown() override {
        hostfs::setCapacity(std::nullopt);
        hostfs::setWriteFault(std::nullopt);
        hostfs::setRenameFault(false);
        fs::remove_all(root_);
    }
    static std::string target(const std::string& name) { return std::string(hostfs::kApplicationRoot) + "/" + name; }
    void put(const std::string& name, const std::string& data) { std::ofstream(root_ + "/" + name) << data; }
    std::string get(const std::string& name) {
        std::ifstream in(root_ + "/" + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::string root_;
};

// Host descriptors open in this process.
int hostDescriptorsOpen() {
    int n = 0;
    for (const auto& e : fs::directory_iterator("/proc/self/fd")) {
        (void)e;
        ++n;
    }
    return n;
}

// A copy carries every byte of a file longer than one transfer; a copy that
// cannot be made or cannot finish fails with the reason, and leaves no host
// descriptor open.
TEST_F(HostFsLimits, CopyCarriesEveryByteOrTellsWhyNot) {
    std::string data(20000, '\0');
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 31 + i / 97);
    put("src.bin", data);
    put("one.bin", data.substr(0, 1));
    fs::create_directory(root_ + "/sub");
    const struct {
        const char* name;
        const char* from;
        const char* to;
        int capacityLeft;  // bytes the drive takes beyond what it holds; -1: no limit
        int writeFaultAfter;  // -1: none
        int result, err;
        size_t copied;  // bytes the destination holds afterwards
    } rows[] = {
        {"whole", "src.bin", "sub/dst.bin", -1, -1, 0, 0, 20000},
        {"one byte", "one.bin", "sub/dst.bin", -1, -1, 0, 0, 1},
        {"room for one byte", "src.bin", "sub/dst.bin", 1, -1, -1, ENOSPC, 1},
        {"no source", "none.bin", "sub/dst.bin", -1, -1, -1, ENOENT, 0},
        {"a folder for a source: it cannot be read", "sub", "sub/dst.bin", -1, -1, -1, EISDIR, 0},
        {"no folder for the copy", "src.bin", "nodir/dst.bin", -1, -1, -1, ENOENT, 0},
        {"source outside the root", "../src.bin", "sub/dst.bin", -1, -1, -1, ENOENT, 0},
        {"copy outside the root", "src.bin", "../dst.bin", -1, -1, -1, ENOENT, 0},
        {"drive full part way", "src.bin", "sub/dst.bin", 100, -1, -1, ENOSPC, 100},
        {"drive failing part way", "src.bin", "sub/dst.bin", -1, 9000, -1, EIO, 9000},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        fs::remove(root_ + "/sub/dst.bin");
        if (r.capacityLeft >= 0) hostfs::setCapacity(data.size() + 1 + static_cast<size_t>(r.capacityLeft));
        if (r.writeFaultAfter >= 0) hostfs::setWriteFault(static_cast<uint64_t>(r.writeFaultAfter));
        const int before = hostDescriptorsOpen();
        errno = 0;
        EXPECT_EQ(hostfs::copy(target(r.from).c_str(), target(r.to).c_str()), r.result);
        if (r.result != 0) {
            EXPECT_EQ(errno, r.err);
        }
        EXPECT_EQ(hostDescriptorsOpen(), before);
        hostfs::setCapacity(std::nullopt);
        hostfs::setWriteFault(std::nullopt);
        const bool made = fs::exists(root_ + "/sub/dst.bin");
        EXPECT_EQ(made ? fs::file_size(root_ + "/sub/dst.bin") : 0u, r.copied);
        if (made) {
            EXPECT_EQ(get("sub/dst.bin"), data.substr(0, r.copied));
        }
    }
}

// A write that grows a file takes only what the drive has left, counting
// every file below the root, also in folders; what it overwrites costs
// nothing.
TEST_F(HostFsLimits, AGrowingWriteIsCutToTheSpaceLeft) {
    fs::create_directory(root_ + "/sub");
    put("other", std::string(20, 'o'));
    const struct {
        long pos;
        size_t len;
        long written;
    } rows[] = {{0, 80, 80}, {70, 30, 30}, {70, 50, 30}, {80, 20, 20}, {80, 21, 20}, {90, 15, 10}, {100, 5, 0}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.pos);
        SCOPED_TRACE(r.len);
        put("sub/f", std::string(80, 'x'));
        hostfs::setCapacity(120);  // 100 taken: 20 left
        const int fd = hostfs::open(target("sub/f").c_str(), hostfs::kWriteOnly, 0);
        ASSERT_GE(fd, hostfs::kFirstDescriptor);
        EXPECT_EQ(hostfs::lseek(fd, r.pos, hostfs::kSeekSet), r.pos);
        const std::string data(r.len, 'y');
        errno = 0;
        const long n = hostfs::write(fd, data.data(), r.len);
        if (r.written == 0) {
            EXPECT_EQ(n, -1);
            EXPECT_EQ(errno, ENOSPC);
        } else {
            EXPECT_EQ(n, r.written);
        }
        hostfs::close(fd);
        hostfs::setCapacity(std::nullopt);
        EXPECT_LE(fs::file_size(root_ + "/sub/f"), 100u);
    }
}

// Read-only takes every write permission away; writable again gives the
// owner's back. The directory attribute is the host's to tell: it is not
// kept for a file, and a folder always shows it.
TEST_F(HostFsLimits, AttributesAndTheHostPermissions) {
    put("f", "abc");
    fs::permissions(root_ + "/f", fs::perms(0664));
    const int fd = hostfs::open(target("f").c_str(), hostfs::kReadOnly, 0);
    ASSERT_GE(fd, hostfs::kFirstDescriptor);
    auto mode = [&] { return static_cast<unsigned>(fs::status(root_ + "/f").permissions()) & 0777u; };
    const struct {
        long attributes;
        unsigned mode;
        uint8_t shown;
    } rows[] = {
        {hostfs::kAttrReadOnly, 0444, hostfs::kAttrReadOnly},
        {0, 0644, 0},
        {hostfs::kAttrDirectory | 0x20, 0644, 0x20},
        {hostfs::kAttrReadOnly | 0x02, 0444, hostfs::kAttrReadOnly | 0x02},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.attributes);
        ASSERT_EQ(hostfs::ioctl(fd, hostfs::kFioAttribSet, r.attributes), 0);
        EXPECT_EQ(mode(), r.mode);
        hostfs::FileStat st{};
        ASSERT_EQ(hostfs::fstat(fd, &st), 0);
        EXPECT_EQ(st.attributes, r.shown);
        EXPECT_EQ(st.size, 3u);
    }
    hostfs::close(fd);
    fs::create_directory(root_ + "/d");
    const int dir = hostfs::open(target("d").c_str(), hostfs::kReadOnly, 0);
    ASSERT_GE(dir, hostfs::kFirstDescriptor);
    hostfs::FileStat st{};
    ASSERT_EQ(hostfs::fstat(dir, &st), 0);
    EXPECT_EQ(st.attributes, hostfs::kAttrDirectory);
    EXPECT_EQ(hostfs::ioctl(dir, hostfs::kFioAttribSet + 1, 0), -1);
    hostfs::close(dir);
    EXPECT_EQ(hostfs::ioctl(dir, hostfs::kFioAttribSet, 0), -1);
    EXPECT_EQ(errno, EBADF);
}

// A rename fails while the drive refuses renames, and for names outside
// the root; the file stays where it was.
TEST_F(HostFsLimits, RenameRefusals) {
    put("a", "1");
    hostfs::setRenameFault(true);
    errno = 0;
    EXPECT_EQ(hostfs::rename(target("a").c_str(), target("b").c_str()), -1);
    EXPECT_EQ(errno, EIO);
    hostfs::setRenameFault(false);
    for (const char* to : {"../b", "x/../../b"}) {
        errno = 0;
        EXPECT_EQ(hostfs::rename(target("a").c_str(), target(to).c_str()), -1) << to;
        EXPECT_EQ(errno, ENOENT) << to;
    }
    EXPECT_EQ(hostfs::remove(target("../a").c_str()), -1);
    EXPECT_EQ(hostfs::mkdir(target("../d").c_str()), -1);
    EXPECT_TRUE(fs::exists(root_ + "/a"));
    EXPECT_EQ(hostfs::rename(target("a").c_str(), target("b").c_str()), 0);
    EXPECT_EQ(get("b"), "1");
}

// Shutting down one direction of a connected socket: 0 stops the reading,
// 1 the writing, 2 both; an unconnected socket shuts down without fault.
TEST_F(HostFsLimits, SocketShutdownOfEachDirection) {
    const struct {
        int how;
        bool peerSeesEnd, ownReadEnds;
    } rows[] = {{0, false, true}, {1, true, false}, {2, true, true}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.how);
        int sp[2];
        ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, sp), 0);
        const int fd = hostfs::adoptSocket(sp[0]);
        ASSERT_GE(fd, hostfs::kFirstDescriptor);
        ASSERT_EQ(hostfs::socketShutdown(fd, r.how), 0);
        char c;
        EXPECT_EQ(::recv(sp[1], &c, 1, 0) == 0, r.peerSeesEnd);
        EXPECT_EQ(::recv(sp[0], &c, 1, 0) == 0, r.ownReadEnds);
        hostfs::socketClose(fd);
        ::close(sp[1]);
    }
    const int udp = hostfs::adoptSocket(::socket(AF_INET, SOCK_DGRAM, 0));
    ASSERT_GE(udp, hostfs::kFirstDescriptor);
    EXPECT_EQ(hostfs::socketShutdown(udp, 2), 0);
    hostfs::socketClose(udp);
    errno = 0;
    EXPECT_EQ(hostfs::socketShutdown(udp, 2), -1);
    EXPECT_EQ(errno, EBADF);
    EXPECT_EQ(hostfs::adoptSocket(-1), -1);
}

// A descriptor is noted listening only for the host socket it holds, and the
// note goes with the descriptor: taken again, it is not listening.
TEST_F(HostFsLimits, ListeningNoteBelongsToTheDescriptor) {
    const int h = ::socket(AF_INET, SOCK_STREAM, 0);
    const int fd = hostfs::adoptSocket(h);
    ASSERT_GE(fd, hostfs::kFirstDescriptor);
    bool listening = true;
    EXPECT_EQ(hostfs::hostDescriptor(fd, &listening), h);
    EXPECT_FALSE(listening);
    hostfs::noteListening(fd, h + 1000);  // another host socket
    hostfs::noteListening(fd, -1);
    EXPECT_EQ(hostfs::hostDescriptor(fd, &listening), h);
    EXPECT_FALSE(listening);
    hostfs::noteListening(fd, h);
    EXPECT_EQ(hostfs::hostDescriptor(fd, &listening), h);
    EXPECT_TRUE(listening);
    hostfs::close(fd);
    EXPECT_EQ(hostfs::hostDescriptor(fd, &listening), -1);
    EXPECT_FALSE(listening);
    const int again = hostfs::adoptSocket(::socket(AF_INET, SOCK_STREAM, 0));
    ASSERT_EQ(again, fd);  // the lowest free descriptor
    EXPECT_GE(hostfs::hostDescriptor(again, &listening), 0);
    EXPECT_FALSE(listening);
    for (int bad : {hostfs::kFirstDescriptor - 1, hostfs::kLastDescriptor + 1}) {
        listening = true;
        hostfs::noteListening(bad, h);
        EXPECT_EQ(hostfs::hostDescriptor(bad, &listening), -1) << bad;
        EXPECT_FALSE(listening) << bad;
    }
    hostfs::close(again);
}

// With the process's standard input closed, the next file opened is host
// descriptor 0: a descriptor like any other for every call.
TEST_F(HostFsLimits, HostDescriptorZeroIsADescriptorLikeAnyOther) {
    put("f", "0123456789");
    const int savedStdin = ::dup(0);
    ASSERT_GE(savedStdin, 0);
    ::close(0);
    const int fd = hostfs::open(target("f").c_str(), hostfs::kReadWrite, 0);
    ASSERT_GE(fd, hostfs::kFirstDescriptor);
    EXPECT_EQ(hostfs::hostDescriptor(fd), 0);
    const int next = hostfs::adoptSocket(::dup(2));  // the slot of descriptor 0 is not free
    EXPECT_NE(next, fd);
    EXPECT_EQ(hostfs::openDescriptors(), 2);
    char c = 0;
    EXPECT_EQ(hostfs::lseek(fd, 4, hostfs::kSeekSet), 4);
    EXPECT_EQ(hostfs::read(fd, &c, 1), 1);
    EXPECT_EQ(c, '4');
    EXPECT_EQ(hostfs::write(fd, "X", 1), 1);
    hostfs::FileStat st{};
    EXPECT_EQ(hostfs::fstat(fd, &st), 0);
    EXPECT_EQ(st.size, 10u);
    EXPECT_EQ(hostfs::ioctl(fd, hostfs::kFioAttribSet, 0x20), 0);
    EXPECT_EQ(hostfs::close(fd), 0);
    EXPECT_EQ(hostfs::close(next), 0);
    EXPECT_EQ(get("f"), "01234X6789");
    // A copy whose source gets host descriptor 0.
    EXPECT_EQ(hostfs::copy(target("f").c_str(), target("g").c_str()), 0);
    EXPECT_EQ(get("g"), "01234X6789");
    ASSERT_EQ(::dup2(savedStdin, 0), 0);
    ::close(savedStdin);
}

// The host may give a file or folder made anew the inode of one removed
// before: it starts without the attributes that one had, whichever call
// makes it. The removed one is of the same kind as the new one: the host
// may place folders apart from files.
TEST_F(HostFsLimits, ANewFileHasNoAttributesOfARemovedOne) {
    put("src", "s");
    const struct {
        const char* name;
        int (*make)(const std::string& path);
        uint8_t attributes;  // of the new one
    } makers[] = {
        {"creat", [](const std::string& p) { return hostfs::close(hostfs::creat(p.c_str(), hostfs::kWriteOnly)); }, 0},
        {"openAnew",
         [](const std::string& p) {
             return hostfs::close(hostfs::open(p.c_str(), hostfs::kWriteOnly | hostfs::kCreateExclusive, 0));
         },
         0},
        {"mkdir", [](const std::string& p) { return hostfs::mkdir(p.c_str()); }, hostfs::kAttrDirectory},
        {"copy", [](const std::string& p) { return hostfs::copy(target("src").c_str(), p.c_str()); }, 0},
    };
    for (const auto& m : makers) {
        SCOPED_TRACE(m.name);
        const bool folder = m.attributes == hostfs::kAttrDirectory;
        int reused = 0;
        for (int i = 0; i < 20 && reused == 0; ++i) {
            if (folder) ASSERT_EQ(::mkdir((root_ + "/old").c_str(), 0755), 0);
            else put("old", "o");
            const int fd = hostfs::open(target("old").c_str(), hostfs::kReadOnly, 0);
            ASSERT_GE(fd, hostfs::kFirstDescriptor);
            ASSERT_EQ(hostfs::ioctl(fd, hostfs::kFioAttribSet, 0x22), 0);
            hostfs::close(fd);
            struct stat old{};
            ASSERT_EQ(::stat((root_ + "/old").c_str(), &old), 0);
            // remove() takes files only, as on the target.
            if (folder) ASSERT_EQ(::rmdir((root_ + "/old").c_str()), 0);
            else ASSERT_EQ(hostfs::remove(target("old").c_str()), 0);
            const std::string name = std::string(m.name) + std::to_string(i);
            ASSERT_EQ(m.make(target(name)), 0);
            struct stat made{};
            ASSERT_EQ(::stat((root_ + "/" + name).c_str(), &made), 0);
            if (made.st_ino != old.st_ino) continue;  // another inode: nothing to show
            ++reused;
            const int nfd = hostfs::open(target(name).c_str(), hostfs::kReadOnly, 0);
            ASSERT_GE(nfd, hostfs::kFirstDescriptor);
            hostfs::FileStat st{};
            ASSERT_EQ(hostfs::fstat(nfd, &st), 0);
            EXPECT_EQ(st.attributes, m.attributes);
            hostfs::close(nfd);
        }
        EXPECT_GT(reused, 0) << "the host never gave a removed inode again";
    }
}

}  // namespace
