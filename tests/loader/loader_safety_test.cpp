// The controller as a hostile peer or a careless user meets it, through its
// outside only: an accounts file that is no regular file, two controllers
// on one application root, the address its servers listen on, a service
// session in paced simulated time, a reset of the stopped control over the
// service port, and a plant input file written anew.
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "tests/acceptance/service_tool.h"
#include "tests/loader/controller_proc.h"
#include "tests/support/ports.h"

namespace {

using acc_test::Bytes;
using acc_test::ServiceTool;
using tc_test::Controller;
using tc_test::TempDir;
using Clock = std::chrono::steady_clock;

std::vector<std::string> args(const std::string& clock, int offset, const std::string& root) {
    return {"--clock", clock, "--port-offset", std::to_string(offset), "--root", root};
}

// An application root in `tmp` that holds the account "tech secret 3" (level 3).
std::string rootWithAccount(const TempDir& tmp) {
    const std::string var = tmp.path + "/var";
    std::filesystem::create_directories(var);
    std::ofstream(var + "/Accounts.txt") << "tech secret 3\n";
    return var;
}

// `python3 scripts/service.py --port PORT COMMANDS`, ended after a minute: what
// the tool printed.
std::string serviceTool(int port, const std::string& commands) {
    const std::string cmd = "timeout 60 /usr/bin/python3 " + tc_test::sourceDir() + "/scripts/service.py --port " +
                            std::to_string(port) + " " + commands + " 2>&1";
    std::string out;
    if (FILE* p = ::popen(cmd.c_str(), "r")) {
        char b[4096];
        for (size_t n; (n = std::fread(b, 1, sizeof b, p)) > 0;) out.append(b, n);
        ::pclose(p);
    }
    return out;
}

// Resident memory of a process in kB.
long residentKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string l; std::getline(status, l);)
        if (l.rfind("VmRSS:", 0) == 0) return std::stol(l.substr(6));
    return -1;
}

