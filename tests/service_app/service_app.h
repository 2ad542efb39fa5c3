// The whole application started in simulated time with its service server
// on a free port of 127.0.0.1, and a client that speaks the service protocol
// the way a service tool does: connect, then requests by code.
#pragma once

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "runtime/appmain.h"
#include "runtime/catalogue_tables.h"
#include "runtime/dbug.h"
#include "runtime/rgtask.h"
#include "runtime/sysinfo.h"
#include "runtime/value_handles.h"
#include "host/hostfs.h"
#include "tests/service/tw_server_fixture.h"
#include "host/speed_sensor_model.h"
#include "tests/support/app_harness.h"

namespace svc_test {

inline Bytes u32(uint32_t v) { return {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)}; }
inline Bytes u16(uint16_t v) { return {uint8_t(v >> 8), uint8_t(v)}; }
inline Bytes f32(float f) {
    uint32_t u;
    std::memcpy(&u, &f, 4);
    return u32(u);
}
inline Bytes str0(const std::string& s) { return Bytes(s.c_str(), s.c_str() + s.size() + 1); }
inline Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}
inline uint32_t be32(const Bytes& b, size_t at) {
    return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}
inline float asFloat(uint32_t u) {
    float f;
    std::memcpy(&f, &u, 4);
    return f;
}

// Type codes on the wire.
constexpr uint8_t kBool = 1, kInt = 4, kReal = 32, kTime = 64, kText = 80;

// The handle the server issues for a cell (0 for a name not in the directory).
inline uint32_t handleOf(const std::string& name) {
    const DbugTables t = app_dbug_tables();
    const DbugVar* v = dbug_find_in(t, name.c_str());
    if (v == nullptr || v - _dbug_var < 1 || uint32_t(v - _dbug_var) > sizeofHMIValueArray) return 0;
    return HmiValueHandles[v - _dbug_var - 1];
}

struct Client : TwTcpClient {
    explicit Client(uint16_t port) : TwTcpClient(port) {}
    uint8_t write(uint32_t handle, uint8_t type, const Bytes& value) {
        Bytes r = ask(cat({{0x25}, u32(handle), {type}, value}));
        return r.empty() ? 0xEE : r[0];
    }
    uint8_t writeName(const std::string& name, uint8_t type, const Bytes& value) {
        return write(handleOf(name), type, value);
    }
    // Status and value bytes of a read by handle.
    Bytes read(uint32_t handle) { return ask(cat({{0x23}, u32(handle)})); }
    Bytes readName(const std::string& name) { return read(handleOf(name)); }
    uint8_t login(const std::string& user, const std::string& password) {
        Bytes r = ask(cat({{0x61}, str0(user), str0(password)}));
        return r.empty() ? 0xEE : r[0];
    }
    uint8_t level() {
        Bytes r = ask({0x62});
        return r.size() == 2 ? r[1] : 0xEE;
    }
};

class ServiceApp : public tc_test::AppHarness {
protected:
    static constexpr int R10 = 0, R20 = 1, R40 = 2, R80 = 3, R160 = 4;
    uint16_t port = 0;

    void SetUp() override {
        // The application's own slices, as the build lists them.
        static const auto all = [] {
            std::vector<std::vector<SliceFn>> v;
            for (auto& s : rg_slices) v.push_back(s);
            return v;
        }();
        AppHarness::SetUp();
        for (int g = 0; g < kNumRateGroups; ++g) useSlices(g, all[size_t(g)]);
        port = hostio::hostPort(TW_TCP_PORT);
        std::ofstream(root_ + "/" + "Accounts.txt") << "# user password level\ntech secret 3\n\nguest guest 0\n";
    }
    void TearDown() override {
        hostfs::setRenameFault(false);
        AppHarness::TearDown();
    }

    // The turbine turning at `rpm` on speed sensor 1 (a 60-tooth wheel).
    static void turn(double rpm) {
        speedsensor::install();
        speedsensor::setShaftSpeed(0, rpm, 60);
    }
    // Starts the application and waits until its listener takes connections.
    void startService() {
        startApp();
        runPasses(R10, 130);
    }
};

}  // namespace svc_test
