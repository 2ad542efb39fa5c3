// The controller executable as a user starts it: options it must refuse,
// and a second controller on ports that the first one holds. Each case runs
// the real loader as a child process and reads what it prints.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

#include "tests/support/ports.h"

namespace {

std::string controllerPath() { return TC_CONTROLLER_PATH; }

// A fresh directory for one case, removed with what it holds.
struct TempDir {
    std::string path;
    TempDir() {
        char name[] = "/tmp/loader_test_XXXXXX";
        path = ::mkdtemp(name) != nullptr ? name : "";
    }
    ~TempDir() {
        std::error_code ec;
        if (!path.empty()) std::filesystem::remove_all(path, ec);
    }
};

// The loader run as a child, its standard output and error read together.
class Controller {
public:
    explicit Controller(std::vector<std::string> args) {
        int p[2];
        if (::pipe2(p, O_CLOEXEC) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(p[1], 1);
            ::dup2(p[1], 2);
            std::vector<char*> argv;
            std::string prog = controllerPath();
            argv.push_back(prog.data());
            for (std::string& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(prog.c_str(), argv.data());
            ::_exit(127);
        }
        ::close(p[1]);
        fd_ = p[0];
    }
    ~Controller() {
        if (pid_ > 0 && status_ < 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (fd_ >= 0) ::close(fd_);
    }

    // Reads output until it holds `text` or the child's output ends; false
    // when it did not come within ms.
    bool waitFor(const std::string& text, int ms = 30000) {
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (output_.find(text) == std::string::npos) {
            int left = static_cast<int>(
                std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now()).count());
            if (left <= 0 || !readSome(left)) return false;
        }
        return true;
    }
    // The exit status once the child has ended (all its output read), or -1
    // when it was still running after ms.
    int exitStatus(int ms = 30000) {
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        for (;;) {
            int left = static_cast<int>(
                std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now()).count());
            if (left <= 0) return -1;
            if (!readSome(left)) break;
        }
        // No more output: the child has ended, unless the time ran out first.
        if (std::chrono::steady_clock::now() >= end) return -1;
        int st = 0;
        if (::waitpid(pid_, &st, 0) != pid_) return -1;
        status_ = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
        return status_;
    }
    void signal(int sig) { ::kill(pid_, sig); }
    const std::string& output() const { return output_; }

private:
    pid_t pid_ = -1;
    int fd_ = -1;
    int status_ = -1;
    std::string output_;

    // False at the end of the output or when nothing came within ms.
    bool readSome(int ms) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, ms) != 1) return false;
        char buf[4096];
        ssize_t n = ::read(fd_, buf, sizeof buf);
        if (n <= 0) return false;
        output_.append(buf, static_cast<size_t>(n));
        return true;
    }
};

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
    std::vector<std::string> args = {"--clock", "sim", "--port-offset", std::to_string(tc_test::pickPortOffset())};
    for (const std::string& a : c.args) args.push_back(inDir(a, dir));
    const std::string message = inDir(c.message, dir);
    Controller ctl(args);
    EXPECT_EQ(ctl.exitStatus(), c.exit) << ctl.output();
    EXPECT_NE(ctl.output().find(message), std::string::npos) << ctl.output();
    EXPECT_EQ(ctl.output().find("Application is"), std::string::npos) << ctl.output();
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
        OptionCase{"TtyWithoutDevice", {"--tty", "=@/ttyS0"}, "controller: --tty takes DEV=PATH", false},
        OptionCase{"CanPortZero", {"--can-port", "0"}, "controller: --can-port takes a TCP port number", false},
        OptionCase{"PortOffsetThatIsNoNumber", {"--port-offset", "5x"},
                  "controller: --port-offset takes a number from 0 to 60000", false},
        OptionCase{"RootWithoutValue", {"--root"}, "controller: --root needs a value", false},
        OptionCase{"UnknownOption", {"--fast"}, "controller: unknown option '--fast' (see --help)", false},
        // Offset 0 is taken; what stops the start is the tty after it.
        OptionCase{"PortOffsetZeroThenAMissingTty", {"--port-offset", "0", "--tty", "/tyCo/1=@/none"},
                   "controller: --tty /tyCo/1=@/none: cannot use", false},
        OptionCase{"PortOffset60000ThenAMissingTty", {"--port-offset", "60000", "--tty", "/tyCo/1=@/none"},
                   "controller: --tty /tyCo/1=@/none: cannot use", false},
        OptionCase{"UsableTtyThenAnUnknownClock", {"--tty", "/tyCo/0=/dev/null", "--clock", "fast"},
                   "controller: --clock takes 'real' or 'sim'", false},
        OptionCase{"PortOffset60001", {"--port-offset", "60001"},
                   "controller: --port-offset takes a number from 0 to 60000", false},
        OptionCase{"ClockModeUnknown", {"--clock", "fast"}, "controller: --clock takes 'real' or 'sim'", false},
        OptionCase{"ShortHelpOption", {"-h"}, "Usage: ", false, 0},
        OptionCase{"HelpListsTheTurbine", {"--help"}, "  --turbine-set LIST  turbine settings", false, 0},
        OptionCase{"TurbineSettingUnknown", {"--turbine-set", "inertia=8,mass=3"},
                   "controller: --turbine-set: unknown setting 'mass' (see --help)", false},
        OptionCase{"TurbineSettingWithoutValue", {"--turbine-set", "inertia"},
                   "controller: --turbine-set: 'inertia' is not NAME=VALUE", false},
        OptionCase{"TurbineSettingNoNumber", {"--turbine-set", "speed=fast"},
                   "controller: --turbine-set: 'speed=fast' has no number", false},
        OptionCase{"TurbineLoadBelowZero", {"--turbine-set", "load=-0.5"},
                   "controller: --turbine-set: 'load=-0.5' is out of range", false},
        OptionCase{"TurbineTeethNotWhole", {"--turbine-set", "teeth2=60.5"},
                   "controller: --turbine-set: 'teeth2=60.5' is out of range", false},
        OptionCase{"TurbineStartingTimeZero", {"--turbine-set", "rated-rpm=3000,inertia=0"},
                   "controller: --turbine-set: a setting is out of range", false},
        OptionCase{"TurbineActuatorLoop5", {"--turbine-set", "actuator=5"},
                   "controller: --turbine-set: a setting is out of range", false}),
    [](const ::testing::TestParamInfo<OptionCase>& info) { return std::string(info.param.name); });

// With the turbine model on, the controller says so with its settings at
// start, and where the shaft stands at the stop: with no actuator current
// the shaft has slowed down under its load.
TEST(LoaderTurbine, TheModelRunsWithTheController) {
    const TempDir tmp;
    Controller ctl({"--clock", "sim", "--port-offset", std::to_string(tc_test::pickPortOffset()), "--root",
                    tmp.path + "/var", "--turbine-set", "speed=1800,load=0.2,inertia=8,teeth1=30"});
    ASSERT_TRUE(ctl.waitFor("Application is running")) << ctl.output();
    EXPECT_NE(ctl.output().find("controller: turbine model on: starting time 8 s, rated 3600 rpm, valve gain "
                                "0.078125 per mA above 4 mA on current loop 6, friction 0.02, load 0.2, shaft at "
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

    first.signal(SIGTERM);
    EXPECT_EQ(first.exitStatus(), 0) << first.output();
    EXPECT_NE(first.output().find("firewall: remove udp " + std::to_string(5001 + offset) + "\n"), std::string::npos)
        << first.output();
}

}  // namespace
