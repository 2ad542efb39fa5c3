// The platform loader: maps the application directory, checks that the
// controller's ports are free, takes real-time scheduling where the host
// allows it, starts the host kernel and the emulated platform, calls
// tRGStart from the platform task, runs until SIGINT, SIGTERM or SIGHUP
// (also during the start), then calls tRGEnd.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <pthread.h>
#include <sched.h>
#include <sys/mman.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "host/board.h"
#include "host/canbus.h"
#include "host/hostfs.h"
#include "host/hostio.h"
#include "host/hostkernel.h"
#include "host/speed_sensor_model.h"
#include "host/turbine_model.h"
#include "host/vkplatform.h"
#include "runtime/appmain.h"
#include "runtime/appmem.h"
#include "runtime/dbug.h"
#include "runtime/sched.h"
#include "runtime/sysinfo.h"
#include "storage/eefile.h"

namespace {

// A moderate real-time priority: above every ordinary process, below the
// kernel's own threads and whatever the host runs at higher priorities.
constexpr int kRealTimePriority = 20;
// How long a stop asked for during the start waits for the start to end
// before the process ends without the stop sequence.
constexpr int kStartEndWaitS = 15;
// How many passes of the slowest (160 ms) rate group the application runs
// after its start before the stop permissive it computes is taken as it
// stands: the power-up trips latch within the first three.
constexpr uint32_t kPermissivePasses = 8;
// How often a stop that a lost port asked for, held back by the stop
// permissive, looks at the permissive again (wall time).
constexpr long kPortStopLookMs = 100;
// The file in the application root that one controller at a time holds.
constexpr const char* kRootLockName = "controller.lock";
// The serial device of the board, its only one.
constexpr const char* kSerialDevice = "/tyCo/0";

void usage(const char* prog) {
    std::printf(
        "Usage: %s [options]\n"
        "Runs the turbine controller on this host until Ctrl-C (SIGINT), SIGTERM or SIGHUP.\n\n"
        "  --root DIR          directory that holds the controller's files: tunables, logs,\n"
        "                      Accounts.txt (default: ./var, created if missing); one controller\n"
        "                      at a time may use it\n"
        "  --port-offset N     added to every TCP/UDP port the controller opens (service 666,\n"
        "                      Modbus 502, 5001, 5002, 5005), so that it can run without root\n"
        "                      and beside other instances (default: 0)\n"
        "  --listen ADDRESS    the IPv4 address the TCP ports (service, Modbus) listen on\n"
        "                      (default: 127.0.0.1, this host only; 0.0.0.0 for every interface)\n"
        "  --clock MODE        'real': 5 ms ticks in real time (default);\n"
        "                      'sim': simulated time, as fast as the host allows;\n"
        "                      'sim:RATE': simulated time at RATE simulated seconds per wall\n"
        "                      second at most (sim:1 runs at wall speed), for use with tools;\n"
        "                      RATE is a plain decimal number (digits and a point) from 0.001\n"
        "                      to 1000000\n"
        "  --can-port N        serves the controller's CAN bus on TCP port N of 127.0.0.1, one frame\n"
        "                      per line in candump's compact form (123#11223344), so that other\n"
        "                      processes can join it (default: no bus port)\n"
        "  --tty DEV=PATH      maps a serial device of the controller (\"/tyCo/0\") to a host\n"
        "                      tty path, for example --tty /tyCo/0=/dev/ttyUSB0; the path must\n"
        "                      exist and be readable and writable: a tty, a pipe or a file (a\n"
        "                      directory, a block device or a socket is refused)\n"
        "  --turbine           closes the loop with a model of the turbine: its shaft speed follows\n"
        "                      the steam torque from the actuator current against the load and\n"
        "                      drives both speed sensors (default: off, no speed)\n"
        "  --turbine-set LIST  turbine settings NAME=VALUE[,NAME=VALUE...], implies --turbine:\n"
        "                      inertia (starting time, s; 10), rated-rpm (3600), valve-gain\n"
        "                      (rated torque per mA; 0.078125), closed-ma (actuator current at\n"
        "                      which the valve closes, 0 .. 210 mA, the actuator's range: a\n"
        "                      tripped unit drives no current, and its valve must be closed\n"
        "                      then; 4), friction (torque at rated speed; 0.02), actuator\n"
        "                      (current loop 6 or 7; 6), teeth1, teeth2 (60), gear1, gear2 (1),\n"
        "                      load (rated torque; 0), speed (rpm at start; 0)\n"
        "  --plant-input FILE  takes commands to the plant while running from the lines appended to\n"
        "                      FILE (an existing regular file) after the start, several joined by\n"
        "                      commas: load=PU (load torque, rated torque = 1) and speed=RPM (puts\n"
        "                      the shaft at that speed, up to twice rated) for the turbine model of\n"
        "                      --turbine; contactN=0|1 opens or closes the contact on discrete\n"
        "                      input N (0 .. 31); a pipe or a directory put in its place later is\n"
        "                      refused until a regular file is put there again\n"
        "  --normal-priority   stay an ordinary process; otherwise, with the real clock, the\n"
        "                      controller asks for real-time scheduling (SCHED_FIFO, priority %d)\n"
        "                      and locked memory where the host allows it (root, CAP_SYS_NICE,\n"
        "                      CAP_IPC_LOCK) and says on the console which it got\n"
        "  --help              this text\n\n"
        "State and event messages of the application are printed as the platform receives them\n"
        "(an event without a text, as the one that says the I/O is initialised, is not shown).\n"
        "On exit the controller reports its clock: with the simulated clock the simulated seconds\n"
        "per wall second; with the real clock how late the 5 ms ticks came against their\n"
        "deadlines (p50, p99, max) and how many ticks were missed.\n"
        "Exit status: 0 after a stop by signal, 1 when the application or one of its ports\n"
        "(already in use, no permission) cannot be started, 2 for a bad option. A port held\n"
        "by another program at the start stops the start; one that cannot be opened later (when\n"
        "a reset restarts the application) is named once and asks for the stop as a signal does:\n"
        "the controller runs on until its stop permissive allows it, then stops by itself (exit\n"
        "status 1).\n",
        prog, kRealTimePriority);
}

// A plain decimal number: digits with at most one point among them (20,
// 0.5, .5); no sign, exponent, blank, hexadecimal form, infinity or NaN.
bool plainDecimal(const std::string& text, double& v) {
    if (text.find_first_not_of("0123456789.") != std::string::npos) return false;
    if (text.find_first_of("0123456789") == std::string::npos || std::count(text.begin(), text.end(), '.') > 1)
        return false;
    v = std::strtod(text.c_str(), nullptr);
    return true;
}

// What stands at a --tty path when it can carry no serial line: a
// directory, a block device (a disk: never written as a line) or a socket
// (no file to open). Null for a tty, a pipe, another character device or a
// regular file, which the serial device opens and reads as a line.
const char* noSerialLine(const std::string& path) {
    struct stat st{};
    if (::stat(path.c_str(), &st) != 0) return nullptr;  // access() has judged it
    if (S_ISDIR(st.st_mode)) return "a directory";
    if (S_ISBLK(st.st_mode)) return "a block device";
    if (S_ISSOCK(st.st_mode)) return "a socket";
    return nullptr;
}

bool parseInt(const char* s, int& out) {
    char* end = nullptr;
    long v = std::strtol(s, &end, 10);
    if (!s[0] || *end || v < 0 || v > 60000) return false;
    out = static_cast<int>(v);
    return true;
}

// Makes `root` usable as the application root: an existing directory must
// be readable, writable and searchable; a missing one is created (and said
// so). Returns an empty text, or why the path cannot serve.
std::string prepareRoot(const std::string& root) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::file_status st = fs::status(root, ec);
    if (st.type() == fs::file_type::not_found) {
        if (!fs::create_directories(root, ec) && ec) return ec.message();
        std::printf("controller: created the application root directory '%s'\n", root.c_str());
        return {};
    }
    if (ec) return ec.message();
    if (st.type() != fs::file_type::directory) return "not a directory";
    if (::access(root.c_str(), R_OK | W_OK | X_OK) != 0) return std::strerror(errno);
    return {};
}

