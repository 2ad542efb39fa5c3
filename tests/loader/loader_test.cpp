// The controller executable as a user starts it: options it must refuse,
// and a second controller on ports that the first one holds. Each case runs
// the real loader as a child process and reads what it prints.
#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "tests/loader/controller_proc.h"
#include "tests/support/ports.h"

namespace {

using tc_test::Controller;
using tc_test::TempDir;

struct OptionCase {
    const char* name;
    // "@" in an argument stands for the case's own directory.
    std::vector<std::string> args;
    std::string message;
    bool needsNonRoot;  // a permission that the superuser does not meet
    int exit = 2;  // 2 refused, 0 for help
};

void PrintTo(const OptionCase& c, std::ostream* os) { *os << c.name; }

// `text` with every "@" replaced by dir.
std::string inDir(std::string text, const std::string& dir) {
    for (size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at + dir.size()))
        text.replace(at, 1, dir);
    return text;
}

class LoaderOptions : public ::testing::TestWithParam<OptionCase> {};

TEST_P(LoaderOptions, ExitStatusAndMessage) {
    const OptionCase& c = GetParam();
    if (c.needsNonRoot && ::geteuid() == 0) GTEST_SKIP() << "the superuser may use any directory";
    const TempDir tmp;
    const std::string& dir = tmp.path;
    std::ofstream(dir + "/file") << "not a directory\n";
    ::mkdir((dir + "/locked").c_str(), 0500);
    ::mkfifo((dir + "/fifo").c_str(), 0600);
    // A root whose lock file cannot be made: a directory stands at its name.
    std::filesystem::create_directories(dir + "/lockless/controller.lock");
    sockaddr_un sa{};
    sa.sun_family = AF_UNIX;
    std::snprintf(sa.sun_path, sizeof sa.sun_path, "%s/socket", dir.c_str());
    const int sock = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&sa), sizeof sa), 0) << std::strerror(errno);
    ::close(sock);
    // A block device node of no device (only the superuser may make one).
    const bool blockMade = ::mknod((dir + "/block").c_str(), S_IFBLK | 0600, 0) == 0;
    for (const std::string& a : c.args)
        if (a.find("@/block") != std::string::npos && !blockMade) GTEST_SKIP() << "no block device node could be made";
    std::vector<std::string> args = {"--clock", "sim", "--port-offset", std::to_string(tc_test::pickPortOffset())};
    for (const std::string& a : c.args) args.push_back(inDir(a, dir));
    const std::string message = inDir(c.message, dir);
    Controller ctl(args);
    EXPECT_EQ(ctl.exitStatus(), c.exit) << ctl.output();
    EXPECT_NE(ctl.output().find(message), std::string::npos) << ctl.output();
    EXPECT_EQ(ctl.output().find("Application is"), std::string::npos) << ctl.output();
    EXPECT_EQ(ctl.output().find("/HD1"), std::string::npos) << "a path of the target, not of this host";
}