// An accounts file that is no regular file, or one too big to read whole:
// a log-in is answered at once as for no account (status 2), the process
// does not grow, and the controller keeps its clock and stops cleanly.
// An account within the part that is read is found. What is no regular file
// is said once, at the start.
TEST(LoaderAccounts, AFileThatIsNoRegularFileIsNoAccount) {
    struct Case {
        const char* name;
        const char* kind;
        int status;        // the log-in's
        const char* said;  // why the file is not read, or ""
    };
    const Case cases[] = {{"named pipe", "pipe", 2, "it is a named pipe, not a regular file"},
                          {"link to /dev/zero", "zero", 2, "it is a device or a socket, not a regular file"},
                          {"directory", "dir", 2, "it is a directory, not a regular file"},
                          {"account beyond the first 64 KiB", "far", 2, ""},
                          {"account at the start of a big file", "near", 0, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempDir tmp;
        const std::string var = tmp.path + "/var";
        std::filesystem::create_directories(var);
        const std::string accounts = var + "/Accounts.txt";
        const std::string kind = c.kind;
        if (kind == "pipe") {
            ASSERT_EQ(::mkfifo(accounts.c_str(), 0644), 0);
        }
        if (kind == "zero") std::filesystem::create_symlink("/dev/zero", accounts);
        if (kind == "dir") std::filesystem::create_directory(accounts);
        if (kind == "far" || kind == "near") {
            std::ofstream out(accounts);
            if (kind == "near") out << "tech secret 3\n";
            for (int k = 0; k < 200000; ++k) out << "user" << k << " pw 1\n";
            if (kind == "far") out << "tech secret 3\n";
        }
        const int offset = tc_test::pickPortOffset();
        Controller ctl(args("sim:5", offset, var));
        ASSERT_TRUE(ctl.waitFor("Application is running")) << ctl.output();
        ServiceTool tool(666 + offset);
        ASSERT_TRUE(tool.ready());
        const auto t0 = Clock::now();
        EXPECT_EQ(tool.login("tech", "secret"), c.status);
        EXPECT_LT(Clock::now() - t0, std::chrono::seconds(2));
        EXPECT_EQ(tool.level(), c.status == 0 ? 3 : 0);
        EXPECT_LT(residentKb(ctl.pid()), 400 * 1024);
        ctl.signal(SIGTERM);
        EXPECT_EQ(ctl.exitStatus(), 0) << ctl.output();
        EXPECT_EQ(ctl.output().find("clock tick"), std::string::npos) << ctl.output();
        EXPECT_EQ(ctl.output().find("External Watchdog Timeout!"), std::string::npos) << ctl.output();
        const std::string notRead = "controller: the accounts file '" + accounts + "' is not read: ";
        const size_t at = ctl.output().find(notRead);
        if (*c.said == '\0') {
            EXPECT_EQ(at, std::string::npos) << ctl.output();
            continue;
        }
        EXPECT_LT(at, ctl.output().find("Application is running")) << ctl.output();
        EXPECT_EQ(at, ctl.output().rfind(notRead)) << "said once: " << ctl.output();
        EXPECT_NE(ctl.output().find(notRead + c.said + "; every account log-in is refused as an unknown user "
                                                       "(status 2)\n"),
                  std::string::npos)
            << ctl.output();
    }
}

// Two controllers cannot share an application root: the second names the
// first's process and exits 1 before anything of it starts, on other ports.
TEST(LoaderRoot, ASecondControllerOnTheSameRootFails) {
    const TempDir tmp;
    const std::string var = tmp.path + "/var";
    const int offset = tc_test::pickPortOffset();
    Controller first(args("sim", offset, var));
    ASSERT_TRUE(first.waitFor("Application is running")) << first.output();
    // The second opens no port: the root is checked before the ports. Its
    // offset is the first's plus 1, as test processes started one after
    // another pick offsets 7 apart, which a step of 1 does not meet.
    Controller second(args("sim", offset + 1, var));
    EXPECT_EQ(second.exitStatus(), 1) << second.output();
    EXPECT_NE(second.output().find("controller: the application root '" + var +
                                   "' cannot be used: it is in use by another controller (process " +
                                   std::to_string(first.pid()) + ", holding '" + var +
                                   "/controller.lock'); not starting"),
              std::string::npos)
        << second.output();
    EXPECT_EQ(second.output().find("Application is"), std::string::npos) << second.output();
    first.signal(SIGTERM);
    EXPECT_EQ(first.exitStatus(), 0) << first.output();
    // Once the first has ended, the root is free again.
    Controller third(args("sim", tc_test::pickPortOffset(), var));
    ASSERT_TRUE(third.waitFor("Application is running")) << third.output();
    third.signal(SIGTERM);
    EXPECT_EQ(third.exitStatus(), 0) << third.output();
}

// An IPv4 address of this host other than the loopback one, or "".
std::string otherLocalAddress() {
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) return {};
    std::string found;
    for (ifaddrs* i = list; i != nullptr && found.empty(); i = i->ifa_next) {
        if (i->ifa_addr == nullptr || i->ifa_addr->sa_family != AF_INET) continue;
        const in_addr a = reinterpret_cast<sockaddr_in*>(i->ifa_addr)->sin_addr;
        if ((ntohl(a.s_addr) >> 24) == 127) continue;
        char text[INET_ADDRSTRLEN];
        ::inet_ntop(AF_INET, &a, text, sizeof text);
        found = text;
    }
    ::freeifaddrs(list);
    return found;
}

bool tcpConnects(const std::string& ip, int port) {
    const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    ::inet_pton(AF_INET, ip.c_str(), &a.sin_addr);
    const bool ok = ::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(s);
    return ok;
}