// Holds the application root for this process: an advisory lock on the
// file kRootLockName in it, which names the holder's process id. Returns an
// empty text, or why the root cannot be had: `held` tells a root that
// another controller holds (the holder named) from one in which no lock can
// be made at all. The lock lasts as long as the process.
std::string lockRoot(const std::string& root, bool& held) {
    held = false;
    const std::string path = root + "/" + kRootLockName;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) return "cannot open '" + path + "': " + std::strerror(errno);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        char holder[32] = {};
        const ssize_t n = ::pread(fd, holder, sizeof holder - 1, 0);
        ::close(fd);
        if (err != EWOULDBLOCK) return "cannot lock '" + path + "': " + std::strerror(err);
        held = true;
        std::string pid = n > 0 ? std::string(holder, static_cast<size_t>(n)) : "";
        while (!pid.empty() && (pid.back() == '\n' || pid.back() == ' ')) pid.pop_back();
        return "it is in use by another controller (process " + (pid.empty() ? "unknown" : pid) + ", holding '" +
               path + "')";
    }
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, pid.data(), pid.size(), 0) != static_cast<ssize_t>(pid.size())) {
        // The lock holds without the number; a second controller then names no process.
    }
    return {};  // fd stays open: the lock is the process's until it ends
}

// What --turbine-set gives: the turbine model's settings, its load and the
// shaft speed at start.
struct TurbineStart {
    turbine::Settings settings;
    double load = 0.0;
    double speedRpm = 0.0;
};

// A whole number of at least 1 for a tooth count.
bool wholeNumber(double v, int& out) {
    if (v != std::floor(v) || v < 1.0 || v > 1e9) return false;
    out = static_cast<int>(v);
    return true;
}

// One setting of --turbine-set: false when the value is outside `range`.
using TurbineSetter = bool (*)(TurbineStart&, double);
struct TurbineSetting {
    const char* name;
    TurbineSetter set;
    const char* range;
};
const TurbineSetting kTurbineSettings[] = {
    {"inertia", [](TurbineStart& t, double v) { return t.settings.inertiaTimeS = v, v >= turbine::kMinInertiaS; },
     "0.005 s (one step of the model) or more"},
    {"rated-rpm", [](TurbineStart& t, double v) { return t.settings.ratedRpm = v, v > 0.0; }, "above 0"},
    {"valve-gain", [](TurbineStart& t, double v) { return t.settings.valveGain = v, v >= 0.0; }, "0 or more"},
    {"closed-ma",
     [](TurbineStart& t, double v) { return t.settings.closedMa = v, v >= 0.0 && v <= turbine::kMaxClosedMa; },
     "0 .. 210 mA, the actuator's current range (a tripped unit drives no current: a valve still open then "
     "would turn its shaft)"},
    {"friction", [](TurbineStart& t, double v) { return t.settings.frictionPu = v, v >= 0.0; }, "0 or more"},
    {"actuator",
     [](TurbineStart& t, double v) {
         if (v != 6.0 && v != 7.0) return false;
         t.settings.actuatorLoop = static_cast<int>(v);
         return true;
     },
     "6 or 7"},
    {"teeth1", [](TurbineStart& t, double v) { return wholeNumber(v, t.settings.teeth[0]); }, "a whole number from 1"},
    {"teeth2", [](TurbineStart& t, double v) { return wholeNumber(v, t.settings.teeth[1]); }, "a whole number from 1"},
    {"gear1", [](TurbineStart& t, double v) { return t.settings.gear[0] = v, v > 0.0; }, "above 0"},
    {"gear2", [](TurbineStart& t, double v) { return t.settings.gear[1] = v, v > 0.0; }, "above 0"},
    {"load", [](TurbineStart& t, double v) { return t.load = v, v >= 0.0; }, "0 or more"},
    {"speed", [](TurbineStart& t, double v) { return t.speedRpm = v, v >= 0.0; }, "0 or more"},
};

// True when `text` is a decimal number and nothing else: a sign, digits, a
// point, an exponent. A hexadecimal number, an infinity, blanks or any
// other character are no plant value.
bool decimalNumber(const std::string& text, double& v) {
    if (text.empty() || text.find_first_not_of("0123456789+-.eE") != std::string::npos) return false;
    char* end = nullptr;
    v = std::strtod(text.c_str(), &end);
    return *end == '\0' && std::isfinite(v);
}

// Walks the items of NAME=VALUE[,NAME=VALUE...] in order, each value a
// finite decimal number (not below 0 unless `negativeAllowed`), and hands each to
// `take(item, name, value)`, which returns an empty text or what is wrong
// with it. Returns an empty text, or the first problem (later items unread).
template <class Take>
std::string eachSetting(const std::string& list, bool negativeAllowed, const char* noNumber, Take take) {
    size_t from = 0;
    while (from <= list.size()) {
        size_t comma = list.find(',', from);
        if (comma == std::string::npos) comma = list.size();
        const std::string item = list.substr(from, comma - from);
        from = comma + 1;
        const size_t eq = item.find('=');
        if (eq == std::string::npos) return "'" + item + "' is not NAME=VALUE";
        const std::string name = item.substr(0, eq);
        const std::string text = item.substr(eq + 1);
        double v = 0.0;
        if (!decimalNumber(text, v) || (!negativeAllowed && v < 0.0)) return "'" + item + "' " + noNumber;
        std::string problem = take(item, name, v);
        if (!problem.empty()) return problem;
    }
    return {};
}

