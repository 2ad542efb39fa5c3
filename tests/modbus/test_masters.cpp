// Third-party Modbus masters against the running engine in real time:
// mbpoll (RTU on a pseudo-terminal, TCP) and pymodbus (ASCII on a
// pseudo-terminal, RTU in UDP datagrams), run as child processes.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/modbus/modbus_rig.h"

namespace {

struct ChildResult {
    int status = -1;
    std::string out;
};

// Runs a program, collecting its standard output (and error) until it exits.
ChildResult runChild(const std::vector<std::string>& argv) {
    ChildResult r;
    int fds[2];
    if (pipe(fds) != 0) return r;
    pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], 1);
        dup2(fds[1], 2);
        close(fds[0]);
        close(fds[1]);
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    close(fds[1]);
    char buf[4096];
    ssize_t n;
    while ((n = read(fds[0], buf, sizeof buf)) > 0) r.out.append(buf, static_cast<size_t>(n));
    close(fds[0]);
    int st = 0;
    waitpid(pid, &st, 0);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

// The master script beside this source file.
std::string masterScript() {
    std::string here = __FILE__;
    return here.substr(0, here.find_last_of('/') + 1) + "pymodbus_master.py";
}

void fillTables(mbt::Link& l) {
    for (int k = 0; k < 5; ++k) l.holdRegs[k] = static_cast<int16_t>(10 * (k + 1));
    for (int k = 0; k < 50; ++k) l.inRegs[k] = static_cast<int16_t>(k);
}

}  // namespace

TEST(ModbusMasters, MbpollRtuOnSerialLine) {
    mbt::Rig rig(hk::ClockMode::RealTime, true);
    ASSERT_TRUE(rig.serialReady());
    mbt::Link& l = rig.links[0];
    l.port() = 1;
    l.slave() = 17;
    l.mode() = 2;
    fillTables(l);
    rig.start(1);
    const std::string tty = rig.serialPath();
    const std::vector<std::string> base = {"mbpoll", "-m", "rtu", "-a", "17", "-b", "9600", "-P", "none", "-1", "-o", "2"};
    auto with = [&](std::vector<std::string> extra) {
        std::vector<std::string> v = base;
        v.insert(v.end(), extra.begin(), extra.end());
        return v;
    };

    ChildResult rd = runChild(with({"-t", "4", "-r", "1", "-c", "5", tty}));
    EXPECT_EQ(rd.status, 0) << rd.out;
    EXPECT_NE(rd.out.find("[1]: \t10"), std::string::npos) << rd.out;
    EXPECT_NE(rd.out.find("[5]: \t50"), std::string::npos) << rd.out;

    ChildResult wr = runChild(with({"-t", "4", "-r", "2", tty, "1234"}));
    EXPECT_EQ(wr.status, 0) << wr.out;
    EXPECT_EQ(l.holdRegs[1], 1234);
    ChildResult wc = runChild(with({"-t", "0", "-r", "3", tty, "1", "0", "1"}));
    EXPECT_EQ(wc.status, 0) << wc.out;
    EXPECT_EQ(l.coils[2], 1);
    EXPECT_EQ(l.coils[3], 0);
    EXPECT_EQ(l.coils[4], 1);

    // Past the register limit of RTU the slave answers exception 3.
    ChildResult ex = runChild(with({"-t", "3", "-r", "1", "-c", "119", tty}));
    EXPECT_NE(ex.status, 0) << ex.out;
    EXPECT_EQ(l.lastErr(), MOD_EXC_VALUE);
}

TEST(ModbusMasters, MbpollTcp) {
    mbt::Rig rig(hk::ClockMode::RealTime);
    mbt::Link& l = rig.links[0];
    l.port() = 2;
    l.slave() = 1;
    fillTables(l);
    l.inputs[1] = 1;
    rig.start(1);
    const std::string port = std::to_string(rig.hostPort(502));

    ChildResult rd = runChild({"mbpoll", "-m", "tcp", "-p", port, "-a", "1", "-t", "3", "-r", "1", "-c", "10", "-1",
                               "127.0.0.1"});
    EXPECT_EQ(rd.status, 0) << rd.out;
    EXPECT_NE(rd.out.find("[10]: \t9"), std::string::npos) << rd.out;
    ChildResult di = runChild({"mbpoll", "-m", "tcp", "-p", port, "-a", "1", "-t", "1", "-r", "1", "-c", "3", "-1",
                               "127.0.0.1"});
    EXPECT_EQ(di.status, 0) << di.out;
    EXPECT_NE(di.out.find("[2]: \t1"), std::string::npos) << di.out;
    ChildResult wr = runChild({"mbpoll", "-m", "tcp", "-p", port, "-a", "1", "-t", "4", "-r", "1", "127.0.0.1", "65529",
                               "8"});
    EXPECT_EQ(wr.status, 0) << wr.out;
    EXPECT_EQ(l.holdRegs[0], -7);
    EXPECT_EQ(l.holdRegs[1], 8);
}

TEST(ModbusMasters, PymodbusAsciiOnSerialLine) {
    mbt::Rig rig(hk::ClockMode::RealTime, true);
    ASSERT_TRUE(rig.serialReady());
    mbt::Link& l = rig.links[0];
    l.port() = 1;
    l.slave() = 9;
    l.mode() = 1;
    fillTables(l);
    rig.start(1);
    // The runtime's serial settings for ASCII: a read ends at LF, CR is dropped.
    hk::runTask([] {
        VKIO_devControl(1, DEVCTL_READ_ENDING, 1, 0);
        VKIO_devControl(1, DEVCTL_CR_HANDLING, 2, 0);
    });
    ChildResult r = runChild({"/usr/bin/python3", masterScript(), "ascii",
                              rig.serialPath(), "9"});
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("hr 10 20 30 40 50"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("co 1 0 1 1"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("ir 59"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("ex 3"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("ea 2"), std::string::npos) << r.out;
    EXPECT_EQ(l.holdRegs[1], 4321);
}

TEST(ModbusMasters, PymodbusRtuOverUdp) {
    mbt::Rig rig(hk::ClockMode::RealTime);
    mbt::Link& l = rig.links[0];
    l.port() = 4;
    l.slave() = 2;
    fillTables(l);
    rig.start(1);
    ChildResult r = runChild({"/usr/bin/python3", masterScript(), "udp",
                              std::to_string(rig.hostPort(5001)), "2"});
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("hr 10 20 30 40 50"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("co 1 0 1 1"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("ir 118"), std::string::npos) << r.out;  // past the table's end registers read 0
    EXPECT_NE(r.out.find("ex 3"), std::string::npos) << r.out;
    EXPECT_EQ(l.holdRegs[1], 4321);
}
