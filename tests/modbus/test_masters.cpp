// Third-party Modbus masters against the running engine in real time:
// mbpoll (RTU on a pseudo-terminal, TCP) and pymodbus (ASCII on a
// pseudo-terminal, RTU in UDP datagrams), run as child processes.
#include <cstdlib>
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "host/hostio.h"
#include "platform/vkiodev.h"
#include "tests/modbus/modbus_rig.h"
#include "tests/support/paths.h"

namespace {

// Runs a shell command; its exit status and what it wrote on standard output and error.
std::pair<int, std::string> runChild(const std::string& command) {
    FILE* p = popen((command + " 2>&1").c_str(), "r");
    std::string out;
    char buf[4096];
    for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    int st = pclose(p);
    return {WIFEXITED(st) ? WEXITSTATUS(st) : -1, out};
}

// One run of a master: "@" in its arguments stands for the serial line or
// the host port of the controller's port; it must exit with 0 (or not, when
// it provokes an exception) and print `want`.
struct Command {
    std::string command;
    bool ok;
    std::string want;
};
struct MasterCase {
    const char* name;
    int port, slave, mode;
    uint16_t netPort;  // 0: serial line
    std::vector<Command> commands;
    int16_t register1;  // written by the commands
};

void PrintTo(const MasterCase& c, std::ostream* os) { *os << c.name; }

class ModbusMasters : public ::testing::TestWithParam<MasterCase> {};

TEST_P(ModbusMasters, ReadWriteAndExceptions) {
    const MasterCase& c = GetParam();
    mbt::Rig rig(hk::ClockMode::RealTime, c.netPort == 0);
    mbt::Link& l = rig.links[0];
    l.port() = c.port;
    l.slave() = c.slave;
    l.mode() = c.mode;
    for (int k = 0; k < 5; ++k) l.holdRegs[k] = static_cast<int16_t>(10 * (k + 1));
    for (int k = 0; k < 50; ++k) l.inRegs[k] = static_cast<int16_t>(k);
    rig.start(1);
    // The runtime's serial settings for ASCII: a read ends at LF, CR is dropped.
    if (c.mode == 1) hk::runTask([] {
        VKIO_devControl(1, DEVCTL_READ_ENDING, 1, 0);
        VKIO_devControl(1, DEVCTL_CR_HANDLING, 2, 0);
    });
    for (Command cmd : c.commands) {
        size_t at = cmd.command.find('@');
        cmd.command.replace(at, 1, c.netPort ? std::to_string(hostio::hostPort(c.netPort)) : rig.pty->path(1));
        auto [status, out] = runChild(cmd.command);
        EXPECT_EQ(status == 0, cmd.ok) << out;
        EXPECT_NE(out.find(cmd.want), out.npos) << out;
    }
    EXPECT_EQ(l.holdRegs[1], c.register1);
}

const std::string kRtu = "mbpoll -m rtu -a 17 -b 9600 -P none -1 -o 2 ";
const std::string kTcp = "mbpoll -m tcp -p @ -a 1 -1 ";
// The script beside this file: under the source folder ctest names, or else
// where the compiler saw this file (a relative name only holds from the
// build folder).
std::string scriptFolder() {
    return tc_test::sourceDir() + "/tests/modbus/";
}
const std::string kPy = "/usr/bin/python3 " + scriptFolder() + "pymodbus_master.py ";
// pymodbus reads past the table's end (0s), up to and beyond the transport's
// limit, and beyond the holding table; it writes 4321 to register 1, and a
// register and a coil with two bytes more than they need, which come back.
const std::string kPyOut = "hr 10 20 30 40 50\nwr 4321\nwc 4\nco 1 0 1 1\nir ";
const std::string kPyEchoes = "\nle 6 00021234aabb\nle 5 0002ff00aabb";

INSTANTIATE_TEST_SUITE_P(
    , ModbusMasters,
    ::testing::Values(
        MasterCase{"MbpollRtuOnSerialLine", 1, 17, 2, 0,
                   {{kRtu + "-t 4 -r 1 -c 5 @", true, "[5]: \t50"},
                    {kRtu + "-t 4 -r 2 @ 1234", true, "Written 1 references."},
                    {kRtu + "-t 3 -r 1 -c 119 @", false, "Illegal data value"}},  // past the RTU limit: exception 3
                   1234},
        MasterCase{"MbpollTcp", 2, 1, 2, 502,
                   {{kTcp + "-t 3 -r 1 -c 10 127.0.0.1", true, "[10]: \t9"},
                    {kTcp + "-t 4 -r 1 127.0.0.1 65529 8", true, "Written 2 references."}},
                   8},
        MasterCase{"PymodbusAsciiOnSerialLine", 1, 9, 1, 0, {{kPy + "ascii @ 9", true, kPyOut + "59\nex 3\nea 2" + kPyEchoes}}, 4321},
        MasterCase{"PymodbusRtuOverUdp", 4, 2, 2, 5001, {{kPy + "udp @ 2", true, kPyOut + "118\nex 3\nea 2" + kPyEchoes}}, 4321}),
    [](const ::testing::TestParamInfo<MasterCase>& info) { return std::string(info.param.name); });

}  // namespace