// Empty when the model's shaft can turn at `rpm`, else what is wrong.
std::string speedBeyondRange(double rpm, double ratedRpm) {
    const double max = turbine::kMaxSpeedPu * ratedRpm;
    if (rpm <= max) return {};
    char text[128];
    std::snprintf(text, sizeof text, "'speed=%g' is beyond the turbine model's range (0 .. %g rpm)", rpm, max);
    return text;
}

// Empty when both wheels at the model's top speed turn no faster than the
// speed input reads; otherwise what is wrong, naming `item` (the last
// given of the settings that make that wheel's top tooth frequency) and
// the range the others leave it.
std::string toothRateBeyondInput(const turbine::Settings& s, const std::vector<std::string>& given) {
    for (int ch = 0; ch < 2; ++ch) {
        if (turbine::topToothHz(s, ch) <= speedsensor::kHighestReadHz) continue;
        const std::string teeth = "teeth" + std::to_string(ch + 1), gear = "gear" + std::to_string(ch + 1);
        std::string item;
        for (const std::string& g : given)
            if (g.rfind(teeth + "=", 0) == 0 || g.rfind(gear + "=", 0) == 0 || g.rfind("rated-rpm=", 0) == 0) item = g;
        // What the other two settings leave the named one: rpm * gear * teeth at most.
        const double product = speedsensor::kHighestReadHz * 60.0 / turbine::kMaxSpeedPu;
        const double rpm = s.ratedRpm, g = s.gear[ch], n = s.teeth[ch];
        char range[160];
        if (item.rfind(teeth, 0) == 0)
            std::snprintf(range, sizeof range, "%s is 1 .. %.0f with rated-rpm %g and %s %g", teeth.c_str(),
                          std::floor(product / (rpm * g)), rpm, gear.c_str(), g);
        else if (item.rfind(gear, 0) == 0)
            std::snprintf(range, sizeof range, "%s is above 0 up to %g with rated-rpm %g and %s %g", gear.c_str(),
                          product / (rpm * n), rpm, teeth.c_str(), n);
        else
            std::snprintf(range, sizeof range, "rated-rpm is above 0 up to %g with %s %g and %s %g",
                          product / (g * n), teeth.c_str(), n, gear.c_str(), g);
        char why[120];
        std::snprintf(why, sizeof why,
                      " (the speed input reads tooth frequencies up to %g Hz, the model turns up to %g times rated "
                      "speed)",
                      speedsensor::kHighestReadHz, turbine::kMaxSpeedPu);
        return "'" + item + "' is out of range: " + range + why;
    }
    return {};
}

// The settings of NAME=VALUE[,NAME=VALUE...] into `t`, checked by the model.
// Returns an empty text, or what is wrong.
std::string parseTurbineSettings(const std::string& list, TurbineStart& t) {
    std::vector<std::string> given;
    std::string problem =
        eachSetting(list, true, "has no number", [&](const std::string& item, const std::string& name, double v) {
            const TurbineSetting* setting = nullptr;
            for (const TurbineSetting& ts : kTurbineSettings)
                if (name == ts.name) setting = &ts;
            if (setting == nullptr) return "unknown setting '" + name + "'";
            if (!setting->set(t, v)) return "'" + item + "' is out of range: " + name + " is " + setting->range;
            given.push_back(item);
            return std::string();
        });
    if (problem.empty()) problem = toothRateBeyondInput(t.settings, given);
    if (!problem.empty()) return problem;
    if (!turbine::configure(t.settings)) return "the turbine model refuses these settings";
    return speedBeyondRange(t.speedRpm, t.settings.ratedRpm);
}

// One line of --plant-input, NAME=VALUE[,NAME=VALUE...] with the names
// load, speed and contactN, applied when every item is sound. Returns an
// empty text, or what is wrong (nothing applied then).
std::string applyPlantInput(const std::string& line) {
    double load = -1.0, speed = -1.0;  // -1: not given
    std::vector<std::pair<int, bool>> contacts;
    const std::string problem = eachSetting(
        line, false, "has no number of 0 or more", [&](const std::string& item, const std::string& name, double v) {
            int input = -1;
            if (name == "load") {
                load = v;
            } else if (name == "speed") {
                speed = v;
            } else if (name.rfind("contact", 0) == 0 && parseInt(name.c_str() + 7, input) && input < 32 &&
                       (v == 0.0 || v == 1.0)) {
                contacts.emplace_back(input, v == 1.0);
            } else {
                return "'" + item + "' is not load=PU, speed=RPM or contactN=0|1 (N 0 .. 31)";
            }
            return std::string();
        });
    if (!problem.empty()) return problem;
    if (speed >= 0.0) {
        std::string beyond = speedBeyondRange(speed, turbine::settings().ratedRpm);
        if (!beyond.empty()) return beyond;
    }
    if (load >= 0.0) turbine::setLoad(load);
    if (speed >= 0.0) turbine::setSpeedRpm(speed);
    for (const auto& [n, closed] : contacts) board::setDiscreteInput(n, closed);
    return {};
}

// Follows a file while the controller runs: each whole line appended to it
// after the start is a plant command, applied and echoed on the console
// (what the file held before is old and never taken). A file written
// anew (cut short, or replaced by another file under the name) is followed
// from its start again: a shell's '>' as well as '>>' reaches the plant. A
// pipe, a directory or a device put under the name is refused, as at the
// start, until a regular file takes its place.
class PlantInput {
public:
    explicit PlantInput(std::string path) : path_(std::move(path)) {
        if (path_.empty()) return;
        open(true);
        thread_ = std::thread([this] { follow(); });
    }
    ~PlantInput() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }

private:
    // Bytes before the read position that are compared to see a file
    // written anew in place.
    static constexpr size_t kSeenTail = 64;
    // The longest line taken: far more than every contact, the load and the
    // speed in one line.
    static constexpr size_t kMaxLine = 1024;
    // How much of an overlong line the console shows.
    static constexpr size_t kShownOfOverlong = 40;
    std::string path_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    int fd_ = -1;
    struct stat opened_{};  // the file followed, as it was when last looked at
    off_t pos_ = 0;
    std::string seen_;      // the last bytes before pos_
    std::string pending_;   // a line not yet ended
    bool overlong_ = false; // the line not yet ended is too long: dropped up to its end
    ino_t refusedIno_ = 0;  // what was last refused under the name (0: nothing)
    dev_t refusedDev_ = 0;

    // Opens the file, to be read from its start or, with atEnd, from what
    // is appended to it from now on. False when no regular file could be
    // opened under the name (nothing is read then).
    bool open(bool atEnd = false) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd_ >= 0 && (::fstat(fd_, &opened_) != 0 || refused(opened_))) {
            ::close(fd_);
            fd_ = -1;
        }
        pos_ = 0;
        seen_.clear();
        pending_.clear();
        overlong_ = false;
        if (fd_ < 0) return false;
        if (!atEnd) return true;
        pos_ = opened_.st_size;
        seen_.resize(std::min<size_t>(kSeenTail, static_cast<size_t>(pos_)));
        if (::pread(fd_, seen_.data(), seen_.size(), pos_ - static_cast<off_t>(seen_.size())) !=
            static_cast<ssize_t>(seen_.size()))
            seen_.clear();
        return true;
    }

    // True when `st`, what stands under the name, is no regular file (a
    // pipe, a directory, a device): it is never read, as at the start, and
    // the console says so once for each such thing put under the name. The
    // file followed so far is let go: the next regular file under the name
    // is read from its start.
    bool refused(const struct stat& st) {
        if (S_ISREG(st.st_mode)) {
            refusedIno_ = 0;
            return false;
        }
        if (st.st_ino != refusedIno_ || st.st_dev != refusedDev_)
            std::printf("controller: plant input file '%s' is no longer a regular file (a pipe, a directory or a "
                        "device): not read; its lines are taken again once a regular file is put under the name\n",
                        path_.c_str());
        refusedIno_ = st.st_ino;
        refusedDev_ = st.st_dev;
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
        return true;
    }

    // True when the file under the name is no longer the one read so far:
    // another file, one shorter than what was read, or one whose bytes
    // before the read position changed.
    bool writtenAnew() {
        struct stat now{};
        if (::stat(path_.c_str(), &now) != 0) return false;  // gone: wait for it
        if (refused(now)) return false;
        if (fd_ < 0 || now.st_ino != opened_.st_ino || now.st_dev != opened_.st_dev) return true;
        if (now.st_size < pos_) return true;
        if (now.st_mtim.tv_sec == opened_.st_mtim.tv_sec && now.st_mtim.tv_nsec == opened_.st_mtim.tv_nsec)
            return false;
        opened_ = now;
        std::string tail(seen_.size(), '\0');
        const ssize_t n = ::pread(fd_, tail.data(), tail.size(), pos_ - static_cast<off_t>(seen_.size()));
        return n != static_cast<ssize_t>(tail.size()) || tail != seen_;
    }

    // Bytes read from the file: each line they end is taken. Only these
    // bytes are searched for a line's end; a line longer than kMaxLine is
    // said once and dropped up to its end.
    void take(const char* buf, size_t n) {
        pos_ += static_cast<off_t>(n);
        seen_.append(buf, n);
        if (seen_.size() > kSeenTail) seen_.erase(0, seen_.size() - kSeenTail);
        for (size_t from = 0; from < n;) {
            const char* nl = static_cast<const char*>(std::memchr(buf + from, '\n', n - from));
            const size_t end = nl != nullptr ? static_cast<size_t>(nl - buf) : n;
            if (!overlong_) {
                // pending_ never holds more than kMaxLine + 1 bytes.
                pending_.append(buf + from, std::min(end - from, kMaxLine + 1 - pending_.size()));
                if (pending_.size() > kMaxLine) {
                    overlong_ = true;
                    std::printf("controller: plant input line '%s...' ignored: longer than %zu bytes (dropped up to "
                                "its end)\n",
                                shown(pending_.substr(0, kShownOfOverlong)).c_str(), kMaxLine);
                    pending_.clear();
                }
            }
            if (nl == nullptr) return;
            from = end + 1;
            if (!overlong_) apply(pending_);
            pending_.clear();
            overlong_ = false;
        }
    }

    // One whole line: applied and echoed, or ignored with the reason.
    static void apply(std::string line) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) return;
        const std::string problem = applyPlantInput(line);
        if (problem.empty())
            std::printf("controller: plant input '%s' taken\n", shown(line).c_str());
        else
            std::printf("controller: plant input '%s' ignored: %s\n", shown(line).c_str(), shown(problem).c_str());
    }

    // `text` fit for the operator's terminal: a control character (ESC,
    // BEL, ...) as \xHH.
    static std::string shown(const std::string& text) {
        std::string out;
        for (const char c : text) {
            const auto u = static_cast<unsigned char>(c);
            if (u >= 0x20 && u != 0x7F) {
                out += c;
                continue;
            }
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned>(u));
            out += hex;
        }
        return out;
    }

    void follow() {
        while (!stop_) {
            // Looked at before each read: bytes of a file written anew are
            // never taken as the continuation of the old one.
            if (writtenAnew()) {
                if (open()) {
                    std::printf("controller: plant input file '%s' written anew; reading it from its start\n",
                                path_.c_str());
                    continue;
                }
            } else if (fd_ >= 0) {
                char buf[8192];
                const ssize_t n = ::pread(fd_, buf, sizeof buf, pos_);
                if (n > 0) {
                    take(buf, static_cast<size_t>(n));
                    continue;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (fd_ >= 0) ::close(fd_);
    }
};

// The storage of an application cell found by its name, or null.
const void* cellNamed(const char* name) {
    char type = 0;
    CellRef ref = 0;
    const char* rate = nullptr;
    return get_dbug_address(name, &type, 0, &ref, &rate) == 1 ? cell_ptr(ref) : nullptr;
}

// A boolean or a real cell's value (false or 0 when there is no cell).
bool cellOn(const void* c) {
    uint32_t word = 0;
    if (c != nullptr) std::memcpy(&word, c, sizeof word);
    return word != 0;
}
float cellReal(const void* c) {
    float v = 0.0f;
    if (c != nullptr) std::memcpy(&v, c, sizeof v);
    return v;
}

// Tells the console how a run goes: when the speed control takes over,
// and when the unit trips after it was reset (the trip at power-up, with
// the trip contact open, is not told). Looked at on every tick. A new life
// of the application (a start, or the restart of a reset) starts with
// nothing seen: the cells it clears are no reset of the unit.
class RunProgress {
public:
    void tick() {
        if (ApplicationRunning != 1) {
            controlWas_ = shutdownWas_ = reset_ = false;
            return;
        }
        const bool control = cellOn(control_), shutdown = cellOn(shutdown_);
        if (control && !controlWas_) say("the speed control has taken over");
        if (shutdown && !shutdownWas_ && reset_)
            say("the unit has tripped (the service tool's 'list shutdowns' names the trip)");
        reset_ = reset_ || (shutdownWas_ && !shutdown);
        controlWas_ = control;
        shutdownWas_ = shutdown;
    }

private:
    void say(const char* what) const {
        std::printf("controller: %.1f s after the controller started: %s; turbine speed %.0f rpm\n",
                    static_cast<double>(hk::nowNs()) / 1e9, what, static_cast<double>(cellReal(speed_)));
    }
    const void* control_ = cellNamed("SPDC.A08_STEP.SFC_STEP");
    const void* shutdown_ = cellNamed("SHUTDOWNS.ANY_SD.B_NAME");
    const void* speed_ = cellNamed("MPU.TURB_SPD.A_NAME");
    bool controlWas_ = false, shutdownWas_ = false, reset_ = false;
};

// The controller's ports as its servers open them (service TCP 666, Modbus
// TCP 502 and UDP 5001, 5002, 5005), offset included: each one that another
// program holds (or that this user may not open), as
// "cannot open TCP port N: reason".
std::vector<std::string> busyPorts(int portOffset, uint32_t listenIp) {
    const struct {
        int type;
        int port;
    } ports[] = {{SOCK_STREAM, 666}, {SOCK_STREAM, 502}, {SOCK_DGRAM, 5001}, {SOCK_DGRAM, 5002}, {SOCK_DGRAM, 5005}};
    std::vector<std::string> busy;
    for (const auto& p : ports) {
        const bool tcp = p.type == SOCK_STREAM;
        const int port = p.port + portOffset;
        const int h = ::socket(AF_INET, p.type | SOCK_CLOEXEC, 0);
        int one = 1;
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<uint16_t>(port));
        a.sin_addr.s_addr = htonl(tcp ? listenIp : INADDR_ANY);
        // As the servers do: a TCP port in TIME_WAIT is free to listen on.
        const bool free = h >= 0 && (!tcp || ::setsockopt(h, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one) == 0) &&
                          ::bind(h, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 && (!tcp || ::listen(h, 1) == 0);
        const int err = errno;
        if (h >= 0) ::close(h);
        if (!free)
            busy.push_back(std::string("cannot open ") + (tcp ? "TCP" : "UDP") + " port " + std::to_string(port) + ": " +
                           std::strerror(err));
    }
    return busy;
}

// The console line that names the address and the ports the controller
// opens on it.
std::string portsLine(int portOffset, uint32_t listenIp) {
    in_addr a{};
    a.s_addr = htonl(listenIp);
    char ip[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &a, ip, sizeof ip);
    auto port = [&](int p) { return std::to_string(p + portOffset); };
    return std::string("TCP ports on ") + ip + (listenIp == INADDR_LOOPBACK ? " (this host only; see --listen)" : "") +
           ": service " + port(666) + ", Modbus " + port(502) + "; UDP ports on every address: Modbus " + port(5001) +
           " and " + port(5002) + ", simulator link " + port(5005);
}

// CAP_IPC_LOCK in the effective set, read from /proc (no libcap needed).
bool hasIpcLock() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("CapEff:", 0) != 0) continue;
        const unsigned long long caps = std::strtoull(line.c_str() + 7, nullptr, 16);
        return (caps >> 14) & 1u;
    }
    return false;
}

