// File services against a real temporary directory mapped as the
// application root, run from a task of the host kernel.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "host/hostfs.h"
#include "host/hostkernel.h"
#include "host/hostsym.h"
#include "platform/vkosfile.h"

namespace fs = std::filesystem;

namespace {

class FileServices : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/vkosfile-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        root = tmpl;
        hostfs::setApplicationRoot(root);
        hk::start(hk::ClockMode::Simulated);
    }
    void TearDown() override {
        hk::shutdown();
        hostfs::setCapacity(std::nullopt);
        std::error_code ec;
        fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(root, ec);
    }

    static void inTask(const std::function<void()>& body) { hk::runTask(body, 100, "tPlatform"); }

    std::string hostFile(const std::string& name) const { return root + "/" + name; }
    std::string contents(const std::string& name) const {
        std::ifstream in(hostFile(name), std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    void put(const std::string& name, const std::string& data) const {
        std::ofstream(hostFile(name), std::ios::binary) << data;
    }
    bool exists(const std::string& name) const { return fs::exists(hostFile(name)); }
    uint64_t sizeOf(const std::string& name) const { return fs::file_size(hostFile(name)); }

    std::string root;
};

std::string pattern(size_t n, char seed) {
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>(seed + i % 23);
    return s;
}

int writeString(int fd, const std::string& s) {
    return VKOS_WriteFile(fd, s.data(), static_cast<uint32_t>(s.size()));
}

}  // namespace

TEST_F(FileServices, CreateWriteReadRenameDelete) {
    put("tun.ee", "old tunables");
    inTask([&] {
        const int fd = VKOS_CreateFileWrite("tun.tmp");
        ASSERT_GE(fd, 3);
        ASSERT_LE(fd, 255);
        EXPECT_EQ(W_cacheFileHandle, fd);
        EXPECT_EQ(writeString(fd, "new tunables"), 1);
        EXPECT_EQ(sizeOf("tun.tmp"), 0u) << "small writes stay in the cache";
        EXPECT_EQ(VKOS_CloseFile(fd), 1);
        EXPECT_EQ(W_cacheFileHandle, 0);
        EXPECT_EQ(contents("tun.tmp"), "new tunables");

        // Renamed over the old file in one step.
        EXPECT_EQ(VKOS_RenameFile("tun.tmp", "tun.ee"), 1);
        EXPECT_EQ(contents("tun.ee"), "new tunables");
        EXPECT_FALSE(exists("tun.tmp"));
        EXPECT_EQ(VKOS_RenameFile("tun.tmp", "tun.ee"), 0);

        const int rd = VKOS_OpenFileRead("tun.ee");
        ASSERT_NE(rd, 0);
        char buf[32] = {};
        EXPECT_EQ(VKOS_ReadFile(rd, buf, 3), 1);
        EXPECT_EQ(std::string(buf, 3), "new");
        EXPECT_EQ(VKOS_ReadFile(rd, buf, 20), 0) << "fewer bytes than asked";
        EXPECT_EQ(VKOS_ReadFileBytes(rd, buf, 20), 0) << "end of file";
        VKOS_seek(rd, 1);
        EXPECT_EQ(VKOS_ReadFileBytes(rd, buf, 20), 12);
        EXPECT_EQ(VKOS_CloseFile(rd), 1);
        EXPECT_EQ(VKOS_ReadFileBytes(rd, buf, 20), -1) << "closed descriptor";

        EXPECT_EQ(VKOS_OpenFileRead("missing.ee"), 0);
        EXPECT_EQ(VKOS_OpenFileRW("missing.ee"), 0);
        EXPECT_EQ(VKOS_DeleteFile("tun.ee"), 1);
        EXPECT_EQ(VKOS_DeleteFile("tun.ee"), 0);
        EXPECT_FALSE(exists("tun.ee"));

        // A read-write file created anew is truncated and written directly.
        put("rw.bin", "0123456789");
        const int rw = VKOS_CreateFileRW("rw.bin");
        ASSERT_NE(rw, 0);
        EXPECT_EQ(writeString(rw, "ab"), 1);
        EXPECT_EQ(contents("rw.bin"), "ab");
        EXPECT_EQ(VKOS_CloseFile(rw), 1);
    });
    EXPECT_EQ(hostfs::openDescriptors(), 0);
}

