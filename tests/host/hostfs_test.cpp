// The host file system under the application root: path mapping, joining,
// descriptors, seeks, attributes and the simulated drive size.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "host/hostfs.h"
#include "host/hostkernel.h"

namespace fs = std::filesystem;

namespace {

class HostFs : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/hostfs-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        root_ = tmpl;
        hostfs::setApplicationRoot(root_);
    }
    void TearDown() override {
        hostfs::setCapacity(std::nullopt);
        hostfs::setCreateHook({});
        fs::remove_all(root_);
    }
    static std::string target(const std::string& name) { return std::string(hostfs::kApplicationRoot) + "/" + name; }
    std::string root_;
};

TEST_F(HostFs, TargetPathsMapBelowTheRootOnly) {
    const struct {
        const char* path;
        std::string host;  // relative to the root; "-" when refused
    } cases[] = {
        {"/HD1/Varnekar/Applications", ""},
        {"/HD1/Varnekar/Applications/a.ee", "/a.ee"},
        {"/HD1/Varnekar/Applications//sub/./b.csv", "/sub/b.csv"},
        {"/HD1/Varnekar/Applications/sub/../b", "-"},
        {"/HD1/Varnekar/ApplicationsX/b", "-"},
        {"/HD1/Varnekar/Application", "-"},
        {"/HD1/other/a.ee", "-"},
        {"a.ee", "-"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hostfs::hostPath(c.path), c.host == "-" ? std::string() : root_ + c.host) << c.path;
    EXPECT_EQ(hostfs::hostPath(nullptr), "");
}

// A root set after another one was in use is made as well.
TEST_F(HostFs, EveryRootSetIsMade) {
    const std::string second = root_ + "/second/root";
    hostfs::setApplicationRoot(second);
    EXPECT_TRUE(fs::is_directory(second));
    EXPECT_EQ(hostfs::applicationRoot(), second);
    hostfs::setApplicationRoot(root_);
}

// Every descriptor up to the last one can be taken, and no more.
TEST_F(HostFs, DescriptorsUpToTheLastOne) {
    std::vector<int> taken;
    int fd;
    while ((fd = hostfs::adoptSocket(::dup(2))) >= 0) taken.push_back(fd);
    EXPECT_EQ(errno, EMFILE);
    ASSERT_FALSE(taken.empty());
    EXPECT_EQ(taken.back(), hostfs::kLastDescriptor);
    EXPECT_GE(hostfs::hostDescriptor(hostfs::kLastDescriptor), 0);
    EXPECT_EQ(hostfs::hostDescriptor(hostfs::kLastDescriptor + 1), -1);
    // The last one is a descriptor like the others, also for the listening note.
    const int lastHost = hostfs::hostDescriptor(hostfs::kLastDescriptor);
    hostfs::noteListening(hostfs::kLastDescriptor, lastHost);
    bool listening = false;
    EXPECT_EQ(hostfs::hostDescriptor(hostfs::kLastDescriptor, &listening), lastHost);
    EXPECT_TRUE(listening);
    for (int t : taken) hostfs::close(t);
}

TEST(HostFsPath, JoinWithOneSlashWithinTheLimit) {
    char out[hostfs::kMaxPath];
    const struct {
        const char* dir;
        const char* name;
        const char* joined;
    } cases[] = {{"/a", "b", "/a/b"}, {"/a/", "b", "/a/b"}, {"/a", "//b", "/a/b"}, {"/a", "", "/a"}, {"", "b", "b"}};
    for (const auto& c : cases) {
        ASSERT_EQ(hostfs::pathCat(c.dir, c.name, out), 0) << c.dir << "+" << c.name;
        EXPECT_STREQ(out, c.joined);
    }
    const std::string dir(250, 'd');
    EXPECT_EQ(hostfs::pathCat(dir.c_str(), "abcd", out), 0);  // 255 characters and the NUL
    EXPECT_EQ(std::string(out).size(), 255u);
    EXPECT_EQ(hostfs::pathCat(dir.c_str(), "abcde", out), -1);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(hostfs::pathCat(nullptr, "b", out), -1);
    EXPECT_EQ(hostfs::pathCat("a", nullptr, out), -1);
    EXPECT_EQ(hostfs::pathCat("a", "b", nullptr), -1);
}

TEST_F(HostFs, DescriptorsSeeksAndAttributes) {
    const int fd = hostfs::creat(target("f.bin").c_str(), hostfs::kReadWrite);
    ASSERT_GE(fd, hostfs::kFirstDescriptor);
    ASSERT_LE(fd, hostfs::kLastDescriptor);
    EXPECT_EQ(hostfs::openDescriptors(), 1);
    EXPECT_EQ(hostfs::write(fd, "0123456789", 10), 10);
    EXPECT_EQ(hostfs::lseek(fd, 2, hostfs::kSeekSet), 2);
    EXPECT_EQ(hostfs::lseek(fd, 3, hostfs::kSeekCur), 5);
    EXPECT_EQ(hostfs::lseek(fd, -1, hostfs::kSeekEnd), 9);
    char c = 0;
    EXPECT_EQ(hostfs::read(fd, &c, 1), 1);
    EXPECT_EQ(c, '9');
    hostfs::FileStat st{};
    ASSERT_EQ(hostfs::fstat(fd, &st), 0);
    EXPECT_EQ(st.size, 10u);
    struct stat host {};
    ASSERT_EQ(::stat((root_ + "/f.bin").c_str(), &host), 0);
    EXPECT_EQ(st.mtime, static_cast<uint32_t>(host.st_mtime));
    EXPECT_EQ(st.attributes, 0);
    EXPECT_EQ(hostfs::ioctl(fd, hostfs::kFioAttribSet, hostfs::kAttrReadOnly | 0x20), 0);
    ASSERT_EQ(hostfs::fstat(fd, &st), 0);
    EXPECT_EQ(st.attributes, hostfs::kAttrReadOnly | 0x20);
    EXPECT_EQ(hostfs::ioctl(fd, hostfs::kFioAttribSet, 0), 0);
    ASSERT_EQ(hostfs::fstat(fd, &st), 0);
    EXPECT_EQ(st.attributes, 0);
    EXPECT_EQ(hostfs::ioctl(fd, 0x24, 0), -1);
    EXPECT_EQ(errno, ENOTSUP);
    EXPECT_EQ(hostfs::fstat(fd, nullptr), -1);
    EXPECT_EQ(hostfs::close(fd), 0);
    EXPECT_EQ(hostfs::openDescriptors(), 0);
    // Descriptors outside 3..255, or closed, are refused with EBADF.
    for (int bad : {fd, 2, 256, -1}) {
        errno = 0;
        EXPECT_EQ(hostfs::close(bad), -1) << bad;
        EXPECT_EQ(errno, EBADF) << bad;
        EXPECT_EQ(hostfs::read(bad, &c, 1), -1) << bad;
        EXPECT_EQ(hostfs::write(bad, &c, 1), -1) << bad;
        EXPECT_EQ(hostfs::lseek(bad, 0, hostfs::kSeekSet), -1) << bad;
    }
    // A read-only open cannot write; paths outside the root do not exist.
    const int ro = hostfs::open(target("f.bin").c_str(), hostfs::kReadOnly, 0);
    ASSERT_GE(ro, 3);
    EXPECT_EQ(hostfs::write(ro, "x", 1), -1);
    hostfs::close(ro);
    const int wo = hostfs::open(target("f.bin").c_str(), hostfs::kWriteOnly, 0);
    EXPECT_EQ(hostfs::read(wo, &c, 1), -1);
    EXPECT_EQ(hostfs::write(wo, "A", 1), 1);
    hostfs::close(wo);
    EXPECT_EQ(hostfs::open(target("none").c_str(), hostfs::kReadOnly, 0), -1);
    EXPECT_EQ(hostfs::open("/tmp/x", hostfs::kReadOnly, 0), -1);
    EXPECT_EQ(hostfs::creat(target("../x").c_str(), hostfs::kWriteOnly), -1);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(hostfs::mkdir(target("d").c_str()), 0);
    // On the host, anyone may list a made folder; only its owner writes in it.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    struct stat made {};
    ASSERT_EQ(::stat((root_ + "/d").c_str(), &made), 0);
    EXPECT_EQ(made.st_mode & 07777, 0755u & ~mask);
    EXPECT_EQ(hostfs::copy(target("f.bin").c_str(), target("d/g.bin").c_str()), 0);
    // A copy is a plain file on the host: anyone may read it, only its owner writes it.
    ASSERT_EQ(::stat((root_ + "/d/g.bin").c_str(), &made), 0);
    EXPECT_EQ(made.st_mode & 07777, 0644u & ~mask);
    std::ifstream in(root_ + "/d/g.bin");
    std::string text;
    in >> text;
    EXPECT_EQ(text, "A123456789");
    EXPECT_EQ(hostfs::remove(target("f.bin").c_str()), 0);
    EXPECT_EQ(hostfs::remove(target("f.bin").c_str()), -1);
    EXPECT_EQ(hostfs::rename(target("d/g.bin").c_str(), target("h.bin").c_str()), 0);
    EXPECT_TRUE(fs::exists(root_ + "/h.bin"));
}

TEST_F(HostFs, SimulatedDriveSizeCutsWritesShort) {
    hostfs::setCapacity(100);
    EXPECT_EQ(hostfs::freeSpace(), 100u);
    EXPECT_EQ(VKDriveSpaceAvailable(100), 0);
    EXPECT_NE(VKDriveSpaceAvailable(101), 0);
    const int fd = hostfs::creat(target("big").c_str(), hostfs::kWriteOnly);
    const std::string data(80, 'x');
    EXPECT_EQ(hostfs::write(fd, data.data(), 80), 80);
    EXPECT_EQ(hostfs::freeSpace(), 20u);
    EXPECT_EQ(hostfs::write(fd, data.data(), 30), 20);  // cut to what is left
    EXPECT_EQ(hostfs::freeSpace(), 0u);
    errno = 0;
    EXPECT_EQ(hostfs::write(fd, data.data(), 1), -1);
    EXPECT_EQ(errno, ENOSPC);
    // Overwriting in place needs no space.
    EXPECT_EQ(hostfs::lseek(fd, 0, hostfs::kSeekSet), 0);
    EXPECT_EQ(hostfs::write(fd, data.data(), 50), 50);
    hostfs::close(fd);
    hostfs::setCapacity(std::nullopt);
    EXPECT_GT(hostfs::freeSpace(), 100u);
}

}  // namespace