INSTANTIATE_TEST_SUITE_P(
    , LoaderOptions,
    ::testing::Values(
        OptionCase{"RootThatIsAFile", {"--root", "@/file"},
                  "controller: --root '@/file' cannot serve as the application root: not a directory", false},
        OptionCase{"RootBelowAFile", {"--root", "@/file/var"},
                  "controller: --root '@/file/var' cannot serve as the application root: Not a directory", false},
        OptionCase{"RootWithoutWritePermission", {"--root", "@/locked"},
                  "controller: --root '@/locked' cannot serve as the application root: Permission denied", true},
        OptionCase{"TtyPathThatDoesNotExist", {"--tty", "/tyCo/0=@/ttyS9"},
                  "controller: --tty /tyCo/0=@/ttyS9: cannot use '@/ttyS9': No such file or directory", false},
        OptionCase{"TtyWithoutPath", {"--tty", "/tyCo/0="}, "controller: --tty takes DEV=PATH", false},
        // Paths that exist, readable and writable, but carry no serial line.
        OptionCase{"TtyADirectory", {"--tty", "/tyCo/0=@"},
                   "controller: --tty /tyCo/0=@: cannot use '@': it is a directory, not a tty, a pipe or a file\n",
                   false},
        OptionCase{"TtyASocket", {"--tty", "/tyCo/0=@/socket"},
                   "controller: --tty /tyCo/0=@/socket: cannot use '@/socket': it is a socket, not a tty, a pipe or "
                   "a file\n",
                   false},
        OptionCase{"TtyABlockDevice", {"--tty", "/tyCo/0=@/block"},
                   "controller: --tty /tyCo/0=@/block: cannot use '@/block': it is a block device, not a tty, a pipe "
                   "or a file\n",
                   false},
        // A pipe and a regular file are taken: the unknown option after
        // them is what stops the start.
        OptionCase{"TtyAPipeThenAnUnknownOption", {"--tty", "/tyCo/0=@/fifo", "--fast"},
                   "controller: unknown option '--fast'", false},
        OptionCase{"TtyAFileThenAnUnknownOption", {"--tty", "/tyCo/0=@/file", "--fast"},
                   "controller: unknown option '--fast'", false},
        OptionCase{"TtyWithoutDevice", {"--tty", "=@/ttyS0"}, "controller: --tty takes DEV=PATH", false},
        OptionCase{"CanPortZero", {"--can-port", "0"}, "controller: --can-port takes a TCP port number", false},
        OptionCase{"PortOffsetThatIsNoNumber", {"--port-offset", "5x"},
                  "controller: --port-offset takes a number from 0 to 60000", false},
        OptionCase{"RootWithoutValue", {"--root"}, "controller: --root needs a value", false},
        OptionCase{"RootWhoseLockFileCannotBeMade", {"--root", "@/lockless"},
                   "controller: --root '@/lockless' cannot serve as the application root: cannot open "
                   "'@/lockless/controller.lock': Is a directory\n",
                   false},
        // The superuser passes the directory's own check; the lock file
        // cannot be made there.
        OptionCase{"RootInTheKernelsFiles", {"--root", "/sys"},
                   "controller: --root '/sys' cannot serve as the application root: ", false},
        OptionCase{"UnknownOption", {"--fast"}, "controller: unknown option '--fast' (see --help)", false},
        // Offset 0 is taken; what stops the start is the tty after it.
        OptionCase{"PortOffsetZeroThenAMissingTty", {"--port-offset", "0", "--tty", "/tyCo/0=@/none"},
                   "controller: --tty /tyCo/0=@/none: cannot use", false},
        OptionCase{"PortOffset60000ThenAMissingTty", {"--port-offset", "60000", "--tty", "/tyCo/0=@/none"},
                   "controller: --tty /tyCo/0=@/none: cannot use", false},
        OptionCase{"TtyDeviceTheBoardHasNot", {"--tty", "/tyCo/9=/dev/null"},
                   "controller: --tty /tyCo/9=/dev/null: the board has no serial device '/tyCo/9'; its serial "
                   "devices: /tyCo/0\n",
                   false},
        OptionCase{"UsableTtyThenAnUnknownClock", {"--tty", "/tyCo/0=/dev/null", "--clock", "fast"},
                   "controller: --clock takes 'real', 'sim' or 'sim:RATE'", false},
        OptionCase{"PortOffset60001", {"--port-offset", "60001"},
                   "controller: --port-offset takes a number from 0 to 60000", false},
        OptionCase{"ClockModeUnknown", {"--clock", "fast"}, "controller: --clock takes 'real', 'sim' or 'sim:RATE'", false},
        OptionCase{"ClockRateZero", {"--clock", "sim:0"}, "controller: --clock takes 'real', 'sim' or 'sim:RATE'", false},
        OptionCase{"ClockRateNoNumber", {"--clock", "sim:fast"},
                   "controller: --clock takes 'real', 'sim' or 'sim:RATE'", false},
        OptionCase{"ClockRateMissing", {"--clock", "sim:"}, "controller: --clock takes 'real', 'sim' or 'sim:RATE'",
                   false},
        // RATE is a plain decimal number: digits and at most one point.
        OptionCase{"ClockRateHexadecimal", {"--clock", "sim:0x10"},
                   "controller: --clock takes 'real', 'sim' or 'sim:RATE' (RATE a plain decimal number from 0.001 to "
                   "1000000 simulated seconds per wall second)\n",
                   false},
        OptionCase{"ClockRateInfinite", {"--clock", "sim:inf"}, "(RATE a plain decimal number", false},
        OptionCase{"ClockRateNotANumber", {"--clock", "sim:nan"}, "(RATE a plain decimal number", false},
        OptionCase{"ClockRateWithABlank", {"--clock", "sim: 1"}, "(RATE a plain decimal number", false},
        OptionCase{"ClockRateWithAnExponent", {"--clock", "sim:1e1"}, "(RATE a plain decimal number", false},
        OptionCase{"ClockRateWithASign", {"--clock", "sim:+1"}, "(RATE a plain decimal number", false},
        OptionCase{"ClockRateTwoPoints", {"--clock", "sim:1.5.0"}, "(RATE a plain decimal number", false},
        OptionCase{"ClockRateOnlyAPoint", {"--clock", "sim:."}, "(RATE a plain decimal number", false},
        OptionCase{"ClockRateBelowTheRange", {"--clock", "sim:0.0009"}, "(RATE a plain decimal number", false},
        OptionCase{"ClockRateAboveTheRange", {"--clock", "sim:1000000.1"}, "(RATE a plain decimal number", false},
        // Plain rates at the ends of the range are taken.
        OptionCase{"ClockRateLowestThenAnUnknownOption", {"--clock", "sim:0.001", "--fast"},
                   "controller: unknown option '--fast'", false},
        OptionCase{"ClockRateHighestThenAnUnknownOption", {"--clock", "sim:1000000", "--fast"},
                   "controller: unknown option '--fast'", false},
        OptionCase{"ClockRateFractionThenAnUnknownOption", {"--clock", "sim:.5", "--fast"},
                   "controller: unknown option '--fast'", false},
        OptionCase{"ListenNoAddress", {"--listen", "localhost"}, "controller: --listen takes an IPv4 address", false},
        OptionCase{"ListenAddressOutOfRange", {"--listen", "127.0.0.256"}, "controller: --listen takes an IPv4 address",
                   false},
        OptionCase{"HelpNamesTheHostRoot", {"--help"}, "(default: ./var, created if missing)", false, 0},
        OptionCase{"HelpNamesThePacedClock", {"--help"}, "'sim:RATE': simulated time at RATE", false, 0},
        OptionCase{"ShortHelpOption", {"-h"}, "Usage: ", false, 0},
        OptionCase{"HelpListsTheTurbine", {"--help"}, "  --turbine-set LIST  turbine settings", false, 0},
        OptionCase{"HelpNamesTheClosingCurrentsRange", {"--help"}, "which the valve closes, 0 .. 210 mA", false, 0},
        OptionCase{"HelpNamesTheClockRatesForm", {"--help"}, "RATE is a plain decimal number", false, 0},
        OptionCase{"HelpNamesWhatATtyPathMayBe", {"--help"}, "a tty, a pipe or a file", false, 0},
        OptionCase{"TurbineSettingUnknown", {"--turbine-set", "inertia=8,mass=3"},
                   "controller: --turbine-set: unknown setting 'mass' (see --help)", false},
        OptionCase{"TurbineSettingWithoutValue", {"--turbine-set", "inertia"},
                   "controller: --turbine-set: 'inertia' is not NAME=VALUE", false},
        OptionCase{"TurbineSettingNoNumber", {"--turbine-set", "speed=fast"},
                   "controller: --turbine-set: 'speed=fast' has no number", false},
        OptionCase{"TurbineSettingHexadecimal", {"--turbine-set", "inertia=0x10"},
                   "controller: --turbine-set: 'inertia=0x10' has no number", false},
        OptionCase{"TurbineLoadBelowZero", {"--turbine-set", "load=-0.5"},
                   "controller: --turbine-set: 'load=-0.5' is out of range", false},
        OptionCase{"TurbineTeethNotWhole", {"--turbine-set", "teeth2=60.5"},
                   "controller: --turbine-set: 'teeth2=60.5' is out of range", false},
        OptionCase{"TurbineStartingTimeZero", {"--turbine-set", "rated-rpm=3000,inertia=0"},
                   "controller: --turbine-set: 'inertia=0' is out of range: inertia is 0.005 s (one step of the "
                   "model) or more (see --help)\n",
                   false},
        OptionCase{"TurbineStartingTimeBelowAStep", {"--turbine-set", "inertia=0.0049"},
                   "controller: --turbine-set: 'inertia=0.0049' is out of range: inertia is 0.005 s", false},
        // The valve must close within the actuator's current range: a
        // tripped unit drives none, and a valve still open then would turn
        // its shaft by itself, whatever else is set.
        OptionCase{"TurbineClosingCurrentBelowTheRange", {"--turbine-set", "closed-ma=-1"},
                   "controller: --turbine-set: 'closed-ma=-1' is out of range: closed-ma is 0 .. 210 mA, the "
                   "actuator's current range (a tripped unit drives no current: a valve still open then would turn "
                   "its shaft) (see --help)\n",
                   false},
        OptionCase{"TurbineClosingCurrentJustBelowTheRange", {"--turbine-set", "inertia=8,closed-ma=-0.001"},
                   "controller: --turbine-set: 'closed-ma=-0.001' is out of range: closed-ma is 0 .. 210 mA", false},
        OptionCase{"TurbineClosingCurrentJustAboveTheRange", {"--turbine-set", "closed-ma=210.001"},
                   "controller: --turbine-set: 'closed-ma=210.001' is out of range: closed-ma is 0 .. 210 mA", false},
        OptionCase{"TurbineClosingCurrentHuge", {"--turbine-set", "closed-ma=-1e9"},
                   "controller: --turbine-set: 'closed-ma=-1e9' is out of range: closed-ma is 0 .. 210 mA", false},
        OptionCase{"TurbineClosingCurrentBelowWithoutGain", {"--turbine-set", "valve-gain=0,closed-ma=-1"},
                   "controller: --turbine-set: 'closed-ma=-1' is out of range: closed-ma is 0 .. 210 mA", false},
        OptionCase{"TurbineActuatorLoop5", {"--turbine-set", "actuator=5"},
                   "controller: --turbine-set: 'actuator=5' is out of range: actuator is 6 or 7 (see --help)\n",
                   false},
        // A wheel the speed input cannot count at the model's top speed
        // (twice rated): its tooth frequency above 38500 Hz.
        OptionCase{"TurbineTeethBeyondTheSpeedInput", {"--turbine-set", "teeth1=1000000"},
                   "controller: --turbine-set: 'teeth1=1000000' is out of range: teeth1 is 1 .. 320 with rated-rpm "
                   "3600 and gear1 1 (the speed input reads tooth frequencies up to 38500 Hz, the model turns up to "
                   "2 times rated speed) (see --help)\n",
                   false},
        OptionCase{"TurbineTeethOneBeyond", {"--turbine-set", "teeth2=321"},
                   "controller: --turbine-set: 'teeth2=321' is out of range: teeth2 is 1 .. 320 with rated-rpm 3600 "
                   "and gear2 1 (",
                   false},
        OptionCase{"TurbineRatedSpeedBeyondTheSpeedInput", {"--turbine-set", "teeth2=30,rated-rpm=1e308"},
                   "controller: --turbine-set: 'rated-rpm=1e308' is out of range: rated-rpm is above 0 up to 19250 "
                   "with teeth1 60 and gear1 1 (",
                   false},
        OptionCase{"TurbineGearBeyondTheSpeedInput", {"--turbine-set", "rated-rpm=3000,teeth2=100,gear2=4"},
                   "controller: --turbine-set: 'gear2=4' is out of range: gear2 is above 0 up to 3.85 with rated-rpm "
                   "3000 and teeth2 100 (",
                   false},
        OptionCase{"TurbineRatedSpeedZero", {"--turbine-set", "rated-rpm=0"},
                   "controller: --turbine-set: 'rated-rpm=0' is out of range: rated-rpm is above 0 (see --help)\n",
                   false},
        OptionCase{"TurbineSpeedBeyondTheModel", {"--turbine-set", "rated-rpm=3000,speed=6000.5"},
                   "controller: --turbine-set: 'speed=6000.5' is beyond the turbine model's range (0 .. 6000 rpm)",
                   false},
        OptionCase{"PlantInputAPipe", {"--plant-input", "@/fifo"},
                   "controller: --plant-input: '@/fifo' is not a regular file", false},
        OptionCase{"PlantInputADirectory", {"--plant-input", "@"},
                   "controller: --plant-input: '@' is not a regular file", false}),
    [](const ::testing::TestParamInfo<OptionCase>& info) { return std::string(info.param.name); });

