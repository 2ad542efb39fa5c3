// The README's first run, step by step, through the controller's outside
// only: the executable with the turbine model and a plant input file, the
// service tool of scripts/service.py run as a user runs it, and lines
// appended to the plant input file. The clock is simulated and paced, so
// that the tool's sessions keep to their time limit; everything else is as
// the README says.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "tests/acceptance/service_tool.h"
#include "tests/loader/controller_proc.h"
#include "tests/support/ports.h"

namespace {

using Clock = std::chrono::steady_clock;

class FirstRun {
public:
    FirstRun() : offset_(tc_test::pickPortOffset()), var_(tmp_.path + "/var") {
        // Step 1: the account and the plant input file.
        std::filesystem::create_directories(var_);
        std::ofstream(var_ + "/Accounts.txt") << "tech secret 3\n";
        std::ofstream{var_ + "/plant.txt"};
    }
    bool start() {
        ctl_ = std::make_unique<tc_test::Controller>(std::vector<std::string>{
            "--root", var_, "--port-offset", std::to_string(offset_), "--clock", "sim:10", "--turbine",
            "--plant-input", var_ + "/plant.txt"});
        if (!ctl_->waitFor("Application is running")) return false;
        // The service port opens a second after the start.
        const acc_test::ServiceTool probe(666 + offset_);
        return probe.ready();
    }
    // Ctrl-C as the README says: the exit status, or -1 while it runs on.
    int interrupt(int ms = 20000) {
        ctl_->signal(SIGINT);
        const int status = ctl_->exitStatus(ms);
        console_ += ctl_->output();
        if (status >= 0) ctl_.reset();
        return status;
    }
    // `$S <commands>`, ended after a minute: what the service tool printed
    // (its exit status in svcStatus).
    std::string svc(const std::string& commands) const {
        const char* src = std::getenv("TC_SOURCE_DIR");
        const std::string cmd = "timeout 60 /usr/bin/python3 " + std::string(src ? src : ".") +
                                "/scripts/service.py --port " + std::to_string(666 + offset_) +
                                " --user tech --password secret " + commands + " 2>&1";
        std::string out;
        if (FILE* p = ::popen(cmd.c_str(), "r")) {
            char b[4096];
            for (size_t n; (n = std::fread(b, 1, sizeof b, p)) > 0;) out.append(b, n);
            const int st = ::pclose(p);
            svcStatus = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
        }
        return out;
    }
    mutable int svcStatus = -1;
    // Ctrl-C once while the stop is held back: the console from the signal
    // to the end of the refusal.
    std::string refusedStop() {
        const size_t from = ctl_->output().size();
        ::kill(ctl_->pid(), SIGINT);
        if (!ctl_->waitFor("then stop again (see the README, \"Stopping\")\n", 20000, from)) return "";
        return ctl_->output().substr(from);
    }
    // `$S read NAME` until it prints `NAME = value`, for up to `seconds`.
    bool reads(const std::string& name, const std::string& value, int seconds) const {
        const auto end = Clock::now() + std::chrono::seconds(seconds);
        while (Clock::now() < end) {
            if (svc("read " + name).find(name + " = " + value + "\n") != std::string::npos) return true;
            ::usleep(200'000);
        }
        return false;
    }
    // The same until the value is at least `least`.
    bool readsAtLeast(const std::string& name, double least, int seconds) const {
        const auto end = Clock::now() + std::chrono::seconds(seconds);
        const std::string mark = name + " = ";
        while (Clock::now() < end) {
            const std::string out = svc("read " + name);
            if (out.rfind(mark, 0) == 0 && std::stod(out.substr(mark.size())) >= least) return true;
            ::usleep(200'000);
        }
        return false;
    }
    // `echo LINE >> var/plant.txt`, and the controller took it.
    bool plant(const std::string& line) {
        const size_t from = ctl_->output().size();
        std::ofstream(var_ + "/plant.txt", std::ios::app) << line << "\n";
        return ctl_->waitFor("plant input '" + line + "' taken", 10000, from);
    }
    std::string console() const { return console_ + (ctl_ ? ctl_->output() : ""); }
    // The running controller printed `text`, or does so within 10 s.
    bool said(const std::string& text) { return ctl_->waitFor(text, 10000); }
    const std::string& var() const { return var_; }

private:
    tc_test::TempDir tmp_;
    int offset_;
    std::string var_, console_;
    std::unique_ptr<tc_test::Controller> ctl_;
};

// A refusal of the stop says what holds it back, once for each signal, and
// the application is not asked (it would refuse again).
void expectRefusal(const std::string& console, const std::string& why) {
    EXPECT_NE(console.find("controller: the application refused to stop: " + why), std::string::npos) << console;
    EXPECT_EQ(console.find("refused to stop"), console.rfind("refused to stop")) << console;
    EXPECT_EQ(console.find("Can not stop"), std::string::npos) << console;
}

TEST(FirstRun, TheReadmeStepsStartTheTurbineAndStopIt) {
    FirstRun run;
    // No controller yet: one line, exit status 1, after asking again for
    // the two seconds a starting controller takes to open its port.
    const auto asked = std::chrono::steady_clock::now();
    EXPECT_EQ(run.svc("read MPU.TURB_SPD.A_NAME").find("service.py: no controller answers on 127.0.0.1:"), 0u);
    EXPECT_EQ(run.svcStatus, 1);
    EXPECT_GE(std::chrono::steady_clock::now() - asked, std::chrono::milliseconds(1800));
    ASSERT_TRUE(run.start()) << run.console();
    // Nothing configured: a start is held.
    EXPECT_NE(run.svc("read START.MAN_START.B_NAME"), "START.MAN_START.B_NAME = 1\n");

    // Step 2: the manual start configured and saved, then a restart.
    const std::string configured = run.svc("write CNFG_START.CONFIG_B.IN_1 1 save");
    EXPECT_EQ(configured, "CNFG_START.CONFIG_B.IN_1 written\nsaved\n") << configured;
    ASSERT_EQ(run.interrupt(), 0) << run.console();
    ASSERT_TRUE(run.start()) << run.console();
    EXPECT_TRUE(run.reads("START.MAN_START.B_NAME", "1", 30));
    EXPECT_EQ(run.svc("status"), "running\n");

    // The speed simulation's on and off commands, each in a call of its own
    // at configure level, are taken before the tool lets its session go.
    EXPECT_EQ(run.svc("write SPEED_SIM.INTERNAL_SIM.IN_1 1"), "SPEED_SIM.INTERNAL_SIM.IN_1 written\n");
    EXPECT_EQ(run.svc("read SPEED_SIM.ENA__SIM.B_NAME"), "SPEED_SIM.ENA__SIM.B_NAME = 1\n");
    EXPECT_EQ(run.svc("write SPEED_SIM.INTERNAL_SIM.IN_2 1"), "SPEED_SIM.INTERNAL_SIM.IN_2 written\n");
    EXPECT_EQ(run.svc("read SPEED_SIM.ENA__SIM.B_NAME"), "SPEED_SIM.ENA__SIM.B_NAME = 0\n");

    // Step 3: the trip contact closed, a reset on the reset contact.
    ASSERT_TRUE(run.plant("contact14=1"));
    ASSERT_TRUE(run.plant("contact16=1"));
    ASSERT_TRUE(run.reads("SHUTDOWNS.ANY_SD.B_NAME", "0", 60)) << run.svc("list shutdowns");
    ASSERT_TRUE(run.plant("contact16=0"));
    // Reset, the unit is no longer shut down: the stop is refused with the
    // shaft at rest, each time.
    for (int signal = 0; signal < 2; ++signal)
        expectRefusal(run.refusedStop(), "the unit is not shut down (a unit that was reset stays so with the "
                                         "shaft at rest); still running. Trip or stop the unit, then stop again");

    // Step 4: the start, taken back once latched; the speed control takes over.
    EXPECT_EQ(run.svc("write START.START.IN_3 1"), "START.START.IN_3 written\n");
    ASSERT_TRUE(run.reads("START.RUN_CMD.LATCH_R", "1", 30));
    EXPECT_EQ(run.svc("write START.START.IN_3 0"), "START.START.IN_3 written\n");
    ASSERT_TRUE(run.reads("SPDC.A08_STEP.SFC_STEP", "1", 120)) << run.svc("read MPU.TURB_SPD.A_NAME");
    EXPECT_TRUE(run.said(" s after the controller started: the speed control has taken over; turbine speed 34"))
        << run.console();
    EXPECT_EQ(run.console().find("the unit has tripped"), std::string::npos) << "the trip at power-up is not told";

    // Step 5: the raise command held until the reference is at rated.
    EXPECT_EQ(run.svc("write IFACE_IN_SPEED.RSE_LWR.IN_1 1"), "IFACE_IN_SPEED.RSE_LWR.IN_1 written\n");
    const bool rated = run.readsAtLeast("IFACE_OUT_SPEED.SPEED_REF.A_NAME", 3600.0, 180);
    EXPECT_EQ(run.svc("write IFACE_IN_SPEED.RSE_LWR.IN_1 0"), "IFACE_IN_SPEED.RSE_LWR.IN_1 written\n");
    ASSERT_TRUE(rated) << run.svc("read IFACE_OUT_SPEED.SPEED_REF.A_NAME read MPU.TURB_SPD.A_NAME");
    EXPECT_TRUE(run.readsAtLeast("MPU.TURB_SPD.A_NAME", 3590.0, 60));

    // Step 6: the latched lists with their texts: the reset of step 3.
    const std::string lists = run.svc("list shutdowns list alarms");
    EXPECT_NE(lists.find("SHUTDOWNS.ANY  31 "), std::string::npos) << lists;
    EXPECT_NE(lists.find(" Reset command activated\n"), std::string::npos) << lists;

    // Stopping: refused while the shaft turns; an overspeed trips the unit,
    // the shaft put at rest, and the stop is taken.
    expectRefusal(run.refusedStop(), "the unit is not shut down and the shaft still turns (");
    ASSERT_TRUE(run.plant("speed=4100"));
    EXPECT_TRUE(run.reads("SHUTDOWNS.ANY.SEL_3", "1", 60));
    EXPECT_TRUE(run.said(" s after the controller started: the unit has tripped (the service tool's 'list shutdowns' names the "
                         "trip)"))
        << run.console();
    const std::string turning = run.refusedStop();
    expectRefusal(turning, "the unit is shut down, but the shaft still turns (");
    EXPECT_NE(turning.find(" rpm, above the low-speed setpoint of 250 rpm)"), std::string::npos) << turning;
    EXPECT_NE(run.svc("list shutdowns").find("TRIP_03 Overspeed Trip"), std::string::npos);
    ASSERT_TRUE(run.plant("speed=0"));
    EXPECT_EQ(run.interrupt(60000), 0) << run.console();
    EXPECT_NE(run.console().find(" since the last save"), std::string::npos)
        << run.console();
}

}  // namespace
