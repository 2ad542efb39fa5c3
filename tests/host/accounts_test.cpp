// The platform's account manager as the service server calls it: accounts
// looked up in Accounts.txt of the application root, which serves only as a
// regular file and only as far as its first 64 KiB.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "host/hostaccounts.h"
#include "host/hostfs.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kFound = "0 Account found";
constexpr const char* kWrong = "7 Wrong password";
constexpr const char* kNone = "8 No such account";

class Accounts : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/accounts-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        root_ = tmpl;
        hostfs::setApplicationRoot(root_);
    }
    void TearDown() override { fs::remove_all(root_); }
    std::string file() const { return root_ + "/" + hostaccounts::kFileName; }
    void put(const std::string& text) const { std::ofstream(file(), std::ios::binary | std::ios::trunc) << text; }
    std::string root_;
};

// Comment lines of exactly `bytes` bytes (at least 2).
std::string filler(size_t bytes) {
    std::string s;
    while (bytes - s.size() > 80) s += "#" + std::string(78, 'x') + "\n";
    const size_t rest = bytes - s.size();
    s += "#" + std::string(rest - 2, 'x') + "\n";
    return s;
}

TEST_F(Accounts, LinesAreReadAsUserPasswordAndLevel) {
    struct Case {
        const char* name;
        std::string text;
        const char* user;
        const char* password;
        const char* answer;
        uint32_t level;  // when found
    };
    const std::string two = "alice first 1\n\n   bob second 2\n";
    const Case cases[] = {
        {"the first account", two, "alice", "first", kFound, 1},
        {"the second, after a blank line and blanks", two, "bob", "second", kFound, 2},
        {"the right user, another's password", two, "bob", "first", kWrong, 0},
        {"an unknown user", two, "carol", "first", kNone, 0},
        {"level 0", "guest guest 0\n", "guest", "guest", kFound, 0},
        {"level 255", "root top 255\n", "root", "top", kFound, 255},
        {"level 256 is no account", "root top 256\n", "root", "top", kNone, 0},
        {"level -1 is no account", "root top -1\n", "root", "top", kNone, 0},
        {"a level that is no number", "root top high\n", "root", "top", kNone, 0},
        {"no level", "root top\n", "root", "top", kNone, 0},
        {"no password", "root\n", "root", "", kNone, 0},
        {"a line commented out", "#root top 3\n", "#root", "top", kNone, 0},
        {"an unusable line, then the account", "root top\nroot top 4\n", "root", "top", kFound, 4},
        {"the last line without its line feed", "root top 5", "root", "top", kFound, 5},
        {"a carriage return after the level", "root top 6\r\n", "root", "top", kFound, 6},
        {"no file", "", "root", "top", kNone, 0},
        // Only the first 64 KiB count: an account whose level is the last
        // byte read is found, one whose level lies beyond is not.
        {"the level at the last byte read", filler(hostaccounts::kMaxBytes - 10) + "root top 7", "root", "top",
         kFound, 7},
        {"the level just beyond", filler(hostaccounts::kMaxBytes - 9) + "root top 7", "root", "top", kNone, 0},
        {"a level alone in the last block", filler(4096 - 9) + "root top 8", "root", "top", kFound, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(file());
        if (std::string(c.name) != "no file") put(c.text);
        uint32_t level = 99;
        EXPECT_STREQ(VKPMGetAccountLevel(c.user, c.password, &level), c.answer);
        EXPECT_EQ(level, std::string(c.answer) == kFound ? c.level : 99u);
    }
}

// A call without one of its arguments finds no account and writes nothing.
TEST_F(Accounts, AMissingArgumentIsNoAccount) {
    put("root top 3\n");
    uint32_t level = 99;
    EXPECT_STREQ(VKPMGetAccountLevel(nullptr, "top", &level), kNone);
    EXPECT_STREQ(VKPMGetAccountLevel("root", nullptr, &level), kNone);
    EXPECT_EQ(level, 99u);
    EXPECT_STREQ(VKPMGetAccountLevel("root", "top", nullptr), kNone);
    EXPECT_STREQ(VKPMGetAccountLevel("root", "top", &level), kFound);
    EXPECT_EQ(level, 3u);
}

// Under the file's name something that is no regular file: no account, at
// once (a pipe without a writer would block a reader, a device never ends).
TEST_F(Accounts, WhatIsNoRegularFileIsNoAccount) {
    struct Case {
        const char* name;
        void (*make)(const std::string& path);
    };
    const Case cases[] = {
        {"named pipe", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); }},
        {"link to /dev/zero", [](const std::string& p) { fs::create_symlink("/dev/zero", p); }},
        {"directory", [](const std::string& p) { fs::create_directory(p); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(file());
        c.make(file());
        uint32_t level = 99;
        EXPECT_STREQ(VKPMGetAccountLevel("root", "top", &level), kNone);
        EXPECT_EQ(level, 99u);
    }
}

}  // namespace

namespace {

// What lies under the file's name, and what the start says of it: nothing
// for no file or a regular one, else why the file is not read, found
// without opening it.
TEST_F(Accounts, WhyTheFileIsNotReadIsNamed) {
    struct Case {
        const char* name;
        void (*make)(const std::string& path);
        const char* why;
    };
    const Case cases[] = {
        {"no file", [](const std::string&) {}, ""},
        {"regular file", [](const std::string& p) { std::ofstream(p) << "root top 3\n"; }, ""},
        {"link to a regular file",
         [](const std::string& p) {
             std::ofstream(p + ".real") << "root top 3\n";
             fs::create_symlink(p + ".real", p);
         },
         ""},
        {"link to nothing", [](const std::string& p) { fs::create_symlink(p + ".gone", p); }, ""},
        {"named pipe", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); },
         "it is a named pipe, not a regular file"},
        {"directory", [](const std::string& p) { fs::create_directory(p); }, "it is a directory, not a regular file"},
        {"link to /dev/zero", [](const std::string& p) { fs::create_symlink("/dev/zero", p); },
         "it is a device or a socket, not a regular file"},
        {"link to itself", [](const std::string& p) { fs::create_symlink(p, p); },
         "it cannot be looked at: Too many levels of symbolic links"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(file());
        fs::remove(file() + ".real");
        c.make(file());
        EXPECT_EQ(hostaccounts::notReadBecause(), c.why);
        ::testing::internal::CaptureStdout();
        hostaccounts::reportAtStart();
        const std::string said = ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(said, *c.why == '\0' ? std::string()
                                       : "controller: the accounts file '" + file() + "' is not read: " + c.why +
                                             "; every account log-in is refused as an unknown user (status 2)\n");
    }
}

}  // namespace