// With the turbine model on, the controller says so with its settings at
// start, and where the shaft stands at the stop: with no actuator current
// the shaft has slowed down under its load.
TEST(LoaderTurbine, TheModelRunsWithTheController) {
    const TempDir tmp;
    Controller ctl({"--clock", "sim", "--port-offset", std::to_string(tc_test::pickPortOffset()), "--root",
                    tmp.path + "/var", "--turbine-set",
                    "speed=1800,load=0.2,inertia=8,teeth1=30,teeth2=30,gear1=2,gear2=2,rated-rpm=3000,"
                    "valve-gain=0.07,closed-ma=4.5,friction=0.03,actuator=7"});
    ASSERT_TRUE(ctl.waitFor("Application is running")) << ctl.output();
    EXPECT_NE(ctl.output().find("controller: turbine model on: starting time 8 s, rated 3000 rpm, valve gain "
                                "0.07 per mA above 4.5 mA on current loop 7, friction 0.03, load 0.2, shaft at "
                                "1800 rpm\n"),
              std::string::npos)
        << ctl.output();
    ctl.signal(SIGTERM);
    EXPECT_EQ(ctl.exitStatus(), 0) << ctl.output();
    const std::string mark = "controller: turbine shaft at ";
    const size_t at = ctl.output().find(mark);
    ASSERT_NE(at, std::string::npos) << ctl.output();
    const double rpm = std::stod(ctl.output().substr(at + mark.size()));
    EXPECT_GE(rpm, 0.0);
    EXPECT_LT(rpm, 1800.0);
}