// Locks what is mapped now, filled in at once, and every later mapping page
// by page as it is first touched. Locking later mappings whole would fill
// them in at the allocation: the data log's block of megabytes, or a task's
// stack, would then hold the CPU for milliseconds in one go (tens of them
// when the host must first reclaim memory).
bool lockMemory() {
    if (::mlockall(MCL_CURRENT) != 0) return false;
    if (::mlockall(MCL_CURRENT | MCL_FUTURE | MCL_ONFAULT) == 0) return true;
    return ::mlockall(MCL_CURRENT | MCL_FUTURE) == 0;  // a kernel without lock-on-fault
}

// Real-time scheduling for this thread and every thread started after it
// (they inherit it), and memory locked where allowed: locking under a
// finite locked-memory limit would make later allocations fail, so it is
// asked for only with CAP_IPC_LOCK or an unlimited limit. Returns the
// console line that says what the controller got.
std::string takeRealTime(hk::ClockMode mode, bool normalPriority) {
    if (normalPriority) return "normal priority (--normal-priority), memory not locked";
    if (mode == hk::ClockMode::Simulated) return "normal priority (simulated clock), memory not locked";
    std::string line;
    sched_param sp{};
    sp.sched_priority = kRealTimePriority;
    if (::sched_setscheduler(0, SCHED_FIFO, &sp) == 0)
        line = "real-time scheduling SCHED_FIFO priority " + std::to_string(kRealTimePriority);
    else
        line = std::string("normal priority (real-time scheduling refused: ") + std::strerror(errno) + ")";
    rlimit lim{};
    const bool unlimited = ::getrlimit(RLIMIT_MEMLOCK, &lim) == 0 && lim.rlim_cur == RLIM_INFINITY;
    if (!unlimited && !hasIpcLock())
        line += ", memory not locked (no CAP_IPC_LOCK and a locked-memory limit of " +
                std::to_string(lim.rlim_cur / 1024) + " kB)";
    else if (lockMemory())
        line += ", memory locked";
    else
        line += std::string(", memory not locked (") + std::strerror(errno) + ")";
    return line;
}

const char* signalName(int sig) {
    switch (sig) {
        case SIGINT: return "SIGINT";
        case SIGHUP: return "SIGHUP";
        default: return "SIGTERM";
    }
}

// The controller's ports that this life of the application could not open
// (in use by another program, no permission), each named once: the first
// asks the main thread for the stop (SIGUSR1), as a stop signal does.
std::mutex g_lostPortsMutex;
std::vector<std::string> g_lostPorts;

void onBindFailure(const char* protocol, uint16_t hostPort, int err) {
    const std::string port = std::string(protocol) + " port " + std::to_string(hostPort);
    bool first = false;
    {
        const std::lock_guard<std::mutex> lock(g_lostPortsMutex);
        if (std::find(g_lostPorts.begin(), g_lostPorts.end(), port) != g_lostPorts.end()) return;  // said
        g_lostPorts.push_back(port);
        first = g_lostPorts.size() == 1;
    }
    std::fprintf(stderr, "controller: cannot open %s: %s; the controller does not serve it\n", port.c_str(),
                 std::strerror(err));
    if (first) ::kill(::getpid(), SIGUSR1);
}

// A new life of the application opens its ports anew.
void forgetLostPorts() {
    const std::lock_guard<std::mutex> lock(g_lostPortsMutex);
    g_lostPorts.clear();
}