namespace {

// A TCP client that connects and never sends: connect without waiting, then
// the test waits (real time) until the connection is made.
struct SilentClient {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    explicit SilentClient(uint16_t port) {
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        sa.sin_port = htons(port);
        sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::connect(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    }
    ~SilentClient() { ::close(fd); }
    bool connected(int ms) const {
        pollfd p{fd, POLLOUT, 0};
        int err = 0;
        socklen_t len = sizeof err;
        return ::poll(&p, 1, ms) == 1 && ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) == 0 && err == 0;
    }
    // True when the controller has closed this connection.
    bool dropped() const {
        char c;
        return ::recv(fd, &c, 1, MSG_DONTWAIT) == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
    }
};

// Wall-clock milliseconds of a command run to its end.
double runTimed(const std::string& command, std::pair<int, std::string>& result) {
    auto t0 = std::chrono::steady_clock::now();
    result = runChild(command);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace

// More silent clients than the acceptor keeps waiting for their first
// request (16): the oldest are closed to make room, and a good master that
// comes after them is served at once, as if they were not there. Each master
// meets an idle instance of its own (units 1 and 2).
TEST(ModbusSilentClients, AGoodMasterIsServedPromptly) {
    mbt::Rig rig(hk::ClockMode::RealTime);
    for (int i = 0; i < 2; ++i) {
        rig.links[i].port() = i == 0 ? 2 : 5;
        rig.links[i].slave() = i + 1;
        rig.links[i].holdRegs[0] = static_cast<int16_t>(70 + i);
    }
    rig.start(2);
    const uint16_t port = hostio::hostPort(502);
    std::vector<std::unique_ptr<SilentClient>> silent;
    for (int k = 0; k < 32; ++k) {
        silent.push_back(std::make_unique<SilentClient>(port));
        ASSERT_TRUE(silent.back()->connected(10000)) << k;
    }
    for (int unit = 1; unit <= 2; ++unit) {
        std::pair<int, std::string> r;
        double ms = runTimed(
            "mbpoll -m tcp -p " + std::to_string(port) + " -a " + std::to_string(unit) + " -1 -t 4 -r 1 127.0.0.1", r);
        ASSERT_EQ(r.first, 0) << r.second;
        EXPECT_NE(r.second.find("[1]: \t" + std::to_string(69 + unit)), std::string::npos) << r.second;
        // Not held behind the silent ones, whose place lasts 21 s without a
        // request (the bound leaves a loaded host its own delays).
        EXPECT_LT(ms, 5000.0) << "unit " << unit;
    }
    // Each connection that found the list full closed the oldest silent one:
    // the last sixteen silent ones and the first master (which, served, left
    // room for the second). The newest still wait for their turn.
    for (size_t k = 0; k < silent.size(); ++k) EXPECT_EQ(silent[k]->dropped(), k < 17) << "silent client " << k;
}