// A valve that closes at either end of the actuator's current range is
// taken: the controller starts, its tripped unit drives no current and its
// shaft turns only by what the power-up gives (a few passes of the 0 %
// current before the power-up trips latch: at most 4 mA for 0.35 s, some
// 40 rpm with a valve closed at 0 mA, none with one closed at 210 mA); the
// first stop is taken, the shaft being below the low-speed setpoint.
TEST(LoaderTurbine, AValveClosedAtEitherEndOfTheRangeStartsAndStops) {
    struct Case {
        const char* closedMa;
        double maxRpm;
    };
    for (const Case& c : {Case{"0", 50.0}, Case{"210", 0.0}}) {
        SCOPED_TRACE(c.closedMa);
        const TempDir tmp;
        Controller ctl({"--clock", "sim", "--port-offset", std::to_string(tc_test::pickPortOffset()), "--root",
                        tmp.path + "/var", "--turbine-set", std::string("closed-ma=") + c.closedMa});
        ASSERT_TRUE(ctl.waitFor("Application is running")) << ctl.output();
        EXPECT_NE(ctl.output().find(std::string("per mA above ") + c.closedMa + " mA on current loop 6"),
                  std::string::npos)
            << ctl.output();
        ctl.signal(SIGINT);
        EXPECT_EQ(ctl.exitStatus(), 0) << ctl.output();
        EXPECT_EQ(ctl.output().find("refused to stop"), std::string::npos) << ctl.output();
        const std::string mark = "controller: turbine shaft at ";
        const size_t at = ctl.output().find(mark);
        ASSERT_NE(at, std::string::npos) << ctl.output();
        EXPECT_LE(std::stod(ctl.output().substr(at + mark.size())), c.maxRpm) << ctl.output();
    }
}