// Tunables changed since the last save are lost at the stop: say how many.
void sayUnsaved() {
    const int n = ee_unsaved_changes();
    if (ee_file_dirty != 0)
        std::printf("controller: the last save of the tunables file failed (see the messages above): the file "
                    "does not hold the values in force\n");
    if (n > 0)
        std::printf("controller: %d tunable%s changed since the last save %s not saved: the tunables file keeps "
                    "the value%s saved before (the service tool's save request saves them)\n",
                    n, n == 1 ? "" : "s", n == 1 ? "is" : "are", n == 1 ? "" : "s");
    else
        std::printf("controller: no tunable changed since the last save\n");
    char names[512];
    const int own = ee_own_changes(names, sizeof names);
    if (own > 0)
        std::printf("controller: the application itself changed %d tunable%s since the last save, not saved: %s (the "
                    "service tool's save request saves %s)\n",
                    own, own == 1 ? "" : "s", names, own == 1 ? "it" : "them");
}

// The digits after the point that give `v` (0 or more) three significant
// digits, none from 100 on.
int decimalsFor(double v) {
    int decimals = 0;
    for (double limit = 100.0; v < limit && decimals < 6; limit /= 10.0) ++decimals;
    return decimals;
}

// On exit: in simulated time how fast it ran; in real time how late the
// 5 ms ticks came against their absolute deadlines and how many were missed.
void reportClock(hk::ClockMode mode, std::chrono::steady_clock::time_point wallStart) {
    if (mode == hk::ClockMode::Simulated) {
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
        const double sim = static_cast<double>(hk::nowNs()) / 1e9;
        const double rate = wall > 0.0 ? sim / wall : 0.0;
        // Three significant digits for a slow pace (0.2, 19.9), whole
        // seconds from 100 on.
        std::printf("controller: simulated clock: %.1f s simulated in %.3f s wall time, %.*f simulated seconds per "
                    "wall second\n",
                    sim, wall, decimalsFor(rate), rate);
        return;
    }
    const hk::TickLateness t = hk::tickLateness();
    std::printf("controller: real-time clock: %llu ticks, lateness against the 5 ms deadlines p50 %.0f us, p99 %.0f "
                "us, max %.0f us; %llu ticks missed\n",
                static_cast<unsigned long long>(t.ticks), static_cast<double>(t.p50Ns) / 1e3,
                static_cast<double>(t.p99Ns) / 1e3, static_cast<double>(t.maxNs) / 1e3,
                static_cast<unsigned long long>(t.missed));
}

// The platform restarts the application when it asks for it (application
// event 4, "Resetting Control", after a reset of the stopped control over
// the service port): the main thread is told by this signal.
int restartSignal() { return SIGRTMIN; }

void onPlatformMessage(const hostplatform::Message& m) {
    if (m.code == 4 && m.text == "Resetting Control") ::kill(::getpid(), restartSignal());
}

// Stops the application and starts it again, as the platform does on a
// reset: true when it runs again.
bool restartApplication() {
    std::printf("controller: the application asked for a reset: restarting it\n");
    uint32_t stopped = 0, started = 0;
    hk::runTask([&] { stopped = tRGEnd(); });
    if (stopped != 0) {
        std::printf("controller: the application refused the stop of its reset; still running\n");
        return true;
    }
    // The restart loads the tunables file: what was not saved is lost.
    sayUnsaved();
    forgetLostPorts();
    hk::runTask([&] { started = tRGStart(); });
    if (started != 0)
        std::fprintf(stderr, "controller: the application failed to start again (tRGStart returned 0x%08X)\n",
                     started);
    return started == 0;
}

// The two conditions the application's stop permissive joins, as they
// stand: the unit shut down, and the shaft at rest (the turbine speed not
// above the lower of the two low-speed setpoints, or that check overridden).
struct StopHold {
    bool unitRuns = false;
    bool shaftTurns = false;
    float rpm = 0.0f;
    float lowSpeedRpm = 0.0f;
};

StopHold stopHold() {
    StopHold h;
    h.unitRuns = !cellOn(cellNamed("CALMODE.UNIT_OFF.OR"));
    h.shaftTurns = !cellOn(cellNamed("CALMODE.LO_CHECK_TEST_OVRD.OR"));
    h.rpm = cellReal(cellNamed("MPU.TURB_SPD.A_NAME"));
    h.lowSpeedRpm = cellReal(cellNamed("CALMODE.MIN_SPEED.A_MIN"));
    return h;
}

// Stops the application, as the platform does, only while its stop
// permissive is true: 0 when it has stopped. Otherwise it is not asked (it
// would refuse), and `hold` says what holds the stop back. `first` is
// printed when the stop goes ahead, before the stop sequence's own lines.
uint32_t stopApplication(StopHold& hold, const std::string& first = {}) {
    uint32_t stopped = 0x80000000u;
    hk::runTask([&] {
        // Looked at in the same task as the stop, with no scheduling point
        // between: the permissive cannot change in between.
        if (_SYS_INFO_STOP_PER != 0 || ApplicationRunning != 1) {
            if (!first.empty()) std::printf("%s", first.c_str());
            stopped = tRGEnd();
        }
        if (stopped != 0) hold = stopHold();
    });
    return stopped;
}

// What holds a stop back, and what a user can do about it. With the stop
// that a lost port asked for waiting (`byItself`), the controller stops on
// its own once the permissive allows it.
void sayStopRefused(const StopHold& h, bool byItself) {
    char shaft[128];
    std::snprintf(shaft, sizeof shaft, "the shaft still turns (%.0f rpm, above the low-speed setpoint of %.0f rpm)",
                  static_cast<double>(h.rpm), static_cast<double>(h.lowSpeedRpm));
    std::string why, todo;
    if (h.unitRuns && h.shaftTurns) {
        why = std::string("the unit is not shut down and ") + shaft;
        todo = "Trip or stop the unit and let the shaft come to rest";
    } else if (h.unitRuns) {
        why = "the unit is not shut down (a unit that was reset stays so with the shaft at rest)";
        todo = "Trip or stop the unit";
    } else if (h.shaftTurns) {
        why = std::string("the unit is shut down, but ") + shaft;
        todo = "Let the shaft come to rest";
    } else {
        why = "its stop permissive is not yet true";
        todo = "Wait a moment";
    }
    std::fprintf(stderr, "controller: the application refused to stop: %s; still running. %s, %s (see the README, "
                         "\"Stopping\")\n",
                 why.c_str(), todo.c_str(),
                 byItself ? "then it stops by itself, as the lost port asked" : "then stop again");
}

