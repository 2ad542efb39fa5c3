// The service tool of scripts/service.py, run as a user runs it, when the
// controller goes away during a call: a session closed once every command
// has had its answer is no failure; one closed before an answer is, and the
// tool names the command left without one. A call that cannot be formed is
// refused whole, in one line, before anything of it is sent. A peer that is
// no controller, Ctrl-C and a closed output end the tool in one line or none.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <mutex>
#include <regex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/acceptance/service_tool.h"
#include "tests/loader/controller_proc.h"
#include "tests/support/paths.h"
#include "tests/support/ports.h"

namespace {

using tc_test::Controller;
using tc_test::TempDir;

TEST(LoaderServiceTool, AControllerGoneAfterEveryAnswerIsNoFailure) {
    struct Case {
        const char* name;
        const char* after;  // the tool's line after which the controller goes away
        bool stopped;       // stopped as with Ctrl-C; else frozen and killed, so that no answer comes
        int status;         // the tool's
        const char* printed;
    };
    // Paced slowly enough that the tool is still waiting when the
    // controller goes: the pass it holds its session for after the write,
    // the 200 ms a save takes.
    const Case cases[] = {
        {"stopped while the tool holds its session after a save", "saved\n", true, 0,
         "DATALOG.PRINT.IN_2 written\nsaved\n"},
        {"gone before the save's answer", "written\n", false, 1,
         "DATALOG.PRINT.IN_2 written\nservice.py: no answer to \"save\": "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempDir tmp;
        const int offset = tc_test::pickPortOffset();
        Controller ctl({"--clock", "sim:0.25", "--port-offset", std::to_string(offset), "--root", tmp.path + "/var"});
        ASSERT_TRUE(ctl.waitFor("Application is running")) << ctl.output();
        ASSERT_TRUE(acc_test::ServiceTool(666 + offset).ready());  // the service port is open
        if (c.stopped) {
            // A refused log-in names what the status means for a log-in.
            std::filesystem::create_directories(tmp.path + "/var");
            std::ofstream(tmp.path + "/var/Accounts.txt") << "tech secret 3\n";
            for (const auto& [user, said] : {std::pair{"tech", "status 254 (wrong password)"},
                                             std::pair{"nobody", "status 2 (no such account)"}}) {
                Controller login("/usr/bin/python3", {tc_test::sourceDir() + "/scripts/service.py", "--port",
                                                      std::to_string(666 + offset), "--user", user, "--password",
                                                      "wrong", "status"});
                EXPECT_EQ(login.exitStatus(60000), 1) << login.output();
                EXPECT_EQ(login.output(), std::string("log-in refused: ") + said + "\n");
            }
            // A command the tool does not know refuses the whole call, with
            // its own status: the write before it is not sent.
            Controller unknown("/usr/bin/python3",
                               {tc_test::sourceDir() + "/scripts/service.py", "--port", std::to_string(666 + offset),
                                "write", "TUTORIAL.A_TUNABLE.IN", "100.5", "read", "TUTORIAL.A_TUNABLE.IN", "bogus",
                                "status"});
            EXPECT_EQ(unknown.exitStatus(60000), 2) << unknown.output();
            EXPECT_EQ(unknown.output(), "service.py: unknown command bogus (see --help)\n");
        }
        Controller tool("/usr/bin/python3", {"-u", tc_test::sourceDir() + "/scripts/service.py", "--port",
                                             std::to_string(666 + offset), "write", "DATALOG.PRINT.IN_2", "1",
                                             "save"});
        ASSERT_TRUE(tool.waitFor(c.after, 60000)) << "the tool's line '" << c.after << "': " << tool.output();
        ::kill(tool.pid(), SIGSTOP);
        if (c.stopped) {
            ctl.signal(SIGTERM);
            EXPECT_EQ(ctl.exitStatus(), 0) << ctl.output();
        } else {
            ::kill(ctl.pid(), SIGSTOP);
            ctl.signal(SIGKILL);
            EXPECT_EQ(ctl.exitStatus(), 128 + SIGKILL) << ctl.output();
        }
        ::kill(tool.pid(), SIGCONT);
        EXPECT_EQ(tool.exitStatus(), c.status) << tool.output();
        EXPECT_EQ(tool.output().rfind(c.printed, 0), 0u) << tool.output();
        if (c.status != 0)
            EXPECT_NE(tool.output().find("; it and the commands after it may not have been carried out\n"),
                      std::string::npos)
                << tool.output();
        else
            EXPECT_EQ(tool.output(), c.printed);
    }
}

// `python3 scripts/service.py ARGS` with its standard error apart: the exit
// status, what it printed and what it said on the standard error. With
// closedOutput its standard output is a pipe whose reader has gone.
struct Call {
    int status;
    std::string out, err;
};
Call serviceTool(const std::string& args, const TempDir& tmp, bool closedOutput = false) {
    const std::string errFile = tmp.path + "/stderr";
    const std::string python = closedOutput ? "/usr/bin/python3 -c 'import os, sys; r, w = os.pipe(); os.close(r); "
                                              "os.dup2(w, 1); os.execv(sys.executable, [sys.executable] + "
                                              "sys.argv[1:])' "
                                            : "/usr/bin/python3 ";
    Controller tool("/bin/sh", {"-c", "exec " + python + tc_test::sourceDir() + "/scripts/service.py " + args +
                                          " 2>" + errFile});
    Call call{tool.exitStatus(60000), tool.output(), ""};
    std::ifstream in(errFile);
    call.err.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return call;
}

// The seconds and microseconds of each time the tool printed for
// `name` ("NAME = 2026-12-11 09:24:14.174358 UTC"), in order; empty when a
// line of its output is not such a line.
std::vector<std::pair<std::time_t, long>> timesPrinted(const std::string& out, const std::string& name) {
    static const std::regex line(R"((\S+) = (\d{4})-(\d\d)-(\d\d) (\d\d):(\d\d):(\d\d)\.(\d{6}) UTC\n)");
    std::vector<std::pair<std::time_t, long>> times;
    auto at = out.cbegin();
    for (std::smatch m; std::regex_search(at, out.cend(), m, line, std::regex_constants::match_continuous);
         at = m.suffix().first) {
        if (m[1] != name) return {};
        std::tm t{};
        t.tm_year = std::stoi(m[2]) - 1900;
        t.tm_mon = std::stoi(m[3]) - 1;
        t.tm_mday = std::stoi(m[4]);
        t.tm_hour = std::stoi(m[5]);
        t.tm_min = std::stoi(m[6]);
        t.tm_sec = std::stoi(m[7]);
        times.emplace_back(::timegm(&t), std::stol(m[8]));
    }
    if (at != out.cend()) return {};
    return times;
}

// Each bad call after a good write: one line on the standard error names what
// is wrong, the exit status tells its kind, nothing is printed and the write
// before the bad command was not sent (the value reads as it was).
TEST(LoaderServiceTool, ACallThatCannotBeFormedIsRefusedWhole) {
    const TempDir tmp;
    const int offset = tc_test::pickPortOffset();
    const std::time_t started = std::time(nullptr);
    Controller ctl({"--clock", "sim:5", "--port-offset", std::to_string(offset), "--root", tmp.path + "/var"});
    ASSERT_TRUE(ctl.waitFor("Application is running")) << ctl.output();
    ASSERT_TRUE(acc_test::ServiceTool(666 + offset).ready());
    const std::string port = "--port " + std::to_string(666 + offset) + " ";
    {
        // The control time is the controller's clock in UTC: the host's
        // time of day when it started, then running with its simulated time
        // (at most 5 s to the wall's second). Two reads in one call, a few
        // passes apart, are in order and well within a second.
        const Call call = serviceTool(port + "read _SYS_VARS._CONTROL_TIME read _SYS_VARS._CONTROL_TIME", tmp);
        const std::time_t now = std::time(nullptr);
        EXPECT_EQ(call.status, 0) << call.err;
        const auto times = timesPrinted(call.out, "_SYS_VARS._CONTROL_TIME");
        ASSERT_EQ(times.size(), 2u) << call.out;
        EXPECT_GE(times[0].first, started) << call.out;
        // (The host's clock read in whole seconds: `now` may be up to one
        // second behind.)
        EXPECT_LE(times[1].first, now + 1 + 5 * (now + 1 - started)) << call.out;
        const long long first = times[0].first * 1'000'000LL + times[0].second;
        const long long second = times[1].first * 1'000'000LL + times[1].second;
        EXPECT_GT(second, first) << call.out;
        EXPECT_LT(second - first, 1'000'000) << call.out;
    }
    const std::string good = "write TUTORIAL.A_TUNABLE.IN 100.5 ";
    const int idle = 666 + tc_test::pickPortOffset();  // no controller there
    const std::string whole = "CNFG_SPEED.SPD1_TEETH.IN takes a whole number from -2147483648 to 2147483647 in plain "
                              "decimal digits, not ";
    const std::string finite = "TUTORIAL.A_TUNABLE.IN takes a plain decimal number (-2, 0.5, 1.5e-3): 0 or a "
                               "magnitude from 1.4013e-45 to 3.4028e38 (single precision), not ";
    const std::string holds = "SYS_ID.SITE_NAME.IN holds at most 38 bytes of text (UTF-8), not ";
    const auto noPort = [](const std::string& p) {
        return "argument --port: " + p + " is no TCP port (1 to 65535) in plain decimal digits (see --help)";
    };
    // A text of n bytes written, and what the tool says when one request
    // does not carry it (the request: code, handle, type, text, end byte).
    const auto text = [&](size_t n) { return good + "write SYS_ID.SITE_NAME.IN " + std::string(n, 'x'); };
    const auto uncarried = [](size_t n) {
        return "the write of SYS_ID.SITE_NAME.IN does not fit in one request: " + std::to_string(n + 7) +
               " bytes, the controller takes at most 1024";
    };
    const std::string x38(38, 'x'), e19 = [] {
        std::string e;
        for (int i = 0; i < 19; ++i) e += "\u00e9";  // two bytes each in UTF-8
        return e;
    }();
    struct Case {
        std::string args;
        int status;
        std::string err, out;  // err without "service.py: " and its line end
        const char* after;     // TUTORIAL.A_TUNABLE.IN then
    };
    const Case cases[] = {
        {port + good + "bogus", 2, "unknown command bogus (see --help)", "", "100"},
        {port + good + "write TUTORIAL.A_TUNABLE.IN", 2, "write TUTORIAL.A_TUNABLE.IN needs the value (see --help)", "",
         "100"},
        {port + good + "read", 2, "read needs a value's name (see --help)", "", "100"},
        {port + good + "list", 2, "list needs shutdowns or alarms (see --help)", "", "100"},
        {port, 2, "no command given (see --help)", "", "100"},
        {port + "--user tech " + good, 2, "--user and --password go together (see --help)", "", "100"},
        {port + "--password secret " + good, 2, "--user and --password go together (see --help)", "", "100"},
        {port + "--user " + std::string(1100, 'u') + " --password secret " + good, 2,
         "the log-in of --user and --password does not fit in one request: 1109 bytes, the controller takes at "
         "most 1024",
         "", "100"},
        {port + good + "read NO.SUCH.NAME", 3, "no value named NO.SUCH.NAME", "", "100"},
        {port + good + "write NO.SUCH.NAME 1", 3, "no value named NO.SUCH.NAME", "", "100"},
        {port + good + "list foo", 3, "no list named foo (shutdowns or alarms)", "", "100"},
        {port + good + "write CNFG_SPEED.SPD1_TEETH.IN abc", 4, whole + "abc", "", "100"},
        {port + good + "write CNFG_SPEED.SPD1_TEETH.IN 2147483648", 4, whole + "2147483648", "", "100"},
        {port + good + "write CNFG_SPEED.SPD1_TEETH.IN -2147483649", 4, whole + "-2147483649", "", "100"},
        {port + good + "write CNFG_SPEED.SPD1_TEETH.IN 1_0", 4, whole + "1_0", "", "100"},
        {port + good + "write CNFG_SPEED.SPD1_TEETH.IN \u0663", 4, whole + "\u0663", "", "100"},  // Arabic-Indic 3
        {port + good + "write CNFG_SPEED.SPD1_TEETH.IN \uff11\uff10", 4, whole + "\uff11\uff10", "", "100"},  // fullwidth
        {port + good + "write CNFG_SPEED.SPD1_TEETH.IN ' 3'", 4, whole + " 3", "", "100"},
        {port + good + "write CNFG_SPEED.SPD1_TEETH.IN 0x10", 4, whole + "0x10", "", "100"},
        {port + good + "write TUTORIAL.A_TUNABLE.IN abc", 4, finite + "abc", "", "100"},
        {port + good + "write TUTORIAL.A_TUNABLE.IN 1e39", 4, finite + "1e39", "", "100"},
        {port + good + "write TUTORIAL.A_TUNABLE.IN -inf", 4, finite + "-inf", "", "100"},
        {port + good + "write TUTORIAL.A_TUNABLE.IN nan", 4, finite + "nan", "", "100"},
        {port + good + "write TUTORIAL.A_TUNABLE.IN 1_0.5", 4, finite + "1_0.5", "", "100"},
        {port + good + "write TUTORIAL.A_TUNABLE.IN \u0661.5", 4, finite + "\u0661.5", "", "100"},
        {port + good + "write TUTORIAL.A_TUNABLE.IN 1e-46", 4, finite + "1e-46", "", "100"},
        {port + good + "write TUTORIAL.A_TUNABLE.IN -1.4e-45", 4, finite + "-1.4e-45", "", "100"},
        {port + good + "write TUTORIAL.B_TUNABLE.IN yes", 4,
         "TUTORIAL.B_TUNABLE.IN takes 0 or 1 (false or true, off or on), not yes", "", "100"},
        {port + good + "write ALARMS.ANY.EV_TM_1 1", 4,
         "ALARMS.ANY.EV_TM_1 is a time: the tool writes booleans, numbers and texts", "", "100"},
        {port + text(39), 4, holds + "39", "", "100"},
        {port + good + "write SYS_ID.SITE_NAME.IN " + std::string(37, 'x') + "\u00e9", 4, holds + "39", "", "100"},
        {port + text(1017), 4, holds + "1017", "", "100"},
        {port + text(1018), 4, uncarried(1018), "", "100"},
        {port + text(70000), 4, uncarried(70000), "", "100"},
        {port + good + "write SYS_ID.SITE_NAME.IN \"$(printf '\\377')\"", 4, "SYS_ID.SITE_NAME.IN takes a text in UTF-8",
         "", "100"},
        {"--port 70000 " + good, 2, noPort("70000"), "", "100"},
        {"--port 65536 " + good, 2, noPort("65536"), "", "100"},
        {"--port 0 " + good, 2, noPort("0"), "", "100"},
        {"--port 1_0666 " + good, 2, noPort("1_0666"), "", "100"},
        {"--port \u0661\u0660\u0666\u0666\u0666 " + good, 2, noPort("\u0661\u0660\u0666\u0666\u0666"), "", "100"},
        {"--port " + std::to_string(idle) + " " + good, 1,
         "no controller answers on 127.0.0.1:" + std::to_string(idle) +
             " (connection refused; is it running, with this --port?)",
         "", "100"},
        // Values the types hold are sent, also those that begin with '-' or
        // '+' and the smallest float magnitude, and the controller judges
        // them, as it judges writes that only it can refuse (a read-only
        // value, one above the session's level).
        {port + "write TUTORIAL.A_TUNABLE.IN -1e1 write TUTORIAL.A_TUNABLE.IN 3.4e38 write TUTORIAL.A_TUNABLE.IN "
                "1.4013e-45 write TUTORIAL.A_TUNABLE.IN 1.401298464324817e-45 write TUTORIAL.A_TUNABLE.IN -0 "
                "write MPU.TURB_SPD.A_NAME 1 write SPEED_SIM.INTERNAL_SIM.IN_1 1",
         1, "",
         "TUTORIAL.A_TUNABLE.IN: status 3 (change too large while running)\n"
         "TUTORIAL.A_TUNABLE.IN: status 3 (change too large while running)\n"
         "TUTORIAL.A_TUNABLE.IN: status 3 (change too large while running)\n"
         "TUTORIAL.A_TUNABLE.IN: status 3 (change too large while running)\n"
         "TUTORIAL.A_TUNABLE.IN: status 3 (change too large while running)\n"
         "MPU.TURB_SPD.A_NAME: status 6 (not writable)\nSPEED_SIM.INTERNAL_SIM.IN_1: status 254 (security)\n",
         "100"},
        {port + "write CNFG_SPEED.SPD1_TEETH.IN +2147483647 write CNFG_SPEED.SPD1_TEETH.IN -2147483648", 1, "",
         "CNFG_SPEED.SPD1_TEETH.IN: status 2 (out of range)\nCNFG_SPEED.SPD1_TEETH.IN: status 2 (out of range)\n",
         "100"},
        // Texts of as many bytes as the value holds are kept whole.
        {port + "write TUTORIAL.B_TUNABLE.IN TRUE write TUTORIAL.B_TUNABLE.IN off read TUTORIAL.B_TUNABLE.IN " +
             "write TUTORIAL.B_TUNABLE.IN on read TUTORIAL.B_TUNABLE.IN status write SYS_ID.SITE_NAME.IN " + x38 +
             " read SYS_ID.SITE_NAME.IN write SYS_ID.SITE_NAME.IN " + e19 + " read SYS_ID.SITE_NAME.IN " +
             "write SYS_ID.SITE_NAME.IN Plant-7 read SYS_ID.SITE_NAME.IN " + good,
         0, "",
         "TUTORIAL.B_TUNABLE.IN written\nTUTORIAL.B_TUNABLE.IN written\nTUTORIAL.B_TUNABLE.IN = 0\n"
         "TUTORIAL.B_TUNABLE.IN written\nTUTORIAL.B_TUNABLE.IN = 1\nrunning\n"
         "SYS_ID.SITE_NAME.IN written\nSYS_ID.SITE_NAME.IN = " + x38 + "\n"
         "SYS_ID.SITE_NAME.IN written\nSYS_ID.SITE_NAME.IN = " + e19 + "\n"
         "SYS_ID.SITE_NAME.IN written\nSYS_ID.SITE_NAME.IN = Plant-7\nTUTORIAL.A_TUNABLE.IN written\n",
         "100.5"},
    };
    // The value is read back after each call that reached the controller
    // and after the last of the refused ones: none of those may have sent
    // its write of 100.5.
    size_t lastRefused = 0;
    for (size_t i = 0; i < std::size(cases); ++i)
        if (cases[i].out.empty()) lastRefused = i;
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.args);
        const Call call = serviceTool(c.args, tmp);
        EXPECT_EQ(call.status, c.status);
        EXPECT_EQ(call.err, c.err.empty() ? "" : "service.py: " + c.err + "\n");
        EXPECT_EQ(call.out, c.out);
        if (!c.out.empty() || i == lastRefused) {
            const Call back = serviceTool(port + "read TUTORIAL.A_TUNABLE.IN", tmp);
            EXPECT_EQ(back.out, std::string("TUTORIAL.A_TUNABLE.IN = ") + c.after + "\n") << back.err;
        }
    }
    // A list named right is asked for: the power-up trip is in it.
    const Call list = serviceTool(port + "list shutdowns", tmp);
    EXPECT_EQ(list.status, 0) << list.err;
    EXPECT_NE(list.out.find(" TRIP_01 DI 03 External Trip Input 1\n"), std::string::npos) << list.out;
    // A reader that has gone before the tool prints: no message, and the
    // status of a write to a closed pipe (128 + SIGPIPE).
    const Call closed = serviceTool(port + "read TUTORIAL.A_TUNABLE.IN", tmp, true);
    EXPECT_EQ(closed.status, 141);
    EXPECT_EQ(closed.err, "");
    EXPECT_EQ(closed.out, "");
}

