// File services against a real temporary directory mapped as the
// application root, run from a task of the host kernel.
#include <sys/stat.h>
#include <sys/socket.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "host/hostfs.h"
#include "host/hostio.h"
#include "host/hostsym.h"
#include "host/hostkernel.h"
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
        fs::remove_all(root);
    }
    static void inTask(const std::function<void()>& body) { hk::runTask(body, 100, "tPlatform"); }
    std::string path(const std::string& name) const { return root + "/" + name; }
    std::string contents(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    void put(const std::string& name, const std::string& data) const {
        std::ofstream(path(name), std::ios::binary) << data;
    }
    uint64_t sizeOf(const std::string& name) const { return fs::file_size(path(name)); }
    std::string root;
};

std::string pattern(size_t n, char seed) {
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>(seed + i % 23);
    return s;
}

int writeString(int fd, const std::string& s) { return VKOS_WriteFile(fd, s.data(), static_cast<uint32_t>(s.size())); }

}  // namespace

TEST_F(FileServices, CreateCacheCopyRenameRemoveAndSize) {
    put("tun.ee", "old tunables");
    const std::string first = pattern(VKOS_WRITE_CACHE_SIZE - 3, 'a'), big = pattern(VKOS_WRITE_CACHE_SIZE, 'A');
    inTask([&] {
        const int fd = VKOS_CreateFileWrite("tun.tmp");
        const int other = VKOS_CreateFileWrite("other.tmp");
        ASSERT_GE(fd, 3);
        ASSERT_LE(fd, 255);
        EXPECT_EQ(W_cacheFileHandle, fd);  // the first file owns the cache, the second is written directly
        EXPECT_EQ(writeString(other, "direct"), 1);
        EXPECT_EQ(writeString(other, "!"), 1);  // a single byte too
        EXPECT_EQ(writeString(other, ""), 1);  // and nothing at all
        EXPECT_EQ(contents("other.tmp"), "direct!");
        EXPECT_EQ(VKOS_CloseFile(other), 1);
        EXPECT_EQ(writeString(fd, first), 1);
        EXPECT_EQ(writeString(fd, "xyz"), 1);
        EXPECT_EQ(sizeOf("tun.tmp"), 0u) << "a write that exactly fills the cache does not flush";
        EXPECT_EQ(writeString(fd, "!"), 1);
        EXPECT_EQ(sizeOf("tun.tmp"), static_cast<uint64_t>(VKOS_WRITE_CACHE_SIZE));
        EXPECT_EQ(writeString(fd, big), 1);  // as large as the cache: out directly, after the cached byte
        EXPECT_EQ(sizeOf("tun.tmp"), 2u * VKOS_WRITE_CACHE_SIZE + 1);
        EXPECT_EQ(writeString(fd, "end"), 1);
        EXPECT_EQ(VKOS_CloseFile(fd), 1);
        EXPECT_EQ(W_cacheFileHandle, 0);
        EXPECT_EQ(contents("tun.tmp"), first + "xyz!" + big + "end");

        EXPECT_EQ(VKOS_RenameFile("tun.tmp", "tun.ee"), 1);  // over the old file in one step
        EXPECT_FALSE(fs::exists(path("tun.tmp")));
        EXPECT_EQ(VKOS_CopyFile("tun.ee", "copy.ee"), 1);
        EXPECT_EQ(VKOS_CopyFile("none.ee", "copy2.ee"), 0);
        const int rd = VKOS_OpenFileRead("copy.ee");
        uint32_t size = 0;
        EXPECT_EQ(VKOS_GetFileSize(rd, &size), 0);
        EXPECT_EQ(size, 2u * VKOS_WRITE_CACHE_SIZE + 4);
        // The date is the file's own, as the host's stat() gives it.
        struct stat st {};
        ASSERT_EQ(::stat(path("copy.ee").c_str(), &st), 0);
        uint32_t date = 0;
        EXPECT_EQ(VKOS_GetFileDate(rd, &date), 1);
        EXPECT_EQ(date, static_cast<uint32_t>(st.st_mtime));
        char buf[4] = {};
        EXPECT_EQ(VKOS_ReadFile(rd, buf, 3), 1);
        EXPECT_EQ(std::string(buf, 3), first.substr(0, 3));
        EXPECT_EQ(VKOS_CloseFile(rd), 1);
        date = 7;
        EXPECT_EQ(VKOS_GetFileDate(rd, &date), 0) << "a closed descriptor has no date";
        EXPECT_EQ(date, 7u);
        EXPECT_EQ(VKOS_DeleteFile("copy.ee"), 1);
        EXPECT_EQ(VKOS_DeleteFile("copy.ee"), 0);
        EXPECT_EQ(VKOS_OpenFileRead("copy.ee"), 0);
        EXPECT_EQ(VKOS_CreateFileWrite("../escape.txt"), 0);  // names cannot climb out of the root
    });
    EXPECT_EQ(contents("tun.ee"), first + "xyz!" + big + "end");
    EXPECT_EQ(hostfs::openDescriptors(), 0);
}