// Where the turbine model's shaft stands, as said at a stop.
std::string shaftLine() {
    char line[64];
    std::snprintf(line, sizeof line, "controller: turbine shaft at %.1f rpm\n", turbine::speedRpm());
    return line;
}

// Passes of the slowest rate group run so far.
uint32_t slowestPasses() {
    uint32_t n = 0;
    hk::runTask([&] { n = TaskCounter_R160; });
    return n;
}

// Waits until the slowest rate group has run `passes` passes after `since`
// (slowestPasses() then), or the application no longer runs (its groups
// stopped after a slip).
void waitForPasses(uint32_t since, uint32_t passes) {
    for (;;) {
        bool done = false;
        hk::runTask([&] { done = ApplicationRunning != 1 || TaskCounter_R160 - since >= passes; });
        if (done) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::string root = "var";
    int portOffset = 0;
    int canPort = 0;
    std::vector<std::pair<std::string, std::string>> ttys;
    hk::ClockMode mode = hk::ClockMode::RealTime;
    double simRate = 0.0;  // simulated seconds per wall second; 0: as fast as possible
    uint32_t listenIp = INADDR_LOOPBACK;
    bool withTurbine = false;
    TurbineStart turbineStart;
    std::string plantInput;

    bool normalPriority = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](const char* name) -> const char* {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "controller: %s needs a value (see --help)\n", name);
                std::exit(2);
            }
            return argv[++i];
        };
        if (a == "--help" || a == "-h") {
            usage(argv[0]);
            return 0;
        } else if (a == "--normal-priority") {
            normalPriority = true;
        } else if (a == "--root") {
            root = value("--root");
        } else if (a == "--port-offset") {
            if (!parseInt(value("--port-offset"), portOffset)) {
                std::fprintf(stderr, "controller: --port-offset takes a number from 0 to 60000\n");
                return 2;
            }
        } else if (a == "--can-port") {
            if (!parseInt(value("--can-port"), canPort) || canPort == 0) {
                std::fprintf(stderr, "controller: --can-port takes a TCP port number from 1 to 60000\n");
                return 2;
            }
        } else if (a == "--clock") {
            std::string m = value("--clock");
            if (m == "real") {
                mode = hk::ClockMode::RealTime;
            } else if (m == "sim") {
                mode = hk::ClockMode::Simulated;
            } else if (m.rfind("sim:", 0) == 0 && plainDecimal(m.substr(4), simRate) && simRate >= 0.001 &&
                       simRate <= 1e6) {
                mode = hk::ClockMode::Simulated;
            } else {
                std::fprintf(stderr, "controller: --clock takes 'real', 'sim' or 'sim:RATE' (RATE a plain decimal "
                                     "number from 0.001 to 1000000 simulated seconds per wall second)\n");
                return 2;
            }
        } else if (a == "--listen") {
            const char* ip = value("--listen");
            in_addr addr{};
            if (::inet_pton(AF_INET, ip, &addr) != 1) {
                std::fprintf(stderr, "controller: --listen takes an IPv4 address, for example 127.0.0.1 or 0.0.0.0\n");
                return 2;
            }
            listenIp = ntohl(addr.s_addr);
        } else if (a == "--turbine") {
            withTurbine = true;
        } else if (a == "--turbine-set") {
            std::string problem = parseTurbineSettings(value("--turbine-set"), turbineStart);
            if (!problem.empty()) {
                std::fprintf(stderr, "controller: --turbine-set: %s (see --help)\n", problem.c_str());
                return 2;
            }
            withTurbine = true;
        } else if (a == "--plant-input") {
            plantInput = value("--plant-input");
            // Looked at before it is opened: opening a pipe waits for a writer.
            struct stat st{};
            if (::stat(plantInput.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
                std::fprintf(stderr, "controller: --plant-input: '%s' is not a regular file (a pipe, a directory or "
                                     "a device): the controller follows what is appended to a file\n",
                             plantInput.c_str());
                return 2;
            }
            if (!std::ifstream(plantInput)) {
                std::fprintf(stderr, "controller: --plant-input: cannot read '%s'\n", plantInput.c_str());
                return 2;
            }
        } else if (a == "--tty") {
            std::string m = value("--tty");
            auto eq = m.find('=');
            if (eq == std::string::npos || eq == 0 || eq + 1 == m.size()) {
                std::fprintf(stderr, "controller: --tty takes DEV=PATH, for example /tyCo/0=/dev/ttyUSB0\n");
                return 2;
            }
            const std::string device = m.substr(0, eq), path = m.substr(eq + 1);
            if (device != kSerialDevice) {
                std::fprintf(stderr, "controller: --tty %s: the board has no serial device '%s'; its serial devices: "
                                     "%s\n",
                             m.c_str(), device.c_str(), kSerialDevice);
                return 2;
            }
            if (::access(path.c_str(), R_OK | W_OK) != 0) {
                std::fprintf(stderr, "controller: --tty %s: cannot use '%s': %s\n", m.c_str(), path.c_str(),
                             std::strerror(errno));
                return 2;
            }
            if (const char* kind = noSerialLine(path)) {
                std::fprintf(stderr, "controller: --tty %s: cannot use '%s': it is %s, not a tty, a pipe or a file\n",
                             m.c_str(), path.c_str(), kind);
                return 2;
            }
            ttys.emplace_back(device, path);
        } else {
            std::fprintf(stderr, "controller: unknown option '%s' (see --help)\n", a.c_str());
            return 2;
        }
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::string rootProblem = prepareRoot(root);
    if (!rootProblem.empty()) {
        std::fprintf(stderr, "controller: --root '%s' cannot serve as the application root: %s\n", root.c_str(),
                     rootProblem.c_str());
        return 2;
    }
    // One controller per application root: two would overwrite each
    // other's saved settings.
    bool held = false;
    const std::string rootHeld = lockRoot(root, held);
    if (held) {
        std::fprintf(stderr, "controller: the application root '%s' cannot be used: %s; not starting\n",
                     root.c_str(), rootHeld.c_str());
        return 1;
    }
    if (!rootHeld.empty()) {
        std::fprintf(stderr, "controller: --root '%s' cannot serve as the application root: %s\n", root.c_str(),
                     rootHeld.c_str());
        return 2;
    }

    // Signals are taken by this thread alone, never by the emulated CPU or
    // another host thread: SIGINT, SIGTERM and SIGHUP stop the controller,
    // SIGUSR1 says that a port could not be bound, SIGUSR2 that the start
    // has ended, restartSignal() that the application asked for a reset.
    sigset_t signals;
    sigemptyset(&signals);
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGUSR1, SIGUSR2, restartSignal()}) sigaddset(&signals, sig);
    // A shell may start us with SIGINT ignored (a background job); an
    // ignored signal is discarded, so restore the default before blocking.
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) std::signal(sig, SIG_DFL);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    // The ports first: a controller that cannot open them all does not start.
    const std::vector<std::string> busy = busyPorts(portOffset, listenIp);
    if (!busy.empty()) {
        for (const std::string& b : busy) std::fprintf(stderr, "controller: %s\n", b.c_str());
        std::fprintf(stderr, "controller: a port of the controller is not free (another controller with "
                             "the same --port-offset?); not starting\n");
        return 1;
    }

    hostfs::setApplicationRoot(root);
    hostio::setPortOffset(portOffset);
    hostio::setListenAddress(listenIp);
    for (const auto& [device, path] : ttys) hostio::setTtyPath(device, path);
    hostio::setUnmappedTtysOpen(true);
    hostio::setBindFailureObserver(onBindFailure);
    if (canPort != 0 && hostcan::startBusServer(canPort) < 0) {
        std::fprintf(stderr, "controller: cannot serve the CAN bus on port %d\n", canPort);
        return 1;
    }
    std::printf("controller: %s\n", takeRealTime(mode, normalPriority).c_str());
    std::printf("controller: %s\n", portsLine(portOffset, listenIp).c_str());
    if (hostio::ttyPath(kSerialDevice).empty())
        std::printf("controller: serial port %s not connected (no --tty %s=PATH): it takes its settings, receives "
                    "nothing, and what is sent on it goes nowhere\n",
                    kSerialDevice, kSerialDevice);
    if (mode == hk::ClockMode::Simulated && simRate > 0.0)
        std::printf("controller: simulated clock paced at %g simulated seconds per wall second\n", simRate);
    static RunProgress progress;
    hk::setTickObserver([] {
        board::poll();  // the board's watchdog timer
        progress.tick();
    });
    if (withTurbine) {
        const turbine::Settings& t = turbineStart.settings;
        turbine::setLoad(turbineStart.load);
        turbine::setSpeedRpm(turbineStart.speedRpm);
        turbine::enable();
        std::printf("controller: turbine model on: starting time %g s, rated %g rpm, valve gain %g per mA above "
                    "%g mA on current loop %d, friction %g, load %g, shaft at %g rpm\n",
                    t.inertiaTimeS, t.ratedRpm, t.valveGain, t.closedMa, t.actuatorLoop, t.frictionPu,
                    turbineStart.load, turbineStart.speedRpm);
    }
    hk::start(mode);
    const auto wallStart = std::chrono::steady_clock::now();
    hostplatform::start(true);
    hostplatform::onMessage(onPlatformMessage);
    const PlantInput plantCommands(plantInput);
    if (mode == hk::ClockMode::Simulated) hk::setFreeRunning(simRate);

    // The start runs in a thread of its own, so that this one keeps taking
    // signals: a stop asked for during the start follows as soon as it ends.
    uint32_t started = 0;
    std::thread starter([&] {
        hk::runTask([&] { started = tRGStart(); });
        ::kill(::getpid(), SIGUSR2);
    });
    int pending = 0;        // a stop signal taken during the start
    bool portLost = false;  // a port could not be opened during the start
    for (bool starting = true; starting;) {
        int sig = 0;
        if (pending == 0) {
            sigwait(&signals, &sig);
        } else {
            // Stopping: wait for the end of the start, but not for ever.
            timespec limit{kStartEndWaitS, 0};
            sig = sigtimedwait(&signals, nullptr, &limit);
            if (sig < 0) {
                std::fprintf(stderr, "controller: the start did not end within %d s; ending without the stop\n",
                             kStartEndWaitS);
                std::_Exit(1);
            }
        }
        if (sig == SIGUSR2) {
            starting = false;
        } else if (sig == restartSignal()) {
            // Not before the start has ended; then carried out at once.
            continue;
        } else if (sig == SIGUSR1) {
            portLost = true;
        } else if (pending == 0) {
            pending = sig;
            std::printf("controller: %s received during the start; stopping once it has ended\n", signalName(sig));
        }
    }
    starter.join();

    // The process ends only through the stop sequence: asked for by a stop
    // signal, by a port that could not be opened, or by an application that
    // failed to start. A running application is stopped only once its stop
    // permissive allows it; until then the controller runs on, and the next
    // stop signal is judged as any other. The stop permissive is computed by
    // the rate groups: a stop asked for in their first passes after the start
    // waits until they have computed it.
    int status = 0;  // the exit status: 1 once a port or the application's start failed
    bool failed = started != 0;
    if (failed)
        std::fprintf(stderr, "controller: the application failed to start (tRGStart returned 0x%08X)\n", started);
    // A stop signal taken during the start is judged first; a port lost
    // during the start asks for the stop as one lost later.
    int sig = pending != 0 ? pending : portLost ? SIGUSR1 : 0;
    uint32_t passesAtStart = slowestPasses();
    // The stop a lost port asked for, held back by the stop permissive: it
    // is not forgotten as a refused signal is, but runs by itself once the
    // permissive allows it, looked at every kPortStopLookMs.
    bool portStopHeld = false;
    for (;; sig = 0) {
        if (!failed && sig == 0) {
            if (!portStopHeld) {
                sigwait(&signals, &sig);
            } else {
                timespec look{0, kPortStopLookMs * 1'000'000L};
                sig = sigtimedwait(&signals, nullptr, &look);
                if (sig < 0) {
                    waitForPasses(passesAtStart, kPermissivePasses);
                    StopHold hold;
                    const std::string said =
                        "controller: the unit is shut down and the shaft at rest: the stop that the lost port asked "
                        "for runs now\n" +
                        (withTurbine ? shaftLine() : std::string());
                    if (stopApplication(hold, said) == 0) break;
                    continue;
                }
            }
        }
        if (sig == SIGUSR2) continue;
        if (sig == restartSignal()) {
            if (restartApplication()) {
                passesAtStart = slowestPasses();
                continue;
            }
            failed = true;
        }
        if (failed) {
            status = 1;  // said: an application that failed to start stops without its permissive
            failed = false;
        } else if (sig == SIGUSR1) {
            status = 1;
            portStopHeld = true;
            std::fprintf(stderr, "controller: a port of the controller could not be opened (named above); "
                                 "stopping\n");
        } else {
            std::printf("controller: %s received, stopping\n", signalName(sig));
        }
        if (withTurbine) std::printf("%s", shaftLine().c_str());
        waitForPasses(passesAtStart, kPermissivePasses);
        StopHold hold;
        if (stopApplication(hold) == 0) break;
        sayStopRefused(hold, portStopHeld);
    }
    sayUnsaved();
    reportClock(mode, wallStart);
    hk::shutdown();
    return status;
}