namespace {

// The target's drive holds files and directories only: whatever else a name
// leads to on the host is refused at once by open and creat, without
// waiting for the other end of a pipe and without writing to a device.
TEST_F(HostFs, OnlyFilesAndDirectoriesOpen) {
    std::ofstream(root_ + "/file") << "abc";
    fs::create_directory(root_ + "/dir");
    ASSERT_EQ(::mkfifo((root_ + "/pipe").c_str(), 0644), 0);
    fs::create_symlink("/dev/zero", root_ + "/zero");
    fs::create_symlink(root_ + "/file", root_ + "/link");
    const struct {
        const char* name;
        bool reads, writes, creates;
        int err;  // errno of a refusal (0: not checked)
    } cases[] = {
        {"file", true, true, true, 0},
        {"link", true, true, true, 0},
        {"dir", true, false, false, 0},
        {"pipe", false, false, false, hostfs::kNotAFile},
        {"zero", false, false, false, hostfs::kNotAFile},
        {"none/file", false, false, false, ENOENT},  // in a folder that is not there
    };
    for (const auto& c : cases) {
        const bool expected[3] = {c.reads, c.writes, c.creates};
        for (int call = 0; call < 3; ++call) {
            errno = 0;
            const int fd = call == 2 ? hostfs::creat(target(c.name).c_str(), hostfs::kWriteOnly)
                                     : hostfs::open(target(c.name).c_str(),
                                                    call == 0 ? hostfs::kReadOnly : hostfs::kReadWrite, 0);
            EXPECT_EQ(fd >= 3, expected[call]) << c.name << " call " << call;
            if (fd >= 3) hostfs::close(fd);
            if (fd < 0 && c.err != 0) {
                EXPECT_EQ(errno, c.err) << c.name << " call " << call;
            }
        }
    }
    EXPECT_EQ(hostfs::openDescriptors(), 0);
    EXPECT_EQ(fs::symlink_status(root_ + "/pipe").type(), fs::file_type::fifo);
}

// A file created anew never opens what stands under its name, and never
// goes through a link: EEXIST, whatever the name holds, and what a link
// leads to keeps its bytes. remove() takes a file or a link (never what it
// leads to), but no directory. The drive's other user (the create hook)
// acts just before each creation anew.
TEST_F(HostFs, ExclusiveCreationOpensNothingThatExists) {
    const std::string outside = root_ + ".outside";
    std::ofstream(outside) << "outside";
    fs::create_directory(root_ + "/dir");
    const struct {
        const char* name;
        std::function<void(const std::string&)> make;
        int removeErr;  // errno of remove() (0: removed)
    } cases[] = {
        {"file", [](const std::string& p) { std::ofstream(p) << "old"; }, 0},
        {"linkOutside", [&](const std::string& p) { fs::create_symlink(outside, p); }, 0},
        {"linkToNothing", [&](const std::string& p) { fs::create_symlink(root_ + ".none", p); }, 0},
        {"linkToADirectory", [&](const std::string& p) { fs::create_symlink(root_ + "/dir", p); }, 0},
        {"pipe", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); }, 0},
        {"directory", [](const std::string& p) { fs::create_directory(p); }, EISDIR},
    };
    const int flags = hostfs::kWriteOnly | hostfs::kCreateExclusive;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = std::string(c.name) + ".tmp";
        std::vector<std::string> seen;
        hostfs::setCreateHook([&](const std::string& hp) {
            if (seen.empty()) c.make(hp);
            seen.push_back(hp);
        });
        errno = 0;
        EXPECT_EQ(hostfs::open(target(name).c_str(), flags, 0), -1);
        EXPECT_EQ(errno, EEXIST);
        errno = 0;
        EXPECT_EQ(hostfs::remove(target(name).c_str()), c.removeErr == 0 ? 0 : -1);
        EXPECT_EQ(errno, c.removeErr);
        const int fd = hostfs::open(target(name).c_str(), flags, 0);
        EXPECT_EQ(seen, std::vector<std::string>(2, root_ + "/" + name));
        EXPECT_EQ(fd >= hostfs::kFirstDescriptor, c.removeErr == 0);
        if (fd >= 0) {
            EXPECT_EQ(hostfs::write(fd, "new", 3), 3);
            hostfs::close(fd);
            EXPECT_EQ(fs::symlink_status(root_ + "/" + name).type(), fs::file_type::regular);
        }
    }
    hostfs::setCreateHook({});
    EXPECT_TRUE(fs::is_directory(root_ + "/directory.tmp"));
    EXPECT_TRUE(fs::is_directory(root_ + "/dir"));
    EXPECT_EQ(fs::file_size(outside), 7u);
    EXPECT_FALSE(fs::exists(fs::symlink_status(root_ + ".none")));
    EXPECT_EQ(hostfs::openDescriptors(), 0);
    fs::remove(outside);
}

