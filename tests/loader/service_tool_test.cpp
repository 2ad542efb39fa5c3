// The service tool of scripts/service.py, run as a user runs it, when the
// controller goes away during a call: a session closed once every command
// has had its answer is no failure; one closed before an answer is, and the
// tool names the command left without one.
#include <signal.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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
            // A real value written and read back; a command the tool does not
            // know ends the call there, with its own status.
            Controller unknown("/usr/bin/python3",
                               {tc_test::sourceDir() + "/scripts/service.py", "--port", std::to_string(666 + offset),
                                "write", "TUTORIAL.A_TUNABLE.IN", "100.5", "read", "TUTORIAL.A_TUNABLE.IN", "bogus",
                                "status"});
            EXPECT_EQ(unknown.exitStatus(60000), 2) << unknown.output();
            EXPECT_EQ(unknown.output(),
                      "TUTORIAL.A_TUNABLE.IN written\nTUTORIAL.A_TUNABLE.IN = 100.5\nunknown command bogus (see --help)\n");
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

}  // namespace