TEST_F(FileServices, OneFileOwnsTheCache) {
    inTask([&] {
        const int a = VKOS_CreateFileWrite("a.log");
        const int b = VKOS_CreateFileWrite("b.log");
        ASSERT_NE(a, 0);
        ASSERT_NE(b, 0);
        EXPECT_EQ(W_cacheFileHandle, a);
        EXPECT_EQ(writeString(b, "direct"), 1);
        EXPECT_EQ(contents("b.log"), "direct") << "the second file is written directly";
        EXPECT_EQ(writeString(a, "cached"), 1);
        EXPECT_EQ(sizeOf("a.log"), 0u);
        EXPECT_EQ(VKOS_CloseFile(b), 1);
        EXPECT_EQ(W_cacheFileHandle, a) << "closing another file leaves the cache";
        EXPECT_EQ(VKOS_CloseFile(a), 1);
        EXPECT_EQ(contents("a.log"), "cached");
        const int c = VKOS_CreateFileWrite("c.log");
        EXPECT_EQ(W_cacheFileHandle, c) << "the freed cache goes to the next file created";
        EXPECT_EQ(VKOS_CloseFile(c), 1);
    });
}

TEST_F(FileServices, CacheFillsFlushesAndKeepsOrder) {
    const std::string first = pattern(VKOS_WRITE_CACHE_SIZE - 10, 'a');
    const std::string second = pattern(10, 'K');
    const std::string third = pattern(1, 'z');
    const std::string big = pattern(VKOS_WRITE_CACHE_SIZE, 'A');
    const std::string tail = pattern(5, '0');
    inTask([&] {
        const int fd = VKOS_CreateFileWrite("data.tmp");
        ASSERT_NE(fd, 0);
        EXPECT_EQ(writeString(fd, first), 1);
        EXPECT_EQ(writeString(fd, second), 1);
        EXPECT_EQ(_cacheIndex, VKOS_WRITE_CACHE_SIZE);
        EXPECT_EQ(sizeOf("data.tmp"), 0u) << "a write that exactly fills the cache does not flush";
        EXPECT_EQ(writeString(fd, third), 1);
        EXPECT_EQ(sizeOf("data.tmp"), static_cast<uint64_t>(VKOS_WRITE_CACHE_SIZE));
        EXPECT_EQ(_cacheIndex, 1);
        // A write as large as the cache goes out directly, after the cached byte.
        EXPECT_EQ(writeString(fd, big), 1);
        EXPECT_EQ(_cacheIndex, 0);
        EXPECT_EQ(writeString(fd, tail), 1);
        EXPECT_EQ(VKOS_CloseFile(fd), 1);
    });
    EXPECT_EQ(contents("data.tmp"), first + second + third + big + tail);
}

TEST_F(FileServices, FullDiskFailsTheSaveAndKeepsTheOldFile) {
    const std::string good = pattern(4000, 'g');
    put("app.ee", good);
    hostfs::setCapacity(good.size() + 1000);
    inTask([&] {
        EXPECT_EQ(VKOS_DriveSpaceAvailable(1000, 0), 1);
        EXPECT_EQ(VKOS_DriveSpaceAvailable(1001, 0), 0);
        EXPECT_EQ(VKDriveSpaceAvailable(1000), 0);
        EXPECT_NE(VKDriveSpaceAvailable(1001), 0);

        // The writer saves through ".tmp" and renames only after a good close.
        const int fd = VKOS_CreateFileWrite("app.tmp");
        ASSERT_NE(fd, 0);
        bool written = true;
        for (int i = 0; i < 50; ++i) written = writeString(fd, pattern(100, 'n')) == 1 && written;
        EXPECT_TRUE(written) << "the cache takes the bytes";
        EXPECT_EQ(VKOS_CloseFile(fd), 0) << "the flush wrote only part of the cache";
        EXPECT_EQ(W_cacheFileHandle, 0);
        EXPECT_EQ(sizeOf("app.tmp"), 1000u);
        EXPECT_EQ(VKOS_DeleteFile("app.tmp"), 1);

        // A flush forced by a write that no longer fits fails that write.
        const int fd2 = VKOS_CreateFileWrite("app.tmp");
        ASSERT_NE(fd2, 0);
        EXPECT_EQ(writeString(fd2, pattern(VKOS_WRITE_CACHE_SIZE - 1, 'c')), 1);
        EXPECT_EQ(writeString(fd2, "xy"), 0);
        EXPECT_EQ(VKOS_CloseFile(fd2), 1) << "nothing left to flush";
        EXPECT_EQ(VKOS_DeleteFile("app.tmp"), 1);

        // A direct write on a full disk fails too.
        const int other = VKOS_CreateFileWrite("own.tmp");
        const int direct = VKOS_CreateFileRW("direct.bin");
        ASSERT_NE(direct, 0);
        EXPECT_EQ(writeString(direct, pattern(1500, 'd')), 0);
        EXPECT_EQ(VKOS_CloseFile(direct), 1);
        EXPECT_EQ(VKOS_CloseFile(other), 1);

        EXPECT_EQ(VKOS_CopyFile("app.ee", "copy.ee"), 0) << "the copy does not fit";
    });
    EXPECT_EQ(contents("app.ee"), good);
    hostfs::setCapacity(std::nullopt);
    inTask([&] {
        EXPECT_EQ(VKOS_CopyFile("app.ee", "copy.ee"), 1);
        EXPECT_EQ(VKOS_CopyFile("none.ee", "copy2.ee"), 0);
    });
    EXPECT_EQ(contents("copy.ee"), good);
}

