// The running controller answering real Modbus masters: mbpoll reads the
// application's map over TCP (link 2) and RTU on a pseudo-terminal (link 1),
// writes are refused until a link's write enable is set, and a link that is
// no longer polled raises its link error. Settings go in over the service
// protocol, the way a service tool sets them.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <cmath>
#include <functional>
#include <sstream>
#include <memory>
#include <thread>
#include <algorithm>
#include <vector>

#include "tests/service_app/service_app.h"
#include "tests/support/ports.h"
#include "tests/support/pty_pair.h"
#include "tests/support/paths.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::string controllerPath() { return TC_CONTROLLER_PATH; }

// A master's run, its exit status and output; ended after a minute however
// it waits (status 124, as `timeout` gives).
std::pair<int, std::string> runChild(const std::string& command) {
    FILE* p = popen(("timeout -k 5 60 " + command + " 2>&1").c_str(), "r");
    std::string out;
    char buf[4096];
    for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    int st = pclose(p);
    return {WIFEXITED(st) ? WEXITSTATUS(st) : -1, out};
}

// The controller as a child process, its output in a file. Its clock is
// the simulated one paced at wall speed: a host that holds the process back
// holds its time with it, so that a loaded host never makes it slip (and
// disable its I/O), and a request that has come is taken before time goes
// on. The masters' and the link supervision's times stay those of the wall.
class Controller {
public:
    Controller(int offset, const std::string& tty) {
        char name[] = "/tmp/modbus_app_XXXXXX";
        dir_ = ::mkdtemp(name) != nullptr ? name : "";
        std::ofstream(dir_ + "/Accounts.txt") << "# user password level\ntech secret 3\n";
        const pid_t parent = ::getpid();
        pid_ = ::fork();
        if (pid_ == 0) {
            // A test program killed on its time limit takes its controller with it.
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (::getppid() != parent) ::_exit(127);
            int fd = ::open((dir_ + "/out.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            ::dup2(fd, 1);
            ::dup2(fd, 2);
            std::string prog = controllerPath(), off = std::to_string(offset), map = "/tyCo/0=" + tty;
            std::vector<const char*> argv = {prog.c_str(), "--clock", "sim:1",    "--normal-priority",
                                             "--root",     dir_.c_str(), "--port-offset", off.c_str(),
                                             "--tty",      map.c_str(),  "--turbine-set", "speed=3000,friction=0,inertia=1000", nullptr};
            ::execv(prog.c_str(), const_cast<char* const*>(argv.data()));
            ::_exit(127);
        }
    }
    // The turbine turns, so the application refuses a stop (its stop
    // permissive is false): after a moment the process is killed.
    ~Controller() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            for (int t = 0; t < 100 && ::waitpid(pid_, nullptr, WNOHANG) == 0; ++t)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            if (::kill(pid_, 0) == 0) {
                ::kill(pid_, SIGKILL);
                ::waitpid(pid_, nullptr, 0);
            }
        }
        std::error_code ec;
        if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
    }
    std::string output() const {
        std::ifstream f(dir_ + "/out.txt");
        return std::string(std::istreambuf_iterator<char>(f), {});
    }
    bool waitFor(const std::string& text, int ms) {
        for (int t = 0; t < ms; t += 20) {
            if (output().find(text) != std::string::npos) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

private:
    pid_t pid_ = -1;
    std::string dir_;
};

// A service-protocol session over TCP in real time.
class Service {
public:
    explicit Service(uint16_t port) {
        for (int i = 0; i < 200 && !connected_; ++i) {
            if (fd_ >= 0) ::close(fd_);
            fd_ = tc_test::loopbackSocket(SOCK_STREAM, port, &connected_);
            if (!connected_) std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        timeval tv{5, 0};
        ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        exchange(0, {0x00});
    }
    ~Service() { ::close(fd_); }
    bool connected() const { return connected_; }
    // Status byte of a write by name.
    uint8_t write(const std::string& name, uint8_t type, const Bytes& value) {
        Bytes r = exchange(1, svc_test::cat({{0x25}, svc_test::u32(svc_test::handleOf(name)), {type}, value}));
        return r.empty() ? 0xEE : r[0];
    }
    Bytes read(const std::string& name) {
        return exchange(1, svc_test::cat({{0x23}, svc_test::u32(svc_test::handleOf(name))}));
    }

private:
    int fd_ = -1;
    bool connected_ = false;
    Bytes exchange(uint8_t type, const Bytes& payload) {
        Bytes f = twFrame(type, payload);
        if (::send(fd_, f.data(), f.size(), MSG_NOSIGNAL) != ssize_t(f.size())) return {};
        uint8_t h[3];
        if (!readAll(h, 3)) return {};
        Bytes body(size_t(h[1] << 8 | h[2]));
        if (!readAll(body.data(), body.size())) return {};
        return body;
    }
    bool readAll(uint8_t* p, size_t n) {
        for (size_t got = 0; got < n;) {
            ssize_t r = ::recv(fd_, p + got, n - got, 0);
            if (r <= 0) return false;
            got += size_t(r);
        }
        return true;
    }
};

constexpr uint8_t kBool = svc_test::kBool, kInt = svc_test::kInt, kReal = svc_test::kReal;

class ControllerMap : public ::testing::Test {
protected:
    int offset = tc_test::pickPortOffset();
    testsupport::PtyPair pty;
    std::unique_ptr<Controller> ctl;
    std::unique_ptr<Service> svc;
    std::string tcp;  // mbpoll's TCP options

    void SetUp() override {
        ASSERT_TRUE(pty.ok());
        ctl = std::make_unique<Controller>(offset, pty.path(0));
        ASSERT_TRUE(ctl->waitFor("Application is running", 30000)) << ctl->output();
        svc = std::make_unique<Service>(uint16_t(666 + offset));
        ASSERT_TRUE(svc->connected());
        tcp = "mbpoll -m tcp -p " + std::to_string(502 + offset) + " -a 2 -1 ";
        // The I/O configuration is left at its defaults, which its checks
        // report; the configuration-error list's override keeps them from
        // holding the map once power-up has completed.
        ASSERT_EQ(svc->write("CONF_LATCH.ANY.OVRD", kBool, {1}), 0);
        ASSERT_TRUE(eventually([&] { return flag("PWR_UP_MSG.N_ERR_DLY.DELAY") == 1; }, 10000));
    }
    float real(const std::string& name) {
        Bytes r = svc->read(name);
        return r.size() == 5 ? svc_test::asFloat(svc_test::be32(r, 1)) : -1e9f;
    }
    // A boolean cell; 0xEE when the service side gave no answer.
    uint8_t flag(const std::string& name) {
        Bytes r = svc->read(name);
        return r.size() == 2 ? r.back() : 0xEE;
    }
    int32_t integer(const std::string& name) {
        Bytes r = svc->read(name);
        return r.size() == 5 ? int32_t(svc_test::be32(r, 1)) : -999999;
    }
    // mbpoll's output for a command that must succeed.
    std::string poll(const std::string& command) {
        auto [status, out] = runChild(command);
        EXPECT_EQ(status, 0) << command << "\n" << out;
        return out;
    }
    // Polls until `probe` holds or ms of wall time passed (the map is taken
    // over each 160 ms), however long each probe waits for its answer.
    bool eventually(const std::function<bool()>& probe, int ms = 5000) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        for (;;) {
            if (probe()) return true;
            if (std::chrono::steady_clock::now() >= end) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
};

std::string at(int ref, int value) { return "[" + std::to_string(ref) + "]: \t" + std::to_string(value) + "\n"; }

// Steps a real tunable toward `target` in the largest steps the service side
// accepts while the control runs (10 %).
void stepTo(Service& svc, const std::string& name, float from, float target) {
    for (float v = from; v != target;) {
        v = target < v ? std::max(target, v * 0.9f) : std::min(target, v * 1.1f);
        ASSERT_EQ(svc.write(name, kReal, svc_test::f32(v)), 0) << name << " " << v;
    }
}

// Input registers over TCP carry the cells times their multipliers; the
// discrete inputs carry the application's booleans.
TEST_F(ControllerMap, TcpLinkServesTheMapWithItsScaling) {
    ASSERT_EQ(svc->write("C_COMM.C1.IN", kBool, {1}), 0);
    ASSERT_EQ(svc->write("CNFG_COMMS.LINK2_USED.IN", kBool, {1}), 0);
    ASSERT_TRUE(eventually([&] { return integer("MOD.PORT2_COMM_USED.I_SW") == 2; }));
    ASSERT_TRUE(eventually([&] { return poll(tcp + "-t 3 -r 1 -c 12 127.0.0.1").find(at(1, 3000)) != std::string::npos; }));
    std::string ir = poll(tcp + "-t 3 -r 1 -c 12 127.0.0.1");
    EXPECT_NE(ir.find(at(11, 3000)), std::string::npos) << ir;  // probe 1 monitor
    EXPECT_NE(ir.find(at(12, 3000)), std::string::npos) << ir;  // probe 2 monitor
    // Multipliers: speed x 1.1, probe 2 x 0.9.
    ASSERT_EQ(svc->write("MOD.MOD1.AR_M_1", kReal, svc_test::f32(1.1f)), 0);
    ASSERT_EQ(svc->write("MOD.MOD1.AR_M_12", kReal, svc_test::f32(0.9f)), 0);
    ASSERT_TRUE(eventually([&] {
        std::string r = poll(tcp + "-t 3 -r 1 -c 12 127.0.0.1");
        return r.find(at(1, 3300)) != std::string::npos && r.find(at(12, 2700)) != std::string::npos &&
               r.find(at(11, 3000)) != std::string::npos;
    }));
    // Discrete inputs 1 and 2: any shutdown, any alarm.
    std::string di = poll(tcp + "-t 1 -r 1 -c 2 127.0.0.1");
    EXPECT_NE(di.find(at(1, flag("SHUTDOWNS.ANY_SD.B_NAME"))), std::string::npos) << di;
    EXPECT_NE(di.find(at(2, flag("ALARMS.ANY_ALM.B_NAME"))), std::string::npos) << di;
}

// A master's writes reach the map's cells only while the link's write
// enable is set; with it off the engine answers and changes nothing.
TEST_F(ControllerMap, TcpWritesAreRefusedUntilTheWriteEnableIsSet) {
    ASSERT_EQ(svc->write("C_COMM.C1.IN", kBool, {1}), 0);
    ASSERT_EQ(svc->write("CNFG_COMMS.LINK2_USED.IN", kBool, {1}), 0);
    ASSERT_TRUE(eventually([&] { return integer("MOD.PORT2_COMM_USED.I_SW") == 2; }));
    ASSERT_TRUE(eventually([&] { return runChild(tcp + "-t 4 -r 1 127.0.0.1").first == 0; }));
    EXPECT_NE(poll(tcp + "-t 4 -r 2 127.0.0.1 500").find("Written 1 references."), std::string::npos);
    EXPECT_NE(poll(tcp + "-t 0 -r 3 127.0.0.1 1").find("Written 1 references."), std::string::npos);
    EXPECT_FALSE(eventually([&] { return real("MOD.MOD1.AW_V_2") != 0.0f; }, 1000));
    EXPECT_NE(poll(tcp + "-t 4 -r 2 127.0.0.1").find(at(2, 0)), std::string::npos);
    EXPECT_EQ(flag("MOD.MOD1.BW_V_3"), 0);

    ASSERT_EQ(svc->write("CNFG_COMMS.PORT2_WRT_ENBL.IN", kBool, {1}), 0);
    ASSERT_TRUE(eventually([&] { return flag("MOD.MOD1.AW_ENBL_2") == 1; }));
    EXPECT_NE(poll(tcp + "-t 4 -r 2 127.0.0.1 500").find("Written 1 references."), std::string::npos);
    EXPECT_NE(poll(tcp + "-t 0 -r 3 127.0.0.1 1").find("Written 1 references."), std::string::npos);
    EXPECT_TRUE(eventually([&] { return real("MOD.MOD1.AW_V_2") == 500.0f; })) << ctl->output();
    EXPECT_TRUE(eventually([&] { return flag("MOD.MOD1.BW_V_3") == 1; }));
    EXPECT_NE(poll(tcp + "-t 4 -r 1 -c 3 127.0.0.1").find(at(2, 500)), std::string::npos);
}

// The map's extent in each table: 22 coils, 90 discrete inputs, 50 input
// registers and 5 holding registers; the last of each answers, the next is
// refused as an address the map does not have.
TEST_F(ControllerMap, EachTableEndsAtItsLastEntry) {
    ASSERT_EQ(svc->write("C_COMM.C1.IN", kBool, {1}), 0);
    ASSERT_EQ(svc->write("CNFG_COMMS.LINK2_USED.IN", kBool, {1}), 0);
    ASSERT_TRUE(eventually([&] { return runChild(tcp + "-t 3 -r 1 127.0.0.1").first == 0; }));
    const struct {
        const char* table;
        int last;
    } tables[] = {{"0", 22}, {"1", 90}, {"3", 50}, {"4", 5}};
    for (const auto& t : tables) {
        SCOPED_TRACE(t.table);
        const std::string read = tcp + "-t " + t.table + " -r ";
        poll(read + std::to_string(t.last) + " 127.0.0.1");
        const auto [status, out] = runChild(read + std::to_string(t.last + 1) + " 127.0.0.1");
        EXPECT_NE(status, 0) << out;
        EXPECT_NE(out.find("Illegal data address"), std::string::npos) << out;
    }
}

// Coil 9, written by a master while the link's writes are enabled, is the
// command that disables the remote speed setpoint: it latches in the
// command window and raises its own alarm (60).
TEST_F(ControllerMap, TheRemoteSpeedDisableCoilRaisesItsAlarm) {
    ASSERT_EQ(svc->write("C_COMM.C1.IN", kBool, {1}), 0);
    ASSERT_EQ(svc->write("CNFG_COMMS.LINK2_USED.IN", kBool, {1}), 0);
    ASSERT_EQ(svc->write("CNFG_COMMS.PORT2_WRT_ENBL.IN", kBool, {1}), 0);
    ASSERT_TRUE(eventually([&] { return flag("MOD.MOD1.AW_ENBL_2") == 1; }));
    ASSERT_TRUE(eventually([&] { return runChild(tcp + "-t 0 -r 9 127.0.0.1").first == 0; }));
    EXPECT_EQ(flag("MOD_BW.BW_CMD.SEL_9"), 0);
    EXPECT_EQ(flag("ALARMS.ANY.SEL_60"), 0);
    EXPECT_NE(poll(tcp + "-t 0 -r 9 127.0.0.1 1").find("Written 1 references."), std::string::npos);
    EXPECT_TRUE(eventually([&] { return flag("MOD_BW.BW_CMD.SEL_9") == 1; }));
    EXPECT_EQ(flag("RMT_ENBL.OR_DISABLE.OR"), 1);
    EXPECT_TRUE(eventually([&] { return flag("ALARMS.ANY.SEL_60") == 1; }));
    EXPECT_EQ(flag("ALARMS.ANY.SEL_61"), 0);
}

// Coil 3 is the master's trip command: it trips the unit (trip 5) only
// while the Modbus trip is enabled.
TEST_F(ControllerMap, TheTripCoilTripsOnlyWhileTheModbusTripIsEnabled) {
    ASSERT_EQ(svc->write("C_COMM.C1.IN", kBool, {1}), 0);
    ASSERT_EQ(svc->write("CNFG_COMMS.LINK2_USED.IN", kBool, {1}), 0);
    ASSERT_EQ(svc->write("CNFG_COMMS.PORT2_WRT_ENBL.IN", kBool, {1}), 0);
    ASSERT_TRUE(eventually([&] { return flag("MOD.MOD1.AW_ENBL_2") == 1; }));
    ASSERT_TRUE(eventually([&] { return runChild(tcp + "-t 0 -r 3 127.0.0.1").first == 0; }));
    EXPECT_NE(poll(tcp + "-t 0 -r 3 127.0.0.1 1").find("Written 1 references."), std::string::npos);
    EXPECT_TRUE(eventually([&] { return flag("MOD_BW.BW_CMD.SEL_3") == 1; }));
    EXPECT_FALSE(eventually([&] { return flag("SHUTDOWNS.ANY.SEL_5") != 0; }, 1000));
    ASSERT_EQ(svc->write("MOD_BW.MOD1_SD.IN", kBool, {1}), 0);
    EXPECT_TRUE(eventually([&] { return flag("SHUTDOWNS.ANY.SEL_5") == 1; }));
    EXPECT_EQ(flag("SHUTDOWNS.ANY_SD.B_NAME"), 1);
}

// Link 1 on the serial line in RTU framing: the same map, its own write enable.
TEST_F(ControllerMap, RtuLinkOnTheSerialLine) {
    ASSERT_EQ(svc->write("C_COMM.C3.IN", kInt, svc_test::u32(2)), 0);
    ASSERT_EQ(svc->write("C_COMM.C4.IN", kInt, svc_test::u32(17)), 0);
    const std::string rtu = "mbpoll -m rtu -a 17 -b 9600 -P none -1 -o 2 ";
    const std::string line = " " + pty.path(1);
    ASSERT_TRUE(eventually([&] { return runChild(rtu + "-t 3 -r 1 -c 12" + line).second.find(at(1, 3000)) != std::string::npos; }, 10000));
    EXPECT_NE(poll(rtu + "-t 3 -r 11 -c 2" + line).find(at(12, 3000)), std::string::npos);
    EXPECT_NE(poll(rtu + "-t 4 -r 3" + line + " 77").find("Written 1 references."), std::string::npos);
    EXPECT_FALSE(eventually([&] { return real("MOD.MOD1.AW_V_3") != 0.0f; }, 1000));
    ASSERT_EQ(svc->write("CNFG_COMMS.PORT1_WRT_ENBL.IN", kBool, {1}), 0);
    ASSERT_TRUE(eventually([&] { return flag("MOD.MOD1.AW_ENBL_1") == 1; }));
    EXPECT_NE(poll(rtu + "-t 4 -r 3" + line + " 77").find("Written 1 references."), std::string::npos);
    EXPECT_TRUE(eventually([&] { return real("MOD.MOD1.AW_V_3") == 77.0f; }));
    EXPECT_NE(poll(rtu + "-t 4 -r 3" + line).find(at(3, 77)), std::string::npos);
}

// While a master polls, the link is good; when it stops, the link error
// rises after the link's time-out and the link alarm with it.
TEST_F(ControllerMap, LinkErrorWhenTheMasterStopsPolling) {
    ASSERT_EQ(svc->write("C_COMM.C1.IN", kBool, {1}), 0);
    ASSERT_EQ(svc->write("CNFG_COMMS.LINK2_USED.IN", kBool, {1}), 0);
    // The link's time-out cell starts at its stored setting and follows it.
    EXPECT_EQ(real("MOD.MOD1.TIME_OUT_2"), 10.0f);
    // A time-out well above the gaps between polls of a loaded host.
    stepTo(*svc, "MOD.QT_TIME_OUT_2.IN", 10.0f, 8.0f);
    EXPECT_TRUE(eventually([&] { return real("MOD.MOD1.TIME_OUT_2") == 8.0f; }));
    ASSERT_TRUE(eventually([&] { return runChild(tcp + "-t 3 -r 1 127.0.0.1").first == 0; }));
    for (int k = 0; k < 12; ++k) {
        poll(tcp + "-t 3 -r 1 127.0.0.1");
        EXPECT_EQ(flag("MOD.MOD1.LNK_ERR_2"), 0) << k;
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }
    EXPECT_EQ(flag("MOD_LNK_STAT.LNK2_ALM.B_NAME"), 0);
    // Silence: the error comes once 8 s have passed without a request.
    auto t0 = std::chrono::steady_clock::now();
    ASSERT_TRUE(eventually([&] { return flag("MOD.MOD1.LNK_ERR_2") == 1; }, 15000));
    EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(7500));
    EXPECT_TRUE(eventually([&] { return flag("MOD_LNK_STAT.LNK2_ALM.B_NAME") == 1; }, 1000));
    // Polling again clears it.
    poll(tcp + "-t 3 -r 1 127.0.0.1");
    EXPECT_TRUE(eventually([&] { return flag("MOD.MOD1.LNK_ERR_2") == 0; }, 2000));
}

// The simulator link: slave instance 0 on UDP port 5005, RTU framing,
// answering a simulator (pymodbus) at the tunable's slave address. The
// simulator reads the trip and the settings and writes its coils and
// register, which reach the link's cells while it polls; once it stops, the
// link error rises after the time-out and the received values drop to 0.
TEST_F(ControllerMap, SimulatorLinkOnUdp5005) {
    const std::string script = tc_test::sourceDir() + "/tests/modbus_app/sim_master.py";
    const std::string master = "/usr/bin/python3 " + script + " " + std::to_string(5005 + offset) + " 1 ";
    std::pair<int, std::string> result;
    std::thread far([&] { result = runChild(master + "6 01 -7"); });
    const bool taken = eventually([&] {
        return flag("SIM.XFER_TO_SIM.BW_V_2") == 1 && real("SIM.XFER_TO_SIM.AW_V_1") == -7.0f;
    }, 6000);
    const bool linked = flag("SIM.XFER_TO_SIM.LNK_ERR_1") == 0;
    const uint8_t first = flag("SIM.XFER_TO_SIM.BW_V_1");
    far.join();
    ASSERT_EQ(result.first, 0) << result.second;
    EXPECT_TRUE(taken) << result.second;
    EXPECT_TRUE(linked);
    EXPECT_EQ(first, 0);
    // Discrete input 0 the trip, input register 2 maximum governor.
    const std::string& out = result.second;
    const std::string trip = std::to_string(flag("SIM.TRIP_ACT.B_NAME"));
    EXPECT_NE(out.find("di " + trip + " "), std::string::npos) << out;
    const auto irAt = [&](int k) {
        std::istringstream in(out.substr(out.find("ir ") + 3));
        int v = 0;
        for (int i = 0; i <= k; ++i) in >> v;
        return v;
    };
    EXPECT_EQ(irAt(2), static_cast<int>(std::lround(real("IFACE_IN_SPEED.MAX_GOV.A_NAME")))) << out;
    EXPECT_EQ(irAt(0), static_cast<int>(std::lround(real("IFACE_IN_SPEED.MIN_GOV.A_NAME")))) << out;
    // Silence: after the 1 s time-out the link error, and nothing received.
    EXPECT_TRUE(eventually([&] { return flag("SIM.XFER_TO_SIM.LNK_ERR_1") == 1; }, 3000));
    EXPECT_EQ(flag("SIM.XFER_TO_SIM.BW_V_2"), 0);
    EXPECT_EQ(real("SIM.XFER_TO_SIM.AW_V_1"), 0.0f);
    EXPECT_EQ(integer("SIM.XFER_TO_SIM.ERR_NUM_1"), 0);
}

}  // namespace