// A peer on 127.0.0.1 that speaks the service port's frames but is no
// controller: it answers the connect request with `connect` (a payload) and
// each data request with what `answer` gives for it (a whole frame; nothing
// when empty), on every session it accepts.
class FakePeer {
public:
    using Answer = std::function<std::string(const std::string& request)>;
    FakePeer(std::string connect, Answer answer) : connect_(std::move(connect)), answer_(std::move(answer)) {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(fd_, 4) != 0 ||
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len) != 0)
            return;
        port_ = ntohs(a.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~FakePeer() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        if (fd_ >= 0) ::close(fd_);
    }
    int port() const { return port_; }
    int requests() const { return requests_; }  // data requests received

    static std::string frame(uint8_t type, const std::string& payload) {
        return std::string{static_cast<char>(type), static_cast<char>(payload.size() >> 8),
                           static_cast<char>(payload.size() & 0xFF)} +
               payload;
    }

private:
    std::string connect_;
    Answer answer_;
    int fd_ = -1, port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> requests_{0};
    std::mutex answering_;  // one request answered at a time, as a controller does
    std::thread thread_;
    std::vector<std::thread> sessions_;

    // n bytes from fd, or false once the peer closes or the test ends.
    bool take(int fd, std::string& into, size_t n) {
        into.clear();
        while (into.size() < n) {
            pollfd p{fd, POLLIN, 0};
            if (stop_) return false;
            if (::poll(&p, 1, 50) != 1) continue;
            char buf[4096];
            const ssize_t got = ::read(fd, buf, std::min(sizeof buf, n - into.size()));
            if (got <= 0) return false;
            into.append(buf, static_cast<size_t>(got));
        }
        return true;
    }
    void serve() {
        while (!stop_) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 50) != 1) continue;
            const int c = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
            if (c >= 0) sessions_.emplace_back([this, c] { talk(c); });
        }
        for (std::thread& t : sessions_) t.join();
    }
    // One session, as long as the tool holds it (the tool holds two).
    void talk(int c) {
        std::string head, payload;
        while (take(c, head, 3) &&
               take(c, payload, static_cast<uint8_t>(head[1]) * 256u + static_cast<uint8_t>(head[2]))) {
            std::string reply;
            if (head[0] == 0) {
                reply = frame(0, connect_);
            } else {
                ++requests_;
                const std::lock_guard<std::mutex> one(answering_);
                reply = answer_(payload);
            }
            if (!reply.empty() && ::write(c, reply.data(), reply.size()) < 0) break;
        }
        ::close(c);
    }
};