TEST_F(FileServices, LogRotation) {
    put("ev.csv", std::string(511999, 'a'));
    put("ev.bak", "older backup");
    inTask([&] {
        // Below the limit: appended at the end.
        int fd = VKOS_OpenLogFileForAppending("ev.csv", "ev.bak", 500);
        ASSERT_NE(fd, 0);
        EXPECT_EQ(writeString(fd, "b"), 1);
        EXPECT_EQ(VKOS_CloseFile(fd), 1);
        EXPECT_EQ(sizeOf("ev.csv"), 512000u);
        EXPECT_EQ(contents("ev.bak"), "older backup");

        // At 500 x 1024 bytes: the log becomes the backup and starts anew.
        fd = VKOS_OpenLogFileForAppending("ev.csv", "ev.bak", 500);
        ASSERT_NE(fd, 0);
        EXPECT_EQ(writeString(fd, "line\n"), 1);
        EXPECT_EQ(VKOS_CloseFile(fd), 1);
        EXPECT_EQ(contents("ev.csv"), "line\n");
        EXPECT_EQ(sizeOf("ev.bak"), 512000u);

        // A missing log is created.
        fd = VKOS_OpenLogFileForAppending("new.csv", "new.bak", 500);
        ASSERT_NE(fd, 0);
        EXPECT_EQ(VKOS_CloseFile(fd), 1);
        EXPECT_TRUE(exists("new.csv"));
    });
}

TEST_F(FileServices, FailedRotationKeepsAppending) {
    const std::string full(2048, 'L');
    put("ev.csv", full);
    // A backup name that cannot be replaced by a file: a directory that is
    // not empty.
    fs::create_directory(hostFile("ev.bak"));
    put("ev.bak/keep", "x");
    inTask([&] {
        const int fd = VKOS_OpenLogFileForAppending("ev.csv", "ev.bak", 2);
        ASSERT_NE(fd, 0);
        EXPECT_EQ(writeString(fd, "next"), 1);
        EXPECT_EQ(VKOS_CloseFile(fd), 1);
    });
    EXPECT_EQ(contents("ev.csv"), full + "next") << "the live log is not truncated";
}

