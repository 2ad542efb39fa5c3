// The loader's inputs besides the options it refuses elsewhere: setting
// lists with empty items, the turbine model switched on without settings,
// the plant commands read from a file while the controller runs, the
// standard ports without an offset, and locked memory where the process may
// lock it.
#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "tests/loader/controller_proc.h"
#include "tests/support/ports.h"

namespace {

using tc_test::Controller;
using tc_test::TempDir;

std::vector<std::string> simArgs(const std::string& root) {
    return {"--clock", "sim", "--port-offset", std::to_string(tc_test::pickPortOffset()), "--root", root};
}

// The arguments of a controller with the turbine model that follows the
// plant input file `file`, made empty here.
std::vector<std::string> plantArgs(const TempDir& tmp, const std::string& file) {
    std::ofstream(file).flush();
    std::vector<std::string> args = simArgs(tmp.path + "/var");
    args.insert(args.end(), {"--turbine", "--plant-input", file});
    return args;
}

// A list with an empty item, at either end or alone, is refused.
TEST(LoaderSettingLists, AnEmptyItemIsRefused) {
    const std::vector<std::string> lists = {"inertia=8,", ",inertia=8", "", "inertia=8,,load=0.1"};
    for (const std::string& list : lists) {
        const TempDir tmp;
        std::vector<std::string> args = simArgs(tmp.path + "/var");
        args.insert(args.end(), {"--turbine-set", list});
        Controller ctl(args);
        EXPECT_EQ(ctl.exitStatus(), 2) << list << "\n" << ctl.output();
        EXPECT_NE(ctl.output().find("controller: --turbine-set: '' is not NAME=VALUE (see --help)"), std::string::npos)
            << list << "\n" << ctl.output();
    }
}

// Each line appended to the plant input file is taken whole or ignored
// whole with the reason; --turbine alone runs the model at its defaults.
TEST(LoaderPlantInput, LinesAreTakenOrIgnoredWhole) {
    const TempDir tmp;
    const std::string file = tmp.path + "/plant";
    Controller ctl(plantArgs(tmp, file));
    ASSERT_TRUE(ctl.waitFor("Application is running")) << ctl.output();
    EXPECT_NE(ctl.output().find("controller: turbine model on: starting time 10 s, rated 3600 rpm, valve gain "
                                "0.078125 per mA above 4 mA on current loop 6, friction 0.02, load 0, shaft at 0 "
                                "rpm\n"),
              std::string::npos)
        << ctl.output();

    const std::string kNotACommand = "is not load=PU, speed=RPM or contactN=0|1 (N 0 .. 31)";
    struct Case {
        std::string line;
        std::string reason;  // empty: taken
        std::string shown = {};  // the line as the console shows it, when not as written
    };
    const Case cases[] = {
        {"load=0", ""},
        {"load=0.25,load=0", ""},
        {"contact3=1", ""},
        {"contact3=0", ""},
        {"contact0=1,contact31=1,contact0=0,contact31=0", ""},
        {"contact32=1", "'contact32=1' " + kNotACommand},
        {"contact3=0.5", "'contact3=0.5' " + kNotACommand},
        {"contact3=2", "'contact3=2' " + kNotACommand},
        {"contactX=1", "'contactX=1' " + kNotACommand},
        {"contact=1", "'contact=1' " + kNotACommand},
        {"pressure=1", "'pressure=1' " + kNotACommand},
        {"load=-1", "'load=-1' has no number of 0 or more"},
        {"load=", "'load=' has no number of 0 or more"},
        {"load=0.1x", "'load=0.1x' has no number of 0 or more"},
        {"load=0.1,", "'' is not NAME=VALUE"},
        {"speed", "'speed' is not NAME=VALUE"},
        // Nothing of a line with a bad item is applied: the shaft stays.
        {"speed=3000,pressure=1", "'pressure=1' " + kNotACommand},
        {"speed=1e30", "'speed=1e+30' is beyond the turbine model's range (0 .. 7200 rpm)"},
        {"speed=7200.5", "'speed=7200.5' is beyond the turbine model's range (0 .. 7200 rpm)"},
        {"speed=7200", ""},
        {"speed=0", ""},
        // Only decimal numbers are plant values.
        {"load=0x10", "'load=0x10' has no number of 0 or more"},
        {"load=inf", "'load=inf' has no number of 0 or more"},
        {"load= 0.5", "'load= 0.5' has no number of 0 or more"},
        {"load=+.5e-1", ""},
        {"load=0", ""},
        // Control characters reach the terminal escaped, never as they are.
        {"\x1b[2Jload=1\x07", "'\\x1B[2Jload=1\\x07' has no number of 0 or more", "\\x1B[2Jload=1\\x07"},
        {"\x7f\tspeed=1", "'\\x7F\\x09speed=1' " + kNotACommand, "\\x7F\\x09speed=1"},
    };
    for (const Case& c : cases) {
        const size_t from = ctl.output().size();
        std::ofstream(file, std::ios::app) << c.line << "\n";
        const std::string echo = "controller: plant input '" + (c.shown.empty() ? c.line : c.shown) + "' " +
                                 (c.reason.empty() ? std::string("taken\n") : "ignored: " + c.reason + "\n");
        EXPECT_TRUE(ctl.waitFor(echo, 10000, from)) << c.line << "\n" << ctl.output().substr(from);
    }
    EXPECT_EQ(ctl.output().find('\x1b'), std::string::npos) << "an escape sequence reached the terminal";
    EXPECT_EQ(ctl.output().find('\x07'), std::string::npos) << "a bell reached the terminal";
    ctl.signal(SIGTERM);
    EXPECT_EQ(ctl.exitStatus(), 0) << ctl.output();
    std::smatch m;
    const std::string out = ctl.output();
    ASSERT_TRUE(std::regex_search(out, m, std::regex("controller: turbine shaft at ([0-9.]+) rpm\n"))) << out;
    EXPECT_LT(std::stod(m[1]), 100.0) << out;
}

// A line is taken up to 1024 bytes; a longer one is said once and dropped
// up to its end, however long it grows, and the next line is taken at once.
TEST(LoaderPlantInput, AnOverlongLineIsDroppedUpToItsEnd) {
    const TempDir tmp;
    const std::string file = tmp.path + "/plant";
    Controller ctl(plantArgs(tmp, file));
    ASSERT_TRUE(ctl.waitFor("Application is running")) << ctl.output();
    const auto zeros = [](size_t length) { return "load=0." + std::string(length - 7, '0'); };
    const std::string kDropped = "...' ignored: longer than 1024 bytes (dropped up to its end)\n";
    struct Step {
        std::vector<std::string> appended;  // appended one after another
        std::string said;
    };
    // A line of 32 MiB without an end, appended a MiB at a time.
    std::vector<std::string> endless = {"\x1b"};
    for (int k = 0; k < 32; ++k) endless.push_back(std::string(1 << 20, 'x'));
    endless.push_back("\ncontact3=1\n");
    const Step steps[] = {
        {{zeros(1024) + "\n"}, "controller: plant input '" + zeros(1024) + "' taken\n"},
        {{zeros(1025) + "\n"}, "controller: plant input line '" + zeros(40) + kDropped},
        {{zeros(600), zeros(600) + "\n", "contact4=1\n"}, "controller: plant input line '" + zeros(40) + kDropped},
        {endless, "controller: plant input line '\\x1B" + std::string(39, 'x') + kDropped},
    };
    for (const Step& s : steps) {
        const size_t from = ctl.output().size();
        for (const std::string& part : s.appended) std::ofstream(file, std::ios::app) << part;
        EXPECT_TRUE(ctl.waitFor(s.said, 20000, from)) << s.said << "\n" << ctl.output().substr(from);
    }
    EXPECT_TRUE(ctl.waitFor("controller: plant input 'contact4=1' taken\n", 20000)) << ctl.output();
    EXPECT_TRUE(ctl.waitFor("controller: plant input 'contact3=1' taken\n", 20000)) << ctl.output();
    size_t dropped = 0;
    for (size_t at = 0; (at = ctl.output().find(kDropped, at)) != std::string::npos; at += kDropped.size()) ++dropped;
    EXPECT_EQ(dropped, 3u) << "one message for each line too long";
    EXPECT_LT(ctl.output().size(), 100000u) << "what was dropped was echoed";
    ctl.signal(SIGTERM);
    EXPECT_EQ(ctl.exitStatus(), 0) << ctl.output().substr(0, 100000);
}

// Without --port-offset the controller takes the standard ports: it opens
// them, or names the standard one that another program holds.
TEST(LoaderDefaultPorts, AreTheStandardOnes) {
    const TempDir tmp;
    Controller ctl({"--clock", "sim", "--root", tmp.path + "/var"});
    const std::regex opened("firewall: add (?:tcp|udp) ([0-9]+)\n|cannot open (TCP|UDP) port ([0-9]+):");
    std::smatch m;
    ASSERT_TRUE(ctl.waitFor("Application is running", 30000) || ctl.exitStatus() == 1) << ctl.output();
    const std::string out = ctl.output();
    ASSERT_TRUE(std::regex_search(out, m, opened)) << out;
    const int port = std::atoi(m[1].matched ? m[1].str().c_str() : m[3].str().c_str());
    EXPECT_TRUE(port == 666 || port == 502 || port == 5001 || port == 5002 || port == 5005) << out;
    if (m[1].matched) {
        EXPECT_NE(out.find("firewall: add tcp 502\n"), std::string::npos) << out;
        EXPECT_NE(out.find("firewall: add udp 5001\n"), std::string::npos) << out;
        ctl.signal(SIGTERM);
        EXPECT_EQ(ctl.exitStatus(), 0) << ctl.output();
    }
}

// CAP_IPC_LOCK in this process's effective set (the controller inherits it).
bool mayLockMemory() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("CapEff:", 0) == 0) return (std::strtoull(line.c_str() + 7, nullptr, 16) >> 14) & 1u;
    return false;
}

// With the real clock and the privilege to lock memory, the controller locks
// it, whatever the locked-memory limit.
TEST(LoaderMemory, IsLockedWhenTheProcessMayLockIt) {
    if (!mayLockMemory()) GTEST_SKIP() << "no CAP_IPC_LOCK";
    const TempDir tmp;
    Controller ctl({"--port-offset", std::to_string(tc_test::pickPortOffset()), "--root", tmp.path + "/var"});
    ASSERT_TRUE(ctl.waitFor("Application is running")) << ctl.output();
    EXPECT_TRUE(std::regex_search(ctl.output(), std::regex("controller: [^\n]*, memory locked\n"))) << ctl.output();
    ctl.signal(SIGTERM);
    EXPECT_EQ(ctl.exitStatus(), 0) << ctl.output();
}

}  // namespace