// Against a peer that gives no value list the tool can read, each call ends
// in one line on the standard error and exit status 1, having printed
// nothing; Ctrl-C while it waits for an answer ends it in one line with 130;
// its help into a closed pipe ends it with no message and 141.
TEST(LoaderServiceTool, APeerWithoutAValueListCtrlCAndAClosedOutputEndTheToolInALineOrNone) {
    const std::string sizes("\x04\x00\x10\x00", 4);  // a controller's: 1024 and 4096
    const auto status = [](uint8_t s) { return FakePeer::frame(1, std::string(1, static_cast<char>(s))); };
    // The value list's handle, and then its size or its bytes as `list` says
    // (each answer as short as it may be: a status and a u32).
    const auto listed = [&](std::function<std::string(const std::string&)> list) {
        return [list](const std::string& request) {
            if (request[0] == 0x20) return FakePeer::frame(1, std::string("\0\xD0\x10\0\x01", 5));
            return list(request);
        };
    };
    const std::string five("\0\0\0\0\x05", 5);
    // "hello" from the offset asked, a byte at a time.
    const auto hello = [](const std::string& r) {
        return std::string(1, '\0') + "hello"[static_cast<uint8_t>(r[8]) % 5];
    };
    struct Case {
        const char* name;
        std::string connect;
        FakePeer::Answer answer;
        std::string err;  // without "service.py: " and its line end; a prefix where it ends in '('
    };
    const Case cases[] = {
        {"every request unknown", sizes, [&](const std::string&) { return status(255); },
         "the peer gives no value list (service interface definition): status 255 to the request for its handle"},
        {"no size", sizes, listed([&](const std::string&) { return status(2); }),
         "the peer gives no value list (service interface definition): status 2 to the request for its size"},
        {"bytes refused", sizes,
         listed([&](const std::string& r) { return FakePeer::frame(1, r.back() == 0 ? five : std::string(1, 1)); }),
         "the value list could not be read: status 1 and 0 bytes at byte 0 of 5"},
        {"no bytes", sizes,
         listed([&](const std::string& r) { return FakePeer::frame(1, r.back() == 0 ? five : std::string(1, 0)); }),
         "the value list could not be read: status 0 and 0 bytes at byte 0 of 5"},
        {"no value list in the bytes", sizes,
         listed([&](const std::string& r) { return FakePeer::frame(1, r.back() == 0 ? five : hello(r)); }),
         "the value list that the peer gives cannot be read ("},
        {"a channel error", sizes, [&](const std::string&) { return std::string("\xE1\0\0", 3); },
         "the peer answered a request with the frame type 0xE1 and 0 bytes of payload"},
        {"an empty answer", sizes, [&](const std::string&) { return FakePeer::frame(1, ""); },
         "the peer answered a request with the frame type 0x01 and 0 bytes of payload"},
    };
    const TempDir tmp;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FakePeer peer(c.connect, c.answer);
        ASSERT_NE(peer.port(), 0);
        const Call call = serviceTool("--port " + std::to_string(peer.port()) + " read SYS_ID.SITE_NAME.IN", tmp);
        EXPECT_EQ(call.status, 1);
        EXPECT_EQ(call.out, "");
        const std::string said = "service.py: " + c.err;
        if (c.err.back() == '(') {
            EXPECT_EQ(call.err.rfind(said, 0), 0u) << call.err;
            EXPECT_EQ(call.err.find('\n'), call.err.size() - 1) << call.err;
        } else {
            EXPECT_EQ(call.err, said + "\n");
        }
    }
    {
        // A connect answer without the two sizes.
        const FakePeer peer(std::string("\x04\x00", 2), [&](const std::string&) { return status(255); });
        const Call call = serviceTool("--port " + std::to_string(peer.port()) + " status", tmp);
        EXPECT_EQ(call.status, 1);
        EXPECT_EQ(call.err, "service.py: the peer on 127.0.0.1:" + std::to_string(peer.port()) +
                                " answers the connect request with 2 bytes, not a controller's 4\n");
    }
    {
        // Ctrl-C while the tool waits for the answer to its first request.
        const FakePeer peer(sizes, [](const std::string&) { return std::string(); });
        struct sigaction keep {}, dfl {};
        dfl.sa_handler = SIG_DFL;
        ::sigaction(SIGINT, &dfl, &keep);  // a tool started with Ctrl-C ignored would not see it
        Controller tool("/usr/bin/python3", {tc_test::sourceDir() + "/scripts/service.py", "--port",
                                             std::to_string(peer.port()), "status"});
        ::sigaction(SIGINT, &keep, nullptr);
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (peer.requests() == 0 && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_EQ(peer.requests(), 1) << tool.output();
        ::kill(tool.pid(), SIGINT);
        EXPECT_EQ(tool.exitStatus(5000), 130) << tool.output();
        EXPECT_EQ(tool.output(), "service.py: interrupted\n");
    }
    const Call help = serviceTool("--help", tmp, true);
    EXPECT_EQ(help.status, 141);
    EXPECT_EQ(help.err, "");
}