// A second controller with the same port offset finds the first one's ports
// taken: it names the port and exits with 1, and the first one runs on and
// stops normally. The first one creates its missing root directory and says
// so, and its firewall lines name the ports it opened, offset included.
TEST(LoaderPorts, ASecondControllerOnTheSamePortsFails) {
    const TempDir tmp;
    const std::string& dir = tmp.path;
    const int offset = tc_test::pickPortOffset();
    const std::vector<std::string> common = {"--port-offset", std::to_string(offset)};
    std::vector<std::string> firstArgs = common, secondArgs = common;
    firstArgs.insert(firstArgs.end(), {"--root", dir + "/first/var"});
    secondArgs.insert(secondArgs.end(), {"--root", dir + "/second"});

    Controller first(firstArgs);
    ASSERT_TRUE(first.waitFor("Application is running")) << first.output();
    EXPECT_NE(first.output().find("controller: created the application root directory '" + dir + "/first/var'"),
              std::string::npos)
        << first.output();
    struct stat st{};
    EXPECT_EQ(::stat((dir + "/first/var").c_str(), &st), 0);
    EXPECT_NE(first.output().find("firewall: add udp " + std::to_string(5001 + offset) + "\n"), std::string::npos)
        << first.output();

    Controller second(secondArgs);
    EXPECT_EQ(second.exitStatus(), 1) << second.output();
    EXPECT_NE(second.output().find("controller: cannot open UDP port " + std::to_string(5001 + offset) +
                                   ": Address already in use"),
              std::string::npos)
        << second.output();
    // The ports are checked before the application starts: nothing of it
    // runs, so nothing of it is declared running or stopped.
    EXPECT_NE(second.output().find("; not starting"), std::string::npos) << second.output();
    EXPECT_EQ(second.output().find("Application is"), std::string::npos) << second.output();
    EXPECT_EQ(second.output().find("External Watchdog Timeout!"), std::string::npos) << second.output();

    first.signal(SIGTERM);
    EXPECT_EQ(first.exitStatus(), 0) << first.output();
    EXPECT_NE(first.output().find("firewall: remove udp " + std::to_string(5001 + offset) + "\n"), std::string::npos)
        << first.output();
}

// Each of the controller's ports held by another program alone: the
// controller names that port and does not start.
struct HeldPort {
    const char* name;
    int type;
    int port;
};
class LoaderPortHeld : public ::testing::TestWithParam<HeldPort> {};