// The same, asked again for up to 10 s while the servers come up.
bool tcpConnectsWithin(const std::string& ip, int port) {
    const auto end = Clock::now() + std::chrono::seconds(10);
    while (!tcpConnects(ip, port)) {
        if (Clock::now() > end) return false;
        ::usleep(50'000);
    }
    return true;
}

// The service and Modbus ports are opened on 127.0.0.1 unless --listen
// says otherwise: from another address of the host they cannot be reached.
// The console names every port, and the serial port without a tty.
TEST(LoaderListen, PortsAreOnTheLoopbackUnlessAskedOtherwise) {
    const std::string other = otherLocalAddress();
    for (const std::string listen : {"", "0.0.0.0"}) {
        SCOPED_TRACE(listen);
        const TempDir tmp;
        const int offset = tc_test::pickPortOffset();
        std::vector<std::string> a = args("sim", offset, tmp.path + "/var");
        if (!listen.empty()) a.insert(a.end(), {"--listen", listen});
        Controller ctl(a);
        ASSERT_TRUE(ctl.waitFor("Application is running")) << ctl.output();
        const std::string ports = ": service " + std::to_string(666 + offset) + ", Modbus " +
                                  std::to_string(502 + offset) + "; UDP ports on every address: Modbus " +
                                  std::to_string(5001 + offset) + " and " + std::to_string(5002 + offset) +
                                  ", simulator link " + std::to_string(5005 + offset) + "\n";
        EXPECT_NE(ctl.output().find("controller: TCP ports on " +
                                    (listen.empty() ? "127.0.0.1 (this host only; see --listen)" : listen) + ports),
                  std::string::npos)
            << ctl.output();
        // Without --tty the serial port is said once to be not connected,
        // not in an error line for each of its settings.
        const std::string serial = "controller: serial port /tyCo/0 not connected (no --tty /tyCo/0=PATH)";
        EXPECT_NE(ctl.output().find(serial), std::string::npos) << ctl.output();
        EXPECT_EQ(ctl.output().find(serial, ctl.output().find(serial) + 1), std::string::npos) << ctl.output();
        EXPECT_EQ(ctl.output().find("for TTY Port"), std::string::npos) << ctl.output();
        for (int port : {666 + offset, 502 + offset}) {
            EXPECT_TRUE(tcpConnectsWithin("127.0.0.1", port)) << port;
            if (!other.empty()) {
                EXPECT_EQ(tcpConnects(other, port), !listen.empty()) << other << ":" << port;
            }
        }
        ctl.signal(SIGTERM);
        EXPECT_EQ(ctl.exitStatus(), 0) << ctl.output();
    }
}

// The figures of the simulated clock's report at exit: simulated seconds,
// and simulated seconds per wall second.
bool simReport(const std::string& out, double& simulated, double& rate) {
    std::smatch m;
    if (!std::regex_search(out, m,
                           std::regex("simulated clock: ([0-9.]+) s simulated in [0-9.]+ s wall time, ([0-9.]+) "
                                      "simulated seconds per wall second")))
        return false;
    simulated = std::stod(m[1]);
    rate = std::stod(m[2]);
    return true;
}

// Paced simulated time: a service session, with its log-in, is held over
// more than a minute of simulated time (the idle limit is 22 s) by a tool
// that asks every few simulated seconds, and the clock ran at its pace.
TEST(LoaderClock, APacedSimulatedClockHoldsAServiceSession) {
    const TempDir tmp;
    const std::string var = rootWithAccount(tmp);
    const int offset = tc_test::pickPortOffset();
    Controller ctl(args("sim:20", offset, var));
    ASSERT_TRUE(ctl.waitFor("Application is running")) << ctl.output();
    EXPECT_NE(ctl.output().find("controller: simulated clock paced at 20 simulated seconds per wall second\n"),
              std::string::npos);
    ServiceTool tool(666 + offset);
    ASSERT_EQ(tool.login("tech", "secret"), 0);
    // 4 s of wall time, 80 s simulated, a request every 0.25 s (5 s simulated).
    const auto end = Clock::now() + std::chrono::seconds(4);
    int asked = 0;
    while (Clock::now() < end) {
        EXPECT_EQ(tool.level(), 3);
        ++asked;
        ::usleep(250'000);
    }
    EXPECT_GE(asked, 12);
    EXPECT_EQ(tool.reconnects(), 0) << "the session was lost";
    // Silent for 2 s of wall time (40 s simulated): the session is dropped.
    ::usleep(2'000'000);
    EXPECT_EQ(tool.level(), 3) << "logged in again";
    EXPECT_EQ(tool.reconnects(), 1) << "the tool had to connect again";
    // The host stalls the process for a second: the 20 s of simulated time
    // lost are not made up in a burst.
    ctl.signal(SIGSTOP);
    ::usleep(1'000'000);
    ctl.signal(SIGCONT);
    ::usleep(1'500'000);
    ctl.signal(SIGTERM);
    EXPECT_EQ(ctl.exitStatus(), 0) << ctl.output();
    double simulated = 0, rate = 0;
    ASSERT_TRUE(simReport(ctl.output(), simulated, rate)) << ctl.output();
    EXPECT_LE(simulated, 20.0 * (simulated / rate - 0.8)) << ctl.output();
    EXPECT_GT(simulated, 120.0);
    EXPECT_LE(rate, 20.0);
    EXPECT_GE(rate, 10.0);
}

// The control shut down over the service port and then reset: the
// platform restarts the application, which runs again and answers. The
// tunable written and not saved before is lost with the restart, as the
// console says before it; the one the application changes itself at the
// shutdown is named apart, not counted as written.
TEST(LoaderReset, AResetAfterAShutdownRestartsTheApplication) {
    const TempDir tmp;
    const int offset = tc_test::pickPortOffset();
    Controller ctl(args("sim:50", offset, tmp.path + "/var"));
    ASSERT_TRUE(ctl.waitFor("Application is running")) << ctl.output();
    EXPECT_EQ(serviceTool(666 + offset, "save write DATALOG.PRINT.IN_2 1"), "saved\nDATALOG.PRINT.IN_2 written\n");
    {
        ServiceTool tool(666 + offset);
        ASSERT_TRUE(tool.ready());
        EXPECT_EQ(tool.ask({0x12}), (Bytes{0, 0})) << "running";
        EXPECT_EQ(tool.ask({0x10}), (Bytes{1})) << "no reset while the control runs";
    }
    // The shutdown and the reset as the user gives them.
    ASSERT_EQ(serviceTool(666 + offset, "shutdown status reset"), "shutdown granted\nstopped\nreset granted\n");
    const size_t from = ctl.output().size();
    // The reset takes effect at the next connect request.
    ServiceTool next(666 + offset);
    ASSERT_TRUE(ctl.waitFor("[platform] event 4: Resetting Control", 30000, from)) << ctl.output();
    ASSERT_TRUE(ctl.waitFor("controller: the application asked for a reset: restarting it", 30000, from));
    ASSERT_TRUE(ctl.waitFor("[platform] state 10: Application is stopped", 60000, from)) << ctl.output();
    ASSERT_TRUE(ctl.waitFor("[platform] state 9: Application is running", 60000, ctl.output().find("state 10", from)))
        << ctl.output().substr(from);
    const std::string unsaved =
        "controller: 1 tunable changed since the last save is not saved: the tunables file keeps the value "
        "saved before (the service tool's save request saves them)\n";
    EXPECT_NE(ctl.output().find("controller: the application itself changed 1 tunable since the last save, not "
                                "saved: RMT_SETPT.MAX_SPD.TUNE (the service tool's save request saves it)\n",
                                from),
              std::string::npos)
        << ctl.output().substr(from);
    const size_t said = ctl.output().find(unsaved, from);
    EXPECT_LT(said, ctl.output().find("[platform] state 9: Application is running", from)) << ctl.output().substr(from);
    EXPECT_GT(said, ctl.output().find("[platform] state 10: Application is stopped", from)) << ctl.output().substr(from);
    ServiceTool after(666 + offset);
    ASSERT_TRUE(after.ready());
    EXPECT_EQ(after.ask({0x12}), (Bytes{0, 0})) << "running again";
    EXPECT_EQ(serviceTool(666 + offset, "read DATALOG.PRINT.IN_2"), "DATALOG.PRINT.IN_2 = 0\n") << "its saved value";
    ctl.signal(SIGTERM);
    EXPECT_EQ(ctl.exitStatus(), 0) << ctl.output();
    // Started without --turbine: no turbine model ran, none is named at the stop.
    EXPECT_EQ(ctl.output().find("controller: turbine"), std::string::npos) << ctl.output();
    // The restarted application's own power-up trip is no trip of a reset unit.
    EXPECT_EQ(ctl.output().find("the unit has tripped"), std::string::npos) << ctl.output().substr(from);
}

// A shutdown with no value written: the stop counts no change, and names
// the tunable the application changed itself at the shutdown.
TEST(LoaderReset, AShutdownWithoutAWriteCountsNoChangeAtTheStop) {
    const TempDir tmp;
    const int offset = tc_test::pickPortOffset();
    Controller ctl(args("sim:50", offset, tmp.path + "/var"));
    ASSERT_TRUE(ctl.waitFor("Application is running")) << ctl.output();
    // The start's own save (the values the application settles on in its
    // first seconds) replaces the fresh file; a shutdown before it would be
    // saved with them.
    const std::string file = tmp.path + "/var/9902-4411_e.ee";
    const auto inode = [&file] {
        struct stat st{};
        return ::stat(file.c_str(), &st) == 0 ? st.st_ino : 0;
    };
    const ino_t fresh = inode();
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (inode() == fresh && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_NE(inode(), fresh) << "no save at the start\n" << ctl.output();
    ASSERT_EQ(serviceTool(666 + offset, "shutdown"), "shutdown granted\n");
    // The application takes the shutdown in its next passes, and sets the
    // remote setpoint's maximum to 0 then.
    const std::string taken = "RMT_SETPT.MAX_SPD.TUNE = 0\n";
    std::string read;
    for (int i = 0; i < 60 && read != taken; ++i) read = serviceTool(666 + offset, "read RMT_SETPT.MAX_SPD.TUNE");
    ASSERT_EQ(read, taken) << ctl.output();
    ctl.signal(SIGTERM);
    EXPECT_EQ(ctl.exitStatus(), 0) << ctl.output();
    EXPECT_NE(ctl.output().find("controller: no tunable changed since the last save\n"), std::string::npos)
        << ctl.output();
    EXPECT_EQ(ctl.output().find("not saved: the tunables file keeps"), std::string::npos) << ctl.output();
    EXPECT_NE(ctl.output().find("controller: the application itself changed 1 tunable since the last save, not "
                                "saved: RMT_SETPT.MAX_SPD.TUNE"),
              std::string::npos)
        << ctl.output();
}

// A socket bound to 127.0.0.1 (TCP, listening) or any address (UDP) on
// `port`, or -1 while the port is held.
int takePort(int type, int port) {
    const int h = ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(type == SOCK_STREAM ? INADDR_LOOPBACK : INADDR_ANY);
    if (h >= 0 && ::bind(h, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        (type != SOCK_STREAM || ::listen(h, 1) == 0))
        return h;
    if (h >= 0) ::close(h);
    return -1;
}

size_t count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = 0; (at = text.find(part, at)) != std::string::npos; at += part.size()) ++n;
    return n;
}

// Another program takes one of the controller's ports between the stop and
// the start of a reset's restart, while the shaft still turns: the port is
// named once (the Modbus TCP acceptor asks for it again every second), the
// stop it asks for waits for the permissive as a stop signal's does, the
// controller runs on, and a Ctrl-C is judged as any other. Once the shaft
// is at rest the stop the port asked for runs by itself, without a signal:
// the stop sequence runs whole, with exit status 1.
TEST(LoaderReset, APortTakenAtTheRestartStopsOnlyThroughThePermissive) {
    struct Case {
        const char* name;
        int type;
        int port;
    };
    const Case cases[] = {{"Modbus UDP", SOCK_DGRAM, 5001}, {"Modbus TCP", SOCK_STREAM, 502}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempDir tmp;
        const std::string plant = tmp.path + "/plant";
        std::ofstream(plant).flush();
        const int offset = tc_test::pickPortOffset();
        const int port = c.port + offset;
        std::vector<std::string> a = args("sim:2", offset, tmp.path + "/var");
        a.insert(a.end(), {"--turbine", "--plant-input", plant});
        Controller ctl(a);
        ASSERT_TRUE(ctl.waitFor("Application is running")) << ctl.output();
        {
            ServiceTool tool(666 + offset);
            ASSERT_TRUE(tool.ready());
            ASSERT_EQ(tool.ask({0x11}), (Bytes{0}));
            ASSERT_EQ(tool.ask({0x10}), (Bytes{0}));
        }
        const size_t from = ctl.output().size();
        ServiceTool next(666 + offset);  // the reset takes effect at the next connect request
        ASSERT_TRUE(ctl.waitFor("controller: the application asked for a reset: restarting it", 60000, from))
            << ctl.output().substr(from);
        int held = -1;
        for (const auto end = Clock::now() + std::chrono::seconds(30); held < 0 && Clock::now() < end;) {
            held = takePort(c.type, port);
            if (held < 0) ::usleep(1000);
        }
        ASSERT_GE(held, 0) << "port " << port << " was not free between the stop and the start of the restart\n"
                           << ctl.output().substr(from);
        // The restart's stop is past: the turning shaft holds the next one.
        std::ofstream(plant, std::ios::app) << "speed=3000\n";
        const std::string named = std::string("controller: cannot open ") + (c.type == SOCK_STREAM ? "TCP" : "UDP") +
                                  " port " + std::to_string(port) +
                                  ": Address already in use; the controller does not serve it\n";
        const std::string asked = "controller: a port of the controller could not be opened (named above); stopping\n";
        const std::string refused = "controller: the application refused to stop: ";
        ASSERT_TRUE(ctl.waitFor(refused, 60000, from)) << ctl.output().substr(from);
        const std::string out = ctl.output().substr(from);
        EXPECT_LT(out.find("plant input 'speed=3000' taken"), out.find(asked)) << out;
        EXPECT_LT(out.find(named), out.find(asked)) << out;
        EXPECT_LT(out.find("state 10: Application is stopped"), out.find(named)) << out;
        EXPECT_NE(out.find(" rpm, above the low-speed setpoint of 250 rpm)", out.find(refused)), std::string::npos)
            << out;
        EXPECT_EQ(out.find("Can not stop"), std::string::npos) << "the stop was asked of the application: " << out;
        // The next Ctrl-C is judged as any other, and refused while the shaft turns.
        const size_t before = ctl.output().size();
        ::kill(ctl.pid(), SIGINT);
        ASSERT_TRUE(ctl.waitFor(refused, 30000, before)) << ctl.output().substr(before);
        EXPECT_NE(ctl.output().find("controller: SIGINT received, stopping\n", before), std::string::npos);
        EXPECT_NE(ctl.output().find("Let the shaft come to rest, then it stops by itself, as the lost port asked (see "
                                    "the README",
                                    before),
                  std::string::npos)
            << ctl.output().substr(before);
        // The shaft at rest: the stop sequence runs whole, asked for by nothing more.
        std::ofstream(plant, std::ios::app) << "speed=0\n";
        ASSERT_TRUE(ctl.waitFor("plant input 'speed=0' taken", 10000, before)) << ctl.output().substr(before);
        EXPECT_EQ(ctl.exitStatus(60000), 1) << ctl.output().substr(from);
        const std::string all = ctl.output();
        const std::string byItself = "controller: the unit is shut down and the shaft at rest: the stop that the lost "
                                     "port asked for runs now\ncontroller: turbine shaft at 0.0 rpm\n";
        EXPECT_GT(all.find(byItself), all.find("plant input 'speed=0' taken")) << all.substr(from);
        EXPECT_NE(all.find("[platform] state 17: Application is stopping", all.find(byItself)), std::string::npos)
            << all.substr(from);
        EXPECT_EQ(count(all, "received, stopping"), 1u) << all.substr(from);
        EXPECT_EQ(count(all, named), 1u) << all.substr(from);
        EXPECT_EQ(count(all, asked), 1u) << all.substr(from);
        const size_t done = all.find("tRGEnd Done", all.find(named));
        EXPECT_NE(done, std::string::npos) << all.substr(from);
        EXPECT_NE(all.find("controller: no tunable changed since the last save\n", done), std::string::npos)
            << all.substr(from);
        ::close(held);
    }
}

// What the plant input file holds at the start is old and never taken. A
// file written anew with '>' (shorter or longer than before) or replaced by
// another file is read from its start again: no command is lost, and none
// is taken twice. A pipe or a directory put under the name is refused once,
// never opened, and the next regular file is read from its start.
TEST(LoaderPlantInput, AFileWrittenAnewIsFollowed) {
    const TempDir tmp;
    const std::string file = tmp.path + "/plant";
    std::ofstream(file) << "load=0.25\ncontact3=1\n";
    std::vector<std::string> a = args("sim", tc_test::pickPortOffset(), tmp.path + "/var");
    a.insert(a.end(), {"--turbine", "--plant-input", file});
    Controller ctl(a);
    ASSERT_TRUE(ctl.waitFor("Application is running")) << ctl.output();
    struct Step {
        const char* how;  // "append", "rewrite", "replace", "pipe", "directory", "file"
        const char* text;
        const char* taken;  // null: refused
    };
    const Step steps[] = {
        {"append", "contact4=1\n", "contact4=1"},
        {"rewrite", "load=0\n", "load=0"},                                   // shorter than before
        {"rewrite", "speed=1200,contact5=0,load=0.125\n", "speed=1200,contact5=0,load=0.125"},  // longer
        {"append", "contact6=1\n", "contact6=1"},
        {"replace", "contact7=1\n", "contact7=1"},
        {"append", "contact8=1\n", "contact8=1"},
        {"pipe", "", nullptr},
        {"replace", "contact9=1\n", "contact9=1"},
        {"directory", "", nullptr},
        {"file", "contact10=1\n", "contact10=1"},
    };
    const std::string refused = "controller: plant input file '" + file + "' is no longer a regular file";
    long rewrites = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.text);
        const size_t from = ctl.output().size();
        const std::string how = s.how;
        if (how == "append") {
            std::ofstream(file, std::ios::app) << s.text;
        } else if (how == "rewrite") {
            std::ofstream(file, std::ios::trunc) << s.text;
            // Each rewrite dated in one and the same second: a file written
            // anew within the second of the last look is still seen.
            const timespec when[2] = {{1'700'000'000, ++rewrites}, {1'700'000'000, rewrites}};
            ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), when, 0), 0);
        } else if (how == "replace") {
            std::ofstream(file + ".new") << s.text;
            std::filesystem::rename(file + ".new", file);
        } else {
            std::filesystem::remove_all(file);
            if (how == "pipe") {
                ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
            }
            if (how == "directory") std::filesystem::create_directory(file);
            if (how == "file") std::ofstream(file) << s.text;
        }
        if (s.taken == nullptr) {
            ASSERT_TRUE(ctl.waitFor(refused, 10000, from)) << ctl.output();
            if (how == "pipe") {
                // Nobody holds the pipe open for reading.
                const int w = ::open(file.c_str(), O_WRONLY | O_NONBLOCK);
                EXPECT_EQ(w, -1) << "the controller opened the pipe";
                if (w >= 0) ::close(w);
            }
            continue;
        }
        ASSERT_TRUE(ctl.waitFor("plant input '" + std::string(s.taken) + "' taken", 10000, from)) << ctl.output();
        if (how != "append") {
            EXPECT_NE(ctl.output().find("controller: plant input file '" + file + "' written anew", from),
                      std::string::npos);
        }
        if (how == "rewrite") ::usleep(200'000);  // the new date looked at before the next step
    }
    ::usleep(300'000);
    for (const char* once : {"contact4=1", "contact6=1", "contact7=1", "contact9=1"}) {
        const std::string line = "plant input '" + std::string(once) + "' taken";
        const size_t at = ctl.output().find(line);
        EXPECT_EQ(ctl.output().find(line, at + 1), std::string::npos) << once << " taken twice";
    }
    size_t refusals = 0;
    for (size_t at = 0; (at = ctl.output().find(refused, at)) != std::string::npos; at += refused.size()) ++refusals;
    EXPECT_EQ(refusals, 2u) << "once for the pipe, once for the directory";
    for (const char* old : {"contact3=1", "load=0.25"})
        EXPECT_EQ(ctl.output().find(old), std::string::npos) << old << " held at the start, taken";
    ctl.signal(SIGTERM);
    EXPECT_EQ(ctl.exitStatus(), 0) << ctl.output();
}

}  // namespace