TEST_F(FileServices, SizeDateAndAttributes) {
    put("cfg.logConfig", "VARNEKAR");
    struct stat st{};
    ASSERT_EQ(::stat(hostFile("cfg.logConfig").c_str(), &st), 0);
    inTask([&] {
        const int fd = VKOS_OpenFileRW("cfg.logConfig");
        ASSERT_NE(fd, 0);
        uint32_t size = 0, date = 0;
        EXPECT_EQ(VKOS_GetFileSize(fd, &size), 0);
        EXPECT_EQ(size, 8u);
        EXPECT_EQ(VKOS_GetFileDate(fd, &date), 1);
        EXPECT_EQ(date, static_cast<uint32_t>(st.st_mtime));

        EXPECT_EQ(VKOS_SetFileAttributes(fd, 1), 0);
        hostfs::FileStat fst{};
        ASSERT_EQ(hostfs::fstat(fd, &fst), 0);
        EXPECT_EQ(fst.attributes & 0x01, 0x01);
        EXPECT_EQ(VKOS_SetFileAttributes(fd, 2), 0);
        EXPECT_EQ(VKOS_SetFileAttributes(fd, 3), 0) << "code 3 changes nothing";
        ASSERT_EQ(hostfs::fstat(fd, &fst), 0);
        EXPECT_EQ(fst.attributes, 0x03);
        EXPECT_EQ(VKOS_SetFileAttributes(fd, 44), 0);
        ASSERT_EQ(hostfs::fstat(fd, &fst), 0);
        EXPECT_EQ(fst.attributes, 0x02) << "read-only cleared, hidden kept";

        EXPECT_EQ(VKOS_CloseFile(fd), 1);
        size = 77;
        date = 77;
        EXPECT_EQ(VKOS_GetFileSize(fd, &size), 0);
        EXPECT_EQ(VKOS_GetFileDate(fd, &date), 0);
        EXPECT_EQ(size, 77u);
        EXPECT_EQ(date, 77u);
        EXPECT_EQ(VKOS_SetFileAttributes(fd, 1), -1);
    });
    ASSERT_EQ(::stat(hostFile("cfg.logConfig").c_str(), &st), 0);
    EXPECT_NE(st.st_mode & S_IWUSR, 0u);
}

TEST_F(FileServices, NamesAndDirectories) {
    char buf[VKOS_PATH_MAX];
    EXPECT_EQ(VKOS_pathCat("/logs", "ae_eventlog.csv", buf), 0);
    EXPECT_STREQ(buf, "/logs/ae_eventlog.csv");
    EXPECT_EQ(VKOS_pathCat("/logs/", "/x", buf), 0);
    EXPECT_STREQ(buf, "/logs/x");
    const std::string longName(300, 'n');
    EXPECT_EQ(VKOS_pathCat("/logs", longName.c_str(), buf), 1);

    inTask([&] {
        EXPECT_EQ(VKOS_CreateFileWrite(longName.c_str()), 0);
        EXPECT_EQ(VKOS_CreateDirectory("RamLog"), 0);
        EXPECT_EQ(VKOS_CreateDirectory("RamLog"), -1);
        const int fd = VKOS_CreateFileWrite("RamLog/trend.tmp");
        ASSERT_NE(fd, 0);
        EXPECT_EQ(VKOS_CloseFile(fd), 1);
        EXPECT_EQ(VKOS_RenameFile("RamLog/trend.tmp", "RamLog/trend.log"), 1);
        // Names cannot climb out of the application directory.
        EXPECT_EQ(VKOS_CreateFileWrite("../escape.txt"), 0);
        EXPECT_EQ(VKOS_CopyFile("RamLog/trend.log", "RamLog/../../escape.txt"), 0);
    });
    EXPECT_TRUE(exists("RamLog/trend.log"));
    EXPECT_FALSE(fs::exists(fs::path(root).parent_path() / "escape.txt"));
}

TEST_F(FileServices, DescriptorsStayInTargetRange) {
    // Host descriptors above 255 still give target descriptors 3..255.
    std::vector<int> spare;
    for (int i = 0; i < 300; ++i) spare.push_back(::open("/dev/null", O_RDONLY | O_CLOEXEC));
    put("f.txt", "x");
    inTask([&] {
        std::vector<int> fds;
        for (;;) {
            const int fd = VKOS_OpenFileRead("f.txt");
            if (fd == 0) break;
            fds.push_back(fd);
            ASSERT_LE(fds.size(), 253u);
        }
        EXPECT_EQ(fds.size(), 253u) << "every descriptor from 3 to 255";
        for (int fd : fds) {
            EXPECT_GE(fd, 3);
            EXPECT_LE(fd, 255);
        }
        char c = 0;
        EXPECT_EQ(VKOS_ReadFile(fds.back(), &c, 1), 1);
        EXPECT_EQ(c, 'x');
        EXPECT_EQ(VKOS_CloseFile(fds[10]), 1);
        EXPECT_EQ(VKOS_OpenFileRead("f.txt"), fds[10]) << "a freed descriptor is used again";
        for (int fd : fds) EXPECT_EQ(VKOS_CloseFile(fd), 1);
    });
    for (int h : spare) ::close(h);
    EXPECT_EQ(hostfs::openDescriptors(), 0);
}