// The value list gzip-compressed, as a controller gives it.
std::string gzipped(const std::string& text) {
    z_stream z{};
    std::string out(::compressBound(static_cast<uLong>(text.size())) + 64, '\0');
    if (::deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK) return "";
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    z.avail_in = static_cast<uInt>(text.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    const bool done = ::deflate(&z, Z_FINISH) == Z_STREAM_END;
    out.resize(done ? z.total_out : 0);
    ::deflateEnd(&z);
    return out;
}

// A peer with a small value list, answering what the controller may answer
// but seldom does: the tool prints a time as its date and time in UTC with
// its microseconds, and names what each status means for its command.
TEST(LoaderServiceTool, TimesAndStatusesArePrintedAsTheyMean) {
    const auto item = [](const char* ns, const char* name, const char* type, uint32_t h) {
        return std::string("<Namespace Name=\"") + ns + "\"><DataItem Name=\"" + name + "\">" + type +
               "<CommunicationProperties><Tallwire Handle=\"" + std::to_string(h) +
               "\"/></CommunicationProperties></DataItem></Namespace>";
    };
    const std::string list = gzipped("<ServiceInterfaceDefinition>" + item("_SYS_VARS", "_CONTROL_TIME",
                                                                          "<VKTime Type=\"DateTime\"/>", 0xC9100000) +
                                     item("CALMODE.PULSER", "NOT", "<Boolean Size=\"8\"/>", 1) +
                                     item("TUTORIAL.A_TUNABLE", "IN", "<Float Precision=\"Single\"/>", 2) +
                                     "</ServiceInterfaceDefinition>");
    ASSERT_FALSE(list.empty());
    const auto u32 = [](uint32_t v) {
        return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                           static_cast<char>(v)};
    };
    bool flip = false;  // the pass flip's value, changed at every read
    int writes = 0;
    std::atomic<bool> cut{false};  // answers cut short from the second call on
    const FakePeer peer(std::string("\x04\x00\x10\x00", 4), [&](const std::string& r) {
        std::string answer;
        switch (static_cast<uint8_t>(r[0])) {
            case 0x20: answer = '\0' + u32(0xD0100001); break;
            case 0x2B: {
                const size_t from = static_cast<uint8_t>(r[7]) * 256u + static_cast<uint8_t>(r[8]);
                answer = r.back() == 0 ? '\0' + u32(static_cast<uint32_t>(list.size()))
                                       : '\0' + list.substr(std::min(from, list.size()), 4000);
                break;
            }
            case 0x23:
                if (r.substr(1) == u32(0xC9100000))
                    answer = '\0' + u32(1796981054) + (cut ? "" : u32(5));  // 2026-12-11 09:24:14 UTC and 5 us
                else
                    answer = std::string{'\0', static_cast<char>(flip = !flip)};
                break;
            case 0x25: answer = ++writes == 1 ? "\x05" : "\x04"; break;  // a type mismatch, then not allowed now
            case 0x26: answer = "\x04"; break;  // not saved
            case 0x24: answer = cut ? std::string("\0\0\x07\x6B", 4) : "\x02"; break;  // no item: the list is empty
            case 0x12: answer = cut ? std::string(1, '\0') : std::string("\0\x01", 2); break;  // stopped
        }
        return FakePeer::frame(1, answer);
    });
    const TempDir tmp;
    const Call call = serviceTool("--port " + std::to_string(peer.port()) +
                                      " read _SYS_VARS._CONTROL_TIME write TUTORIAL.A_TUNABLE.IN 1 write TUTORIAL.A_TUNABLE.IN 2 save "
                                      "status list shutdowns",
                                  tmp);
    EXPECT_EQ(call.status, 1) << call.err;
    EXPECT_EQ(call.err, "");
    EXPECT_EQ(call.out,
              "_SYS_VARS._CONTROL_TIME = 2026-12-11 09:24:14.000005 UTC\n"
              "TUTORIAL.A_TUNABLE.IN: status 5 (type mismatch)\n"
              "TUTORIAL.A_TUNABLE.IN: status 4 (not allowed now)\n"
              "save: status 4 (not saved: the controller's console says why)\n"
              "stopped\n"
              "SHUTDOWNS.ANY: empty\n");
    // Answers too short for what they must hold end the call in one line,
    // with what was printed before kept and nothing sent after.
    cut = true;
    struct Cut {
        const char* commands;
        int sent;  // requests after the value list's three
        std::string out, err;
    };
    const Cut cuts[] = {
        {"status read _SYS_VARS._CONTROL_TIME", 1, "",
         "the answer to \"status\" is cut short (1 byte); the commands after it were not sent"},
        {"read _SYS_VARS._CONTROL_TIME", 1, "", "the answer to \"read _SYS_VARS._CONTROL_TIME\" is cut short (5 bytes)"},
        {"save list shutdowns", 2, "save: status 4 (not saved: the controller's console says why)\n",
         "the answer to \"list shutdowns\" is cut short (4 bytes)"},
    };
    for (const Cut& c : cuts) {
        SCOPED_TRACE(c.commands);
        const int asked = peer.requests();
        const Call cutCall = serviceTool("--port " + std::to_string(peer.port()) + " " + c.commands, tmp);
        EXPECT_EQ(cutCall.status, 1);
        EXPECT_EQ(cutCall.out, c.out);
        EXPECT_EQ(cutCall.err, "service.py: " + c.err + "\n");
        EXPECT_EQ(peer.requests() - asked, 3 + c.sent);
    }
}

}  // namespace