namespace {

// At the stop the console says how many tunables changed since the last
// save, which the stop loses: none, one, two, and none after a save; the
// application's start changes some of its own, which a fresh file takes.
// A save that failed leaves its changes unsaved.
TEST(LoaderStop, SaysHowManyChangedTunablesAreNotSaved) {
    struct Case {
        const char* name;
        const char* commands;  // for the service tool, or ""
        const char* said;
    };
    const Case cases[] = {
        {"nothing changed", "save", "controller: no tunable changed since the last save\n"},
        {"nothing done", "", "controller: no tunable changed since the last save\n"},
        // The temporary file cannot be made: the save fails.
        {"a failed save", "write DATALOG.PRINT.IN_2 1 save",
         "controller: the last save of the tunables file failed (see the messages above): the file does not hold "
         "the values in force\ncontroller: 1 tunable changed since the last save is not saved"},
        {"one changed", "save write DATALOG.PRINT.IN_2 1",
         "controller: 1 tunable changed since the last save is not saved: the tunables file keeps the value saved "
         "before (the service tool's save request saves them)\n"},
        {"two changed", "save write DATALOG.PRINT.IN_2 1 write CNFG_START.CONFIG_B.IN_1 1",
         "controller: 2 tunables changed since the last save are not saved: the tunables file keeps the values "
         "saved before (the service tool's save request saves them)\n"},
        {"two changed and saved", "write DATALOG.PRINT.IN_2 1 write CNFG_START.CONFIG_B.IN_1 1 save",
         "controller: no tunable changed since the last save\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempDir tmp;
        const int offset = tc_test::pickPortOffset();
        Controller ctl(args("sim:20", offset, tmp.path + "/var"));
        ASSERT_TRUE(ctl.waitFor("Application is running")) << ctl.output();
        ::usleep(500'000);  // the start's own changes, at its first passes and its configuration, are saved
        const bool fails = std::string(c.name) == "a failed save";
        if (fails) std::filesystem::create_directory(tmp.path + "/var/9902-4411_e.ee.tmp");
        const std::string out = *c.commands ? serviceTool(666 + offset, c.commands) : "";
        EXPECT_EQ(out.find(fails ? "save: status 4 (not saved: the controller's console says why)\n" : "status") !=
                      std::string::npos,
                  fails)
            << out;
        ctl.signal(SIGTERM);
        EXPECT_EQ(ctl.exitStatus(), 0) << ctl.output();
        EXPECT_NE(ctl.output().find(c.said), std::string::npos) << ctl.output();
    }
}

// At wall speed, where the tool's session would end well within a pass of
// the controller: the speed simulation switched on by one call of the tool
// at configure level (the README's "Resetting in the speed simulation").
TEST(LoaderServiceTool, ACommandThatNeedsTheCallersLevelIsTakenInOneCall) {
    const TempDir tmp;
    const std::string var = rootWithAccount(tmp);
    const int offset = tc_test::pickPortOffset();
    Controller ctl(args("sim:1", offset, var));
    ASSERT_TRUE(ctl.waitFor("Application is running")) << ctl.output();
    ASSERT_TRUE(ServiceTool(666 + offset).ready());  // the service port is open
    EXPECT_EQ(serviceTool(666 + offset, "--user tech --password secret write SPEED_SIM.INTERNAL_SIM.IN_1 1"),
              "SPEED_SIM.INTERNAL_SIM.IN_1 written\n");
    EXPECT_EQ(serviceTool(666 + offset, "read SPEED_SIM.ENA__SIM.B_NAME"), "SPEED_SIM.ENA__SIM.B_NAME = 1\n");
    ctl.signal(SIGTERM);
    EXPECT_EQ(ctl.exitStatus(), 0) << ctl.output();
}

}  // namespace