TEST_F(FileServices, RejectedDescriptorsAreReported) {
    int sv[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, sv), 0);
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    ASSERT_LE(pipeFds[1], 255);
    ASSERT_LE(sv[1], 255);
    std::string out;
    inTask([&] {
        testing::internal::CaptureStdout();
        EXPECT_EQ(VKOS_CloseFile(2), 1);
        EXPECT_EQ(VKOS_CloseFile(256), 1);
        EXPECT_EQ(VKOS_CloseSocket(-1), -1);
        EXPECT_EQ(VKOS_CloseSocket(1), -1);
        out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(VKOS_CloseSocket(sv[0]), 0);
        // Not a socket: the shutdown fails (reported as an event only), the
        // descriptor is closed all the same.
        EXPECT_EQ(VKOS_CloseSocket(pipeFds[0]), 0);
    });
    EXPECT_NE(out.find("VKOS_CloseFile 2.  TaskID 0x"), std::string::npos) << out;
    EXPECT_NE(out.find(",-tPlatform\n"), std::string::npos) << out;
    EXPECT_NE(out.find("VKOS_CloseFile 256.  TaskID 0x"), std::string::npos) << out;
    EXPECT_NE(out.find("VKOS_CloseSocket 1.  TaskID 0x"), std::string::npos) << out;
    EXPECT_EQ(out.find("VKOS_CloseSocket -1"), std::string::npos) << out;
    EXPECT_NE(::fcntl(2, F_GETFD), -1) << "descriptor 2 was not closed";
    EXPECT_EQ(::fcntl(sv[0], F_GETFD), -1);
    EXPECT_EQ(::fcntl(pipeFds[0], F_GETFD), -1);
    char c = 0;
    EXPECT_EQ(::read(sv[1], &c, 1), 0) << "the peer sees the shutdown";
    ::close(sv[1]);
    ::close(pipeFds[1]);
}

namespace {
uint32_t ramAsked = 0;
int ramDriveFull(uint32_t bytes) {
    ramAsked = bytes;
    return bytes > 100 ? 1 : 0;
}
}  // namespace

TEST_F(FileServices, PlatformSymbolsAndRamDrive) {
    int sharedWord = 0;
    EXPECT_EQ(VKOS_FindSymbol("ApplicationShutdownPermissive"), nullptr);
    hostsym::registerSymbol("ApplicationShutdownPermissive", &sharedWord);
    EXPECT_EQ(VKOS_FindSymbol("ApplicationShutdownPermissive"), &sharedWord);
    void* addr = nullptr;
    EXPECT_EQ(VKSymFindByName("ApplicationShutdownPermissive", &addr), OK);
    EXPECT_EQ(addr, &sharedWord);
    EXPECT_EQ(VKSymFindByName("VKsetTimeSyncState", &addr), ERROR);
    hostsym::registerSymbol("ApplicationShutdownPermissive", nullptr);
    EXPECT_EQ(VKOS_FindSymbol("ApplicationShutdownPermissive"), nullptr);

    // Without the RAM-drive routine both flags ask the application drive.
    hostfs::setCapacity(500);
    EXPECT_EQ(VKOS_DriveSpaceAvailable(400, 1), 1);
    EXPECT_EQ(VKOS_DriveSpaceAvailable(600, 1), 0);
    hostsym::registerSymbol("VKRAMDriveSpaceAvailable", reinterpret_cast<void*>(&ramDriveFull));
    EXPECT_EQ(VKOS_DriveSpaceAvailable(100, 1), 1);
    EXPECT_EQ(ramAsked, 100u);
    EXPECT_EQ(VKOS_DriveSpaceAvailable(400, 1), 0) << "the RAM drive answers, not the application drive";
    EXPECT_EQ(VKOS_DriveSpaceAvailable(400, 0), 1);
    EXPECT_EQ(ramAsked, 400u);
}