TEST_F(FileServices, FullDiskFailsTheSaveAndKeepsTheOldFile) {
    const std::string good = pattern(4000, 'g');
    put("app.ee", good);
    hostfs::setCapacity(good.size() + 1000);
    inTask([&] {
        EXPECT_EQ(VKOS_DriveSpaceAvailable(1000, 0), 1);
        EXPECT_EQ(VKOS_DriveSpaceAvailable(1001, 0), 0);
        // The writer saves through ".tmp" and renames only after a good close.
        const int fd = VKOS_CreateFileWrite("app.tmp");
        bool written = true;
        for (int i = 0; i < 50; ++i) written = writeString(fd, pattern(100, 'n')) == 1 && written;
        EXPECT_TRUE(written) << "the cache takes the bytes";
        EXPECT_EQ(VKOS_CloseFile(fd), 0) << "the flush wrote only part of the cache";
        EXPECT_EQ(W_cacheFileHandle, 0);
        EXPECT_EQ(VKOS_DeleteFile("app.tmp"), 1);
        // A flush forced by a write that no longer fits fails that write.
        const int fd2 = VKOS_CreateFileWrite("app.tmp");
        EXPECT_EQ(writeString(fd2, pattern(VKOS_WRITE_CACHE_SIZE - 1, 'c')), 1);
        EXPECT_EQ(writeString(fd2, "xy"), 0);
        EXPECT_EQ(VKOS_CloseFile(fd2), 1);
        EXPECT_EQ(VKOS_CopyFile("app.ee", "copy.ee"), 0) << "the copy does not fit";
    });
    EXPECT_EQ(contents("app.ee"), good);
}

TEST_F(FileServices, LogRotation) {
    put("ev.csv", std::string(511999, 'a'));
    put("ev.bak", "older backup");
    auto append = [](const char* log, const char* bak, int kb, const std::string& text) {
        const int fd = VKOS_OpenLogFileForAppending(log, bak, kb);
        ASSERT_NE(fd, 0);
        EXPECT_EQ(writeString(fd, text), 1);
        EXPECT_EQ(VKOS_CloseFile(fd), 1);
    };
    inTask([&] { append("ev.csv", "ev.bak", 500, "b"); });  // below the limit: appended
    EXPECT_EQ(sizeOf("ev.csv"), 512000u);
    EXPECT_EQ(contents("ev.bak"), "older backup");
    inTask([&] { append("ev.csv", "ev.bak", 500, "line\n"); });  // at 500 kB: the log becomes the backup
    EXPECT_EQ(contents("ev.csv"), "line\n");
    EXPECT_EQ(sizeOf("ev.bak"), 512000u);
    inTask([&] { append("new.csv", "new.bak", 500, "x"); });  // a missing log is created
    EXPECT_EQ(contents("new.csv"), "x");

    // A backup name that cannot be replaced by a file: the live log keeps growing.
    put("full.csv", std::string(2048, 'L'));
    fs::create_directory(path("full.bak"));
    put("full.bak/keep", "x");
    inTask([&] { append("full.csv", "full.bak", 2, "next"); });
    EXPECT_EQ(contents("full.csv"), std::string(2048, 'L') + "next");
}

