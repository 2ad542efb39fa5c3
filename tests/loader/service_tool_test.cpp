// The service tool of scripts/service.py, run as a user runs it, when the
// controller goes away during a call: a session closed once every command
// has had its answer is no failure; one closed before an answer is, and the
// tool names the command left without one. A call that cannot be formed is
// refused whole, in one line, before anything of it is sent.
#include <signal.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
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
// status, what it printed and what it said on the standard error.
struct Call {
    int status;
    std::string out, err;
};
Call serviceTool(const std::string& args, const TempDir& tmp) {
    const std::string errFile = tmp.path + "/stderr";
    Controller tool("/bin/sh", {"-c", "exec /usr/bin/python3 " + tc_test::sourceDir() + "/scripts/service.py " + args +
                                          " 2>" + errFile});
    Call call{tool.exitStatus(60000), tool.output(), ""};
    std::ifstream in(errFile);
    call.err.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return call;
}

// Each bad call after a good write: one line on the standard error names what
// is wrong, the exit status tells its kind, nothing is printed and the write
// before the bad command was not sent (the value reads as it was).
TEST(LoaderServiceTool, ACallThatCannotBeFormedIsRefusedWhole) {
    const TempDir tmp;
    const int offset = tc_test::pickPortOffset();
    Controller ctl({"--clock", "sim:5", "--port-offset", std::to_string(offset), "--root", tmp.path + "/var"});
    ASSERT_TRUE(ctl.waitFor("Application is running")) << ctl.output();
    ASSERT_TRUE(acc_test::ServiceTool(666 + offset).ready());
    const std::string port = "--port " + std::to_string(666 + offset) + " ";
    const std::string good = "write TUTORIAL.A_TUNABLE.IN 100.5 ";
    const int idle = 666 + tc_test::pickPortOffset();  // no controller there
    const std::string whole = "CNFG_SPEED.SPD1_TEETH.IN takes a whole number from -2147483648 to 2147483647, not ";
    const std::string finite = "TUTORIAL.A_TUNABLE.IN takes a finite number of magnitude up to 3.4e38 (single "
                               "precision), not ";
    const auto noPort = [](const char* p) {
        return std::string("argument --port: ") + p + " is no TCP port (1 to 65535) (see --help)";
    };
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
        {port + good + "read NO.SUCH.NAME", 3, "no value named NO.SUCH.NAME", "", "100"},
        {port + good + "write NO.SUCH.NAME 1", 3, "no value named NO.SUCH.NAME", "", "100"},
        {port + good + "list foo", 3, "no list named foo (shutdowns or alarms)", "", "100"},
        {port + good + "write CNFG_SPEED.SPD1_TEETH.IN abc", 4, whole + "abc", "", "100"},
        {port + good + "write CNFG_SPEED.SPD1_TEETH.IN 2147483648", 4, whole + "2147483648", "", "100"},
        {port + good + "write CNFG_SPEED.SPD1_TEETH.IN -2147483649", 4, whole + "-2147483649", "", "100"},
        {port + good + "write TUTORIAL.A_TUNABLE.IN abc", 4, finite + "abc", "", "100"},
        {port + good + "write TUTORIAL.A_TUNABLE.IN 1e39", 4, finite + "1e39", "", "100"},
        {port + good + "write TUTORIAL.A_TUNABLE.IN -inf", 4, finite + "-inf", "", "100"},
        {port + good + "write TUTORIAL.A_TUNABLE.IN nan", 4, finite + "nan", "", "100"},
        {port + good + "write TUTORIAL.B_TUNABLE.IN yes", 4,
         "TUTORIAL.B_TUNABLE.IN takes 0 or 1 (false or true), not yes", "", "100"},
        {port + good + "write ALARMS.ANY.EV_TM_1 1", 4,
         "ALARMS.ANY.EV_TM_1 is a time: the tool writes booleans, numbers and texts", "", "100"},
        {"--port 70000 " + good, 2, noPort("70000"), "", "100"},
        {"--port 65536 " + good, 2, noPort("65536"), "", "100"},
        {"--port 0 " + good, 2, noPort("0"), "", "100"},
        {"--port " + std::to_string(idle) + " " + good, 1,
         "no controller answers on 127.0.0.1:" + std::to_string(idle) +
             " (connection refused; is it running, with this --port?)",
         "", "100"},
        // Values the types hold are sent, also those that begin with '-',
        // and the controller judges them.
        {port + "write TUTORIAL.A_TUNABLE.IN -1e1 write TUTORIAL.A_TUNABLE.IN 3.4e38", 1, "",
         "TUTORIAL.A_TUNABLE.IN: status 3 (change too large while running)\n"
         "TUTORIAL.A_TUNABLE.IN: status 3 (change too large while running)\n",
         "100"},
        {port + "write CNFG_SPEED.SPD1_TEETH.IN 2147483647 write CNFG_SPEED.SPD1_TEETH.IN -2147483648", 1, "",
         "CNFG_SPEED.SPD1_TEETH.IN: status 2 (out of range)\nCNFG_SPEED.SPD1_TEETH.IN: status 2 (out of range)\n",
         "100"},
        {port + "write TUTORIAL.B_TUNABLE.IN TRUE write TUTORIAL.B_TUNABLE.IN off read TUTORIAL.B_TUNABLE.IN status " +
             "write SYS_ID.SITE_NAME.IN Plant-7 read SYS_ID.SITE_NAME.IN " + good,
         0, "",
         "TUTORIAL.B_TUNABLE.IN written\nTUTORIAL.B_TUNABLE.IN written\nTUTORIAL.B_TUNABLE.IN = 0\nrunning\n"
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
}

}  // namespace