TEST_F(HostFs, WriteFaultCutsAWriteAndFailsTheRest) {
    const int fd = hostfs::creat(target("w.bin").c_str(), hostfs::kWriteOnly);
    ASSERT_GE(fd, 3);
    hostfs::setWriteFault(5);
    EXPECT_EQ(hostfs::write(fd, "abc", 3), 3);
    EXPECT_EQ(hostfs::write(fd, "defg", 4), 2);
    errno = 0;
    EXPECT_EQ(hostfs::write(fd, "h", 1), -1);
    EXPECT_EQ(errno, EIO);
    hostfs::setWriteFault(std::nullopt);
    EXPECT_EQ(hostfs::write(fd, "i", 1), 1);
    hostfs::close(fd);
    EXPECT_EQ(fs::file_size(root_ + "/w.bin"), 6u);
}

}  // namespace

namespace {

// The platform's sync of what a task wrote: in real time it runs beside the
// emulated CPU, and the task asks again until it has ended; a failing drive
// makes it fail with the reason in the task's errno. Only what the task
// changed since its last sync is synced: after an ended sync nothing is left.
TEST_F(HostFs, PlatformSyncEndsWellOrFailsWithItsReason) {
    hk::start(hk::ClockMode::RealTime);
    int results[4] = {9, 9, 9, 9};
    int asked = 0, err = 0;
    hk::runTask([&] {
        auto writeFile = [&](const char* name) {
            const int fd = hostfs::creat(target(name).c_str(), hostfs::kWriteOnly);
            hostfs::write(fd, "data", 4);
            hostfs::close(fd);
        };
        auto sync = [&] {
            int r;
            while ((r = is_directory_sync_ee_file_active()) == 1) {
                ++asked;
                taskDelay(1);
            }
            return r;
        };
        writeFile("a.tmp");
        results[0] = sync();
        results[1] = is_directory_sync_ee_file_active();
        hostfs::setSyncFault(uint64_t{0});
        writeFile("b.tmp");
        hostfs::rename(target("b.tmp").c_str(), target("b").c_str());
        results[2] = sync();
        err = errnoGet();
        hostfs::setSyncFault(std::nullopt);
        results[3] = is_directory_sync_ee_file_active();
    });
    hk::shutdown();
    EXPECT_EQ(results[0], 0);
    EXPECT_EQ(results[1], 0) << "nothing left";
    EXPECT_EQ(results[2], -1);
    EXPECT_EQ(err, EIO);
    EXPECT_EQ(results[3], 0) << "a failed sync is not asked for again";
    EXPECT_GE(asked, 2) << "each sync runs while the task sleeps";
}

}  // namespace
