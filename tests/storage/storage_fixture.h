// A temporary application directory, the host kernel in simulated time and
// the platform's message table, for the tunables file and the NV log.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "host/hostfs.h"
#include "host/hostkernel.h"
#include "host/vkplatform.h"
#include "platform/send_evt.h"

namespace storage_test {

// What putHostile leaves under a store's name.
enum Hostile { kPipe, kLinkToZero, kHugeLine };

class StorageFixture : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/tc_storage-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        root = tmpl;
        hostfs::setApplicationRoot(root);
        hk::start(hk::ClockMode::Simulated);
        hostplatform::start(false);
        AppEventUnload();
        hk::runTask([] { AppEventInit(); });
        hk::spawnFunction([] { AppEventMonitor(0); }, 40, "AppEventMonitor");
    }
    void TearDown() override {
        AppEventUnload();
        hk::shutdown();
        hostfs::setCapacity(std::nullopt);
        hostfs::setRenameFault(false);
        hostfs::setWriteFault(std::nullopt);
        hostfs::setSyncFault(std::nullopt);
        hostfs::setRenameFaults(0);
        hostfs::setCreateHook({});
        std::filesystem::remove_all(root);
    }
    static void inTask(const std::function<void()>& body) { hk::runTask(body, 100, "tStorage"); }

    std::string path(const std::string& name) const { return root + "/" + name; }
    bool exists(const std::string& name) const { return std::filesystem::exists(path(name)); }
    std::string contents(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    void put(const std::string& name, const std::string& data) const {
        std::ofstream(path(name), std::ios::binary | std::ios::trunc) << data;
    }
    // "event N: text" of every message the platform has read so far.
    std::vector<std::string> events() {
        hk::runTicks(200);
        std::vector<std::string> v;
        for (const auto& m : hostplatform::messages()) v.push_back("event " + std::to_string(m.code) + ": " + m.text);
        return v;
    }
    bool hasEvent(const std::string& line) {
        const auto v = events();
        return std::find(v.begin(), v.end(), line) != v.end();
    }
    // Events that begin with `start`.
    int eventsStartingWith(const std::string& start) {
        int n = 0;
        for (const std::string& l : events()) n += l.rfind(start, 0) == 0 ? 1 : 0;
        return n;
    }
    // Something under `name` that is no regular file, or a regular file
    // bigger than any store: what a user or another program may leave there.
    void putHostile(const std::string& name, int kind) const {
        const std::string p = path(name);
        std::filesystem::remove(p);
        if (kind == kPipe) {
            ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0);
        }
        if (kind == kLinkToZero) std::filesystem::create_symlink("/dev/zero", p);
        if (kind == kHugeLine) {
            std::ofstream out(p, std::ios::binary);
            const std::string block(1 << 20, 'E');
            for (int k = 0; k < 30; ++k) out << block;
        }
    }

    std::string root;
};

inline std::string be32(uint32_t v) {
    std::string s(4, '\0');
    for (int k = 0; k < 4; ++k) s[k] = static_cast<char>(v >> (24 - 8 * k));
    return s;
}
inline uint32_t readBe32(const std::string& s, size_t at) {
    uint32_t v = 0;
    for (size_t k = 0; k < 4; ++k) v = (v << 8) | static_cast<uint8_t>(s.at(at + k));
    return v;
}

}  // namespace storage_test