TEST_P(LoaderPortHeld, IsNamedAndTheControllerDoesNotStart) {
    const TempDir tmp;
    const int offset = tc_test::pickPortOffset();
    const int port = GetParam().port + offset;
    const int h = ::socket(AF_INET, GetParam().type, 0);
    ASSERT_GE(h, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    ASSERT_EQ(::bind(h, reinterpret_cast<sockaddr*>(&a), sizeof a), 0) << port;
    if (GetParam().type == SOCK_STREAM) {
        ASSERT_EQ(::listen(h, 1), 0);
    }
    Controller ctl({"--clock", "sim", "--port-offset", std::to_string(offset), "--root", tmp.path + "/var"});
    EXPECT_EQ(ctl.exitStatus(), 1) << ctl.output();
    const std::string said = std::string("controller: cannot open ") + (GetParam().type == SOCK_STREAM ? "TCP" : "UDP") +
                             " port " + std::to_string(port) + ": Address already in use\n";
    EXPECT_NE(ctl.output().find(said), std::string::npos) << ctl.output();
    EXPECT_EQ(ctl.output().find("controller: cannot open", ctl.output().find(said) + 1), std::string::npos)
        << "only the held port is named: " << ctl.output();
    EXPECT_NE(ctl.output().find("; not starting"), std::string::npos) << ctl.output();
    ::close(h);
}

INSTANTIATE_TEST_SUITE_P(, LoaderPortHeld,
                         ::testing::Values(HeldPort{"Service", SOCK_STREAM, 666}, HeldPort{"Modbus", SOCK_STREAM, 502},
                                           HeldPort{"Udp5001", SOCK_DGRAM, 5001}, HeldPort{"Udp5002", SOCK_DGRAM, 5002},
                                           HeldPort{"Udp5005", SOCK_DGRAM, 5005}),
                         [](const auto& info) { return std::string(info.param.name); });

// The arguments of a controller in simulated time on ports of its own.
std::vector<std::string> simArgs(const std::string& root) {
    return {"--clock", "sim", "--port-offset", std::to_string(tc_test::pickPortOffset()), "--root", root};
}

// Each stop signal runs the whole stop sequence and ends with status 0; the
// watchdog is disarmed with the clock, so a clean stop reports no time-out.
struct StopCase {
    const char* name;
    int signal;
    const char* line;
};
class LoaderStops : public ::testing::TestWithParam<StopCase> {};

TEST_P(LoaderStops, RunTheStopSequence) {
    const TempDir tmp;
    // In simulated time: a host too busy to run the process in time cannot
    // make the watchdog bite, so a time-out here is the stop's own.
    Controller ctl(simArgs(tmp.path + "/var"));
    ASSERT_TRUE(ctl.waitFor("Application is running")) << ctl.output();
    ctl.signal(GetParam().signal);
    EXPECT_EQ(ctl.exitStatus(), 0) << ctl.output();
    EXPECT_NE(ctl.output().find(GetParam().line), std::string::npos) << ctl.output();
    EXPECT_NE(ctl.output().find("tRGEnd Done"), std::string::npos) << ctl.output();
    EXPECT_EQ(ctl.output().find("External Watchdog Timeout!"), std::string::npos) << ctl.output();
    // Asked for soon after the start, whether or not the rate groups have
    // computed the stop permissive of the unit at rest yet: not refused, nor
    // asked of the application before the permissive stands.
    EXPECT_EQ(ctl.output().find("refused to stop"), std::string::npos) << ctl.output();
    EXPECT_EQ(ctl.output().find("Can not stop"), std::string::npos) << ctl.output();
}

INSTANTIATE_TEST_SUITE_P(, LoaderStops,
                         ::testing::Values(StopCase{"Interrupt", SIGINT, "controller: SIGINT received, stopping"},
                                           StopCase{"Terminate", SIGTERM, "controller: SIGTERM received, stopping"},
                                           StopCase{"HangUp", SIGHUP, "controller: SIGHUP received, stopping"}),
                         [](const ::testing::TestParamInfo<StopCase>& info) { return std::string(info.param.name); });

// A stop asked for while the application starts (in real time its start
// takes a good part of a second) is taken at once and carried out as soon
// as the start has ended.
TEST(LoaderStart, StopSignalDuringTheStartIsHonoured) {
    const TempDir tmp;
    Controller ctl({"--port-offset", std::to_string(tc_test::pickPortOffset()), "--root", tmp.path + "/var",
                    "--normal-priority"});
    ASSERT_TRUE(ctl.waitFor("controller: normal priority (--normal-priority)")) << ctl.output();
    ctl.signal(SIGTERM);
    EXPECT_EQ(ctl.exitStatus(), 0) << ctl.output();
    const std::string& out = ctl.output();
    const size_t taken = out.find("controller: SIGTERM received during the start; stopping once it has ended");
    EXPECT_NE(taken, std::string::npos) << out;
    EXPECT_LT(taken, out.find("Application is running")) << out;
    EXPECT_NE(out.find("tRGEnd Done"), std::string::npos) << out;
    EXPECT_EQ(out.find("refused to stop"), std::string::npos) << out;
    EXPECT_EQ(out.find("Can not stop"), std::string::npos) << out;
}

// The scheduling the controller asks for: real-time with the real clock
// unless told to stay at normal priority; the console says which it got,
// and the process has what it says.
struct PriorityCase {
    const char* name;
    std::vector<std::string> args;
    const char* line;  // the start of the console line
};
class LoaderPriority : public ::testing::TestWithParam<PriorityCase> {};

TEST_P(LoaderPriority, ConsoleSaysWhatTheProcessGot) {
    const TempDir tmp;
    std::vector<std::string> args = {"--port-offset", std::to_string(tc_test::pickPortOffset()), "--root",
                                     tmp.path + "/var"};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    Controller ctl(args);
    ASSERT_TRUE(ctl.waitFor("Application is running")) << ctl.output();
    std::smatch m;
    const std::string out = ctl.output();
    ASSERT_TRUE(std::regex_search(out, m, std::regex("controller: ((real-time|normal)[^\n]*), memory ([^\n]*)\n")))
        << out;
    EXPECT_EQ(m[1].str().rfind(GetParam().line, 0), 0u) << m[1];
    const bool fifo = m[2] == "real-time";
    EXPECT_EQ(::sched_getscheduler(ctl.pid()), fifo ? SCHED_FIFO : SCHED_OTHER);
    if (fifo) {
        sched_param sp{};
        ::sched_getparam(ctl.pid(), &sp);
        EXPECT_EQ(sp.sched_priority, 20);
    }
#ifndef TC_SANITIZE  // the address sanitizer makes mlockall a no-op: nothing shows as locked
    std::ifstream status("/proc/" + std::to_string(ctl.pid()) + "/status");
    std::string locked;
    for (std::string l; std::getline(status, l);)
        if (l.rfind("VmLck:", 0) == 0) locked = l;
    EXPECT_EQ(m[3] == "locked", std::regex_search(locked, std::regex("VmLck:\\s+[1-9]"))) << locked;
#endif
    ctl.signal(SIGTERM);
    EXPECT_EQ(ctl.exitStatus(), 0) << ctl.output();
}

INSTANTIATE_TEST_SUITE_P(
    , LoaderPriority,
    ::testing::Values(PriorityCase{"RealClock", {}, ::geteuid() == 0 ? "real-time scheduling SCHED_FIFO priority 20"
                                                                     : ""},
                      PriorityCase{"NormalPriorityAskedFor", {"--normal-priority"}, "normal priority (--normal-priority)"},
                      PriorityCase{"SimulatedClock", {"--clock", "sim"}, "normal priority (simulated clock)"}),
    [](const ::testing::TestParamInfo<PriorityCase>& info) { return std::string(info.param.name); });

// Ticks lost while the process was stopped are reported: how many, when.
TEST(LoaderClock, TicksLostWhileStoppedAreReported) {
    const TempDir tmp;
    Controller ctl({"--port-offset", std::to_string(tc_test::pickPortOffset()), "--root", tmp.path + "/var",
                    "--normal-priority"});
    ASSERT_TRUE(ctl.waitFor("Application is running")) << ctl.output();
    const size_t before = ctl.output().size();
    ctl.signal(SIGSTOP);
    ::usleep(500'000);  // the time the process stands still
    ctl.signal(SIGCONT);
    ASSERT_TRUE(ctl.waitFor(" UTC: the process did not run in time\n", 30000, before)) << ctl.output();
    std::smatch m;
    std::string out = ctl.output().substr(before);
    ASSERT_TRUE(std::regex_search(out, m, std::regex("host kernel: ([0-9]+) clock ticks? \\([0-9.]+ s\\) lost before "
                                                     "[0-9-]+ [0-9:]+ UTC")))
        << out;
    // The reports come at most once a second: on a loaded host one may have
    // come just before the stop, and the stop's ticks a second later.
    const auto lostSoFar = [&out] {
        uint64_t lost = 0;
        const std::regex report("host kernel: ([0-9]+) clock ticks?");
        for (std::sregex_iterator it(out.begin(), out.end(), report), end; it != end; ++it)
            lost += std::stoull((*it)[1]);
        return lost;
    };
    for (int waited = 0; lostSoFar() < 90 && waited < 5000; waited += 50) {
        ::usleep(50'000);
        out = ctl.takeOutput().substr(before);
    }
    EXPECT_GE(lostSoFar(), 90u) << out;  // half a second is 100 ticks
    ctl.signal(SIGTERM);
    EXPECT_EQ(ctl.exitStatus(), 0) << ctl.output();
}

// On exit the clock reports itself: the simulated clock how many simulated
// seconds passed per wall second, the real clock how late the ticks came
// against their deadlines and how many were missed.
TEST(LoaderClock, TheClockReportsItselfOnExit) {
    struct Case {
        std::vector<std::string> args;
        const char* pattern;
    };
    const Case cases[] = {
        {{"--clock", "sim"},
         "controller: simulated clock: ([0-9.]+) s simulated in ([0-9.]+) s wall time, ([0-9]+) simulated seconds per "
         "wall second\n"},
        // A slow pace is given with the digits it needs.
        {{"--clock", "sim:0.5"},
         "controller: simulated clock: ([0-9.]+) s simulated in ([0-9.]+) s wall time, (0\\.[0-9]{3}) simulated seconds "
         "per wall second\n"},
        {{"--normal-priority"},
         "controller: real-time clock: ([0-9]+) ticks, lateness against the 5 ms deadlines p50 ([0-9]+) us, p99 "
         "([0-9]+) us, max ([0-9]+) us; ([0-9]+) ticks missed\n"},
    };
    for (const Case& c : cases) {
        const TempDir tmp;
        std::vector<std::string> args = c.args;
        args.push_back("--port-offset");
        args.push_back(std::to_string(tc_test::pickPortOffset()));
        args.push_back("--root");
        args.push_back(tmp.path + "/var");
        Controller ctl(args);
        ASSERT_TRUE(ctl.waitFor("Application is running")) << ctl.output();
        ::usleep(300'000);
        ctl.signal(SIGTERM);
        EXPECT_EQ(ctl.exitStatus(), 0) << ctl.output();
        std::smatch m;
        const std::string out = ctl.output();
        ASSERT_TRUE(std::regex_search(out, m, std::regex(c.pattern))) << out;
        // The event without a text that the start sends is not shown.
        EXPECT_EQ(out.find("[platform] event 12"), std::string::npos) << out;
        if (c.args[0] == "--clock") {
            const double sim = std::stod(m[1]), wall = std::stod(m[2]);
            // The start and the stop alone take seconds of simulated time
            // (5.2 s); a paced clock on a busy host may lag in the wait.
            EXPECT_GT(sim, c.args[1] == "sim" ? 5.0 : 4.0) << out;
            EXPECT_GT(wall, 0.0) << out;
            EXPECT_NEAR(std::stod(m[3]), sim / wall, sim / wall * 0.02 + 0.5) << out;
            if (c.args[1] == "sim:0.5") {  // at most the pace, less on a busy host
                EXPECT_LE(std::stod(m[3]), 0.505) << out;
                EXPECT_GT(std::stod(m[3]), 0.4) << out;
            }
        } else {
            const uint64_t ticks = std::stoull(m[1]);
            EXPECT_GT(ticks, 60u) << out;  // the start's 200 ms and more
            const uint64_t p50 = std::stoull(m[2]), p99 = std::stoull(m[3]), max = std::stoull(m[4]);
            EXPECT_LE(p50, p99) << out;
            EXPECT_LE(p99, max) << out;
        }
    }
}

// Files that no tunables file or NV log can be, under their names at start:
// each is reported, the start is not held up by it, and a refused tunables
// file is kept under a name of its own.
struct HostileCase {
    const char* name;
    const char* file;  // "ee" or "nlg"
    const char* kind;  // pipe, zero, huge, random, table
    const char* message;
};
class LoaderHostileFiles : public ::testing::TestWithParam<HostileCase> {};

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

TEST_P(LoaderHostileFiles, AreReportedWithoutHoldingUpTheStart) {
    namespace fs = std::filesystem;
    const TempDir tmp;
    const std::string var = tmp.path + "/var";
    const std::string ee = var + "/9902-4411_e.ee";
    const std::string name = var + "/9902-4411_e." + GetParam().file;
    const std::string kind = GetParam().kind;
    fs::create_directories(var);
    const std::string heading =
        "EE Tunables Save File (Binary Format)\nApplication \"9902-4411_e\" CODER-generated Mon Apr 20 07:44:46 2026\n";
    std::string written;
    if (kind == "table") {
        // A file this build wrote, then the fingerprint after the date's NUL
        // changed and an entry more after the date: another table's file.
        Controller first(simArgs(var));
        ASSERT_TRUE(first.waitFor("Application is running")) << first.output();
        first.signal(SIGTERM);
        ASSERT_EQ(first.exitStatus(), 0) << first.output();
        written = readAll(ee);
        ASSERT_GT(written.size(), heading.size() + 28);
        written[heading.size() + 27] = static_cast<char>(written[heading.size() + 27] ^ 0x21);
        written.insert(heading.size() + 28, 4, '\0');
        std::ofstream(ee, std::ios::binary | std::ios::trunc) << written;
    } else if (kind == "pipe") {
        ASSERT_EQ(::mkfifo(name.c_str(), 0644), 0);
    } else if (kind == "zero") {
        fs::create_symlink("/dev/zero", name);
    } else if (kind == "huge") {
        std::ofstream out(name, std::ios::binary);
        const std::string block(1 << 20, 'E');
        for (int k = 0; k < 30; ++k) out << block;
    } else if (kind == "random") {
        std::mt19937 random(38);
        written = heading;
        for (int k = 0; k < 100000; ++k) written += static_cast<char>(random());
        std::ofstream(name, std::ios::binary) << written;
    }
    const auto t0 = std::chrono::steady_clock::now();
    Controller ctl(simArgs(var));
    ASSERT_TRUE(ctl.waitFor("Application is running")) << ctl.output();
    const auto startMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
    ASSERT_TRUE(ctl.waitFor(GetParam().message)) << ctl.output();
    ctl.signal(SIGTERM);
    EXPECT_EQ(ctl.exitStatus(), 0) << ctl.output();
    EXPECT_LT(startMs, 5000) << "the start waited on the file";
    RecordProperty("start_ms", static_cast<int>(startMs));
    if (std::string(GetParam().file) != "ee") return;
    const std::string kept = ee + ".rejected1";
    EXPECT_NE(ctl.output().find("Initializing EE: Refused save-file kept as 9902-4411_e.ee.rejected1"),
              std::string::npos)
        << ctl.output();
    const fs::file_type type = fs::symlink_status(kept).type();
    const fs::file_type want = kind == "pipe" ? fs::file_type::fifo
                               : kind == "zero" ? fs::file_type::symlink
                                                : fs::file_type::regular;
    EXPECT_EQ(type, want);
    EXPECT_EQ(kind == "huge" ? fs::file_size(kept) : 0u, kind == "huge" ? 30u << 20 : 0u);
    EXPECT_EQ(written.empty() ? std::string() : readAll(kept), written);
    EXPECT_EQ(readAll(ee).compare(0, heading.size(), heading), 0) << "a fresh file in its place";
}

INSTANTIATE_TEST_SUITE_P(
    , LoaderHostileFiles,
    ::testing::Values(
        HostileCase{"TunablesPipe", "ee", "pipe",
                    "Initializing EE: Cannot read save-file 9902-4411_e.ee (not a regular file)"},
        HostileCase{"TunablesLinkToDevZero", "ee", "zero",
                    "Initializing EE: Cannot read save-file 9902-4411_e.ee (not a regular file)"},
        HostileCase{"TunablesHugeHeading", "ee", "huge", "Error in ReadValidateEEFileHeading (Cannot read FileMode marker)"},
        HostileCase{"TunablesRandomBody", "ee", "random", "Error in ReadEETable(MOEDATE): values of another build date"},
        HostileCase{"TunablesOfAnotherTable", "ee", "table", "Error in ReadEETable(MOEDATE): values of another table"},
        HostileCase{"NvLogPipe", "nlg", "pipe",
                    "Error in ReadNVLogTable(cannot read 9902-4411_e.nlg: not a regular file)"},
        HostileCase{"NvLogLinkToDevZero", "nlg", "zero",
                    "Error in ReadNVLogTable(cannot read 9902-4411_e.nlg: not a regular file)"},
        HostileCase{"NvLogHugeHeading", "nlg", "huge", "Error in ReadNVLogTable(heading)"}),
    [](const ::testing::TestParamInfo<HostileCase>& info) { return std::string(info.param.name); });

}  // namespace