namespace {

int g_ramSpace = 1;  // what the RAM drive answers: 0 room, non-zero none
int ramDriveSpace(uint32_t) { return g_ramSpace; }

}  // namespace

TEST_F(FileServices, RamDriveSpaceIsAskedOfThePlatformWhenItHasTheCall) {
    inTask([] {
        EXPECT_EQ(VKOS_DriveSpaceAvailable(10, 1), 1);  // no RAM drive call: the application drive answers
        hostsym::registerSymbol("VKRAMDriveSpaceAvailable", reinterpret_cast<void*>(ramDriveSpace));
        g_ramSpace = 1;
        EXPECT_EQ(VKOS_DriveSpaceAvailable(10, 1), 0);
        EXPECT_EQ(VKOS_DriveSpaceAvailable(10, 0), 1);  // the application drive
        g_ramSpace = 0;
        EXPECT_EQ(VKOS_DriveSpaceAvailable(10, 2), 1);
        hostsym::registerSymbol("VKRAMDriveSpaceAvailable", nullptr);
    });
}

TEST_F(FileServices, PathJoinAndSocketCloseResults) {
    char out[hostfs::kMaxPath];
    EXPECT_EQ(VKOS_pathCat("/a", "b", out), 0);
    EXPECT_STREQ(out, "/a/b");
    EXPECT_EQ(VKOS_pathCat(std::string(300, 'd').c_str(), "b", out), 1);
    inTask([] {
        const int s = hostio::sockAdopt(::socket(AF_INET, SOCK_STREAM, 0));  // sockets get target descriptors
        ASSERT_GE(s, 3);
        EXPECT_EQ(VKOS_CloseSocket(s), 0);
        EXPECT_EQ(VKOS_CloseSocket(-1), -1);
        // A descriptor that cannot be a file's is named on the console and
        // counts as closed.
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(VKOS_CloseFile(2), 1);
        EXPECT_EQ(VKOS_CloseFile(256), 1);
        const std::string console = ::testing::internal::GetCapturedStdout();
        EXPECT_NE(console.find("VKOS_CloseFile 2.  TaskID 0x"), std::string::npos) << console;
        EXPECT_NE(console.find(",-tPlatform\nVKOS_CloseFile 256.  TaskID 0x"), std::string::npos) << console;
    });
}

TEST_F(FileServices, AttributeCodesSetAndClearTheirBits) {
    put("attr.ee", "x");
    inTask([] {
        const int fd = VKOS_OpenFileRead("attr.ee");
        ASSERT_GT(fd, 0);
        hostfs::FileStat st{};
        EXPECT_EQ(VKOS_SetFileAttributes(fd, 32), 0);
        EXPECT_EQ(VKOS_SetFileAttributes(fd, 1), 0);
        ASSERT_EQ(hostfs::fstat(fd, &st), 0);
        EXPECT_EQ(st.attributes, 0x21);
        EXPECT_EQ(VKOS_SetFileAttributes(fd, 44), 0);  // clears read-only
        ASSERT_EQ(hostfs::fstat(fd, &st), 0);
        EXPECT_EQ(st.attributes, 0x20);
        EXPECT_EQ(VKOS_SetFileAttributes(fd, 3), 0);  // no such code: nothing changes
        ASSERT_EQ(hostfs::fstat(fd, &st), 0);
        EXPECT_EQ(st.attributes, 0x20);
        EXPECT_EQ(VKOS_CloseFile(fd), 1);
        EXPECT_EQ(VKOS_SetFileAttributes(fd, 1), -1);  // closed
    });
}

