// The whole controller as a user meets it, in simulated time and through
// its outside only: the executable started with the turbine model, a
// service tool on its service port, a Modbus master (mbpoll) on its Modbus
// port, the event log file read back by Python's csv module, the tunables
// file across a restart, and the plant driven through the loader's plant
// input (turbine load and speed, contacts).
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/acceptance/service_tool.h"
#include "tests/loader/controller_proc.h"
#include "tests/support/ports.h"
#include "tests/support/paths.h"

using acc_test::ListItem;
using acc_test::ServiceTool;
using Clock = std::chrono::steady_clock;

namespace {

// The service account the tests log in with (level 3).
constexpr char kUser[] = "tech", kPassword[] = "secret";
constexpr int kServicePort = 666, kModbusPort = 502;
// The Modbus slave address of link 2, which the tests put on TCP.
constexpr int kLink2Address = 2;
// Identifiers of the shutdown list: trip 1 (external trip contact), trip 3
// (overspeed) and the list's own events.
constexpr uint16_t kTripExternal = 1, kTripOverspeed = 3, kListReset = 31;
// Discrete input 14 is the external trip contact (closed while healthy),
// 16 the reset contact.
constexpr char kTripContact[] = "contact14", kResetContact[] = "contact16";

// One controller in simulated time on ports of its own, with an application
// root that holds the service account, and a plant input file.
class Unit {
public:
    explicit Unit(const std::string& turbine = "") : offset_(tc_test::pickPortOffset()) {
        root_ = tmp_.path + "/var";
        plant_ = tmp_.path + "/plant.txt";
        std::filesystem::create_directories(root_);
        std::ofstream(root_ + "/Accounts.txt") << "# user password level\n" << kUser << " " << kPassword << " 3\n";
        std::ofstream{plant_};
        turbine_ = turbine;
    }
    ~Unit() { stop(); }

    // Starts the controller; false when it did not say it runs.
    bool start() {
        std::vector<std::string> args = {"--clock", "sim", "--port-offset", std::to_string(offset_), "--root",
                                         root_, "--plant-input", plant_, "--turbine-set",
                                         turbine_.empty() ? "speed=0" : turbine_};
        ctl_ = std::make_unique<tc_test::Controller>(args);
        return ctl_->waitFor("Application is running");
    }
    // Stops it with SIGTERM: the exit status (0 for a clean stop).
    int stop() {
        if (!ctl_) return 0;
        ctl_->signal(SIGTERM);
        const int status = ctl_->exitStatus();
        output_ += ctl_->output();
        ctl_.reset();
        return status;
    }
    // The console so far, of every run.
    std::string console() const { return output_ + (ctl_ ? ctl_->output() : ""); }

    // A line to the plant; true once the controller says it took it, false
    // when it says it ignored it or says nothing.
    bool plant(const std::string& line) {
        const size_t from = ctl_->output().size();
        std::ofstream(plant_, std::ios::app) << line << "\n";
        const std::string said = "plant input '" + line + "' ";
        if (!ctl_->waitFor(said, 10000, from)) return false;
        return ctl_->waitFor("\n", 10000, ctl_->output().find(said, from)) &&
               ctl_->output().compare(ctl_->output().find(said, from) + said.size(), 5, "taken") == 0;
    }

    int servicePort() const { return kServicePort + offset_; }
    int modbusPort() const { return kModbusPort + offset_; }
    const std::string& root() const { return root_; }
    std::string scratch(const std::string& name) const { return tmp_.path + "/" + name; }

private:
    tc_test::TempDir tmp_;
    int offset_;
    std::string root_, plant_, turbine_, output_;
    std::unique_ptr<tc_test::Controller> ctl_;
};

// A service tool logged in on the unit, with the handles of every value.
void logIn(ServiceTool& tool, const Unit& unit) {
    ASSERT_TRUE(tool.ready());
    ASSERT_GT(tool.learnHandles(unit.scratch("sid.gz")), 10000u);
    ASSERT_EQ(tool.login(kUser, kPassword), 0);
    ASSERT_EQ(tool.level(), 3);
}

// Runs mbpoll once against the unit's Modbus port: the values of `count`
// items of table `table` (1 discrete inputs, 3 input registers) from the
// 1-based reference `ref`, empty when the master got no answer.
std::vector<long> mbpoll(const Unit& unit, int table, int ref, int count) {
    const std::string cmd = "mbpoll -m tcp -p " + std::to_string(unit.modbusPort()) + " -a " +
                            std::to_string(kLink2Address) + " -1 -t " + std::to_string(table) + " -r " +
                            std::to_string(ref) + " -c " + std::to_string(count) + " 127.0.0.1 2>&1";
    std::string out;
    if (FILE* p = ::popen(cmd.c_str(), "r")) {
        char b[4096];
        for (size_t n; (n = std::fread(b, 1, sizeof b, p)) > 0;) out.append(b, n);
        ::pclose(p);
    }
    std::vector<long> values;
    const std::regex item("\\[([0-9]+)\\]:\\s+(-?[0-9]+)");
    for (auto it = std::sregex_iterator(out.begin(), out.end(), item); it != std::sregex_iterator(); ++it)
        values.push_back(std::stol((*it)[2]));
    if (values.size() != size_t(count)) values.clear();
    return values;
}

// Puts Modbus link 2 on TCP, as a user does over the service interface:
// the Modbus map in use, link 2 used, and the configuration-error list's
// override so that the defaults' findings do not hold the map.
void modbusOnTcp(ServiceTool& tool) {
    EXPECT_EQ(tool.writeBool("CONF_LATCH.ANY.OVRD", true), 0);
    EXPECT_EQ(tool.writeBool("C_COMM.C1.IN", true), 0);
    EXPECT_EQ(tool.writeBool("CNFG_COMMS.LINK2_USED.IN", true), 0);
}

// mbpoll until it answers, for up to 30 s.
std::vector<long> mbpollWithin(const Unit& unit, int table, int ref, int count) {
    const auto end = Clock::now() + std::chrono::seconds(30);
    std::vector<long> v;
    while ((v = mbpoll(unit, table, ref, count)).empty() && Clock::now() < end) ::usleep(200000);
    return v;
}

// The rows of the unit's event log file as "source|text|severity", read by
// Python's csv module.
std::vector<std::string> eventLog(const Unit& unit) {
    const std::string cmd = "/usr/bin/python3 " + tc_test::sourceDir() +
                            "/tests/storage_eventlog/read_eventlog.py " + unit.root() + "/ae_eventlog.csv 2>&1";
    std::string out;
    if (FILE* p = ::popen(cmd.c_str(), "r")) {
        char b[4096];
        for (size_t n; (n = std::fread(b, 1, sizeof b, p)) > 0;) out.append(b, n);
        EXPECT_EQ(::pclose(p), 0) << out;
    }
    std::vector<std::string> rows;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        std::istringstream l(line);
        std::string kind, ms, rest;
        l >> kind >> ms;
        std::getline(l, rest);
        if (kind == "event" && rest.size() > 1) rows.push_back(rest.substr(1));
    }
    return rows;
}

// Waits up to `seconds` of wall time for `done`, asking again every 50 ms.
template <typename F>
bool within(double seconds, F done) {
    const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    for (;;) {
        if (done()) return true;
        if (Clock::now() > end) return false;
        ::usleep(50000);
    }
}

// A running unit refuses to stop (its calibration permissive is false while
// the unit is not off or the shaft turns): the operator declares the unit
// off and overrides the low-speed check over the service interface first.
int stopRunningUnit(Unit& unit, ServiceTool& tool) {
    EXPECT_EQ(tool.boolean("CALMODE.CALPERM.B_NAME"), 0);  // the shaft turns
    EXPECT_EQ(tool.writeBool("CALMODE.UNIT_OFF.IN_1", true), 0);
    EXPECT_EQ(tool.writeBool("CALMODE.LO_CHECK_TEST_OVRD.IN_2", true), 0);
    EXPECT_TRUE(within(30, [&] { return tool.boolean("CALMODE.CALPERM.B_NAME") == 1; }));
    return unit.stop();
}

bool hasTrip(const std::vector<ListItem>& items, uint16_t id) {
    for (const ListItem& i : items)
        if (i.id == id) return true;
    return false;
}

}  // namespace

// The turbine turning at a steady 3000 rpm (no friction, no load, the valve
// closed): a Modbus master reads the speed and the trip status from the map
// and finds what the service tool reads.
TEST(Acceptance, AModbusMasterReadsSpeedAndStatusAsTheServiceToolSeesThem) {
    Unit unit("speed=3000,friction=0");
    ASSERT_TRUE(unit.start()) << unit.console();
    ServiceTool tool(unit.servicePort());
    logIn(tool, unit);
    modbusOnTcp(tool);
    // Input register 1: the turbine speed; discrete inputs 1 (any trip) and
    // 8 (the overspeed trip in the list).
    const std::vector<long> speed = mbpollWithin(unit, 3, 1, 1);
    ASSERT_EQ(speed.size(), 1u) << unit.console();
    EXPECT_NEAR(speed[0], 3000, 1);
    EXPECT_NEAR(tool.real("MPU.TURB_SPD.A_NAME"), 3000.0f, 1.0f);
    const std::vector<long> status = mbpollWithin(unit, 1, 1, 8);
    ASSERT_EQ(status.size(), 8u);
    EXPECT_EQ(status[0], tool.boolean("SHUTDOWNS.ANY_SD.B_NAME"));
    EXPECT_EQ(status[7], tool.boolean("SHUTDOWNS.ANY.SEL_3"));
    // The shaft put at 2400 rpm: the map follows.
    ASSERT_TRUE(unit.plant("speed=2400"));
    std::vector<long> now;
    EXPECT_TRUE(within(30, [&] {
        now = mbpoll(unit, 3, 1, 1);
        return now.size() == 1 && std::labs(now[0] - 2400) <= 1;
    })) << (now.empty() ? -1 : now[0]);
    EXPECT_EQ(stopRunningUnit(unit, tool), 0) << unit.console();
}

// Trips latch into the shutdown list: every one the service tool reads in
// the latched list has its line in the event log file, with the text of its
// entry. The external trip contact is open at power-up (trip 1); closed and
// reset, the trip leaves the list; opened again, it trips the unit anew.
TEST(Acceptance, LatchedTripsAreInTheEventLogFileAndInTheListOverTheServiceProtocol) {
    Unit unit;
    ASSERT_TRUE(unit.start()) << unit.console();
    ServiceTool tool(unit.servicePort());
    logIn(tool, unit);
    std::vector<ListItem> items;
    ASSERT_TRUE(within(30, [&] { return tool.latchedList(1, items) && hasTrip(items, kTripExternal); }))
        << unit.console();
    // The list's state value tells the reader that the list has changed.
    const int64_t state = tool.listState(1);
    EXPECT_GT(state, 0);
    EXPECT_EQ(tool.listState(9), -1) << "no such list";
    std::vector<std::string> rows;
    auto logged = [&](const std::string& what) {
        int n = 0;
        for (const std::string& r : rows) n += r.rfind(what, 0) == 0 ? 1 : 0;
        return n;
    };
    const std::string externalTrip = "SHUTDOWNS.ANY.SEL_1|TRIP_01 DI 03 External Trip Input 1|500";
    ASSERT_TRUE(within(30, [&] {
        rows = eventLog(unit);
        return logged(externalTrip) == 1;
    })) << unit.console();
    for (const ListItem& i : items) {
        SCOPED_TRACE(i.id);
        EXPECT_GT(i.seconds, 1700000000u);
        if (i.id <= 30) {
            EXPECT_EQ(logged("SHUTDOWNS.ANY.SEL_" + std::to_string(i.id) + "|TRIP_" + (i.id < 10 ? "0" : "") +
                             std::to_string(i.id) + " "),
                      1);
        } else if (i.id == kListReset) {
            EXPECT_GE(logged("SHUTDOWNS.ANY|Reset command activated|1"), 1);
        }
    }

    // Contact closed, reset held on the reset contact: trip 1 leaves the list.
    ASSERT_TRUE(unit.plant(std::string(kTripContact) + "=1," + kResetContact + "=1"));
    EXPECT_TRUE(within(30, [&] { return tool.latchedList(1, items) && !hasTrip(items, kTripExternal); }));
    ASSERT_TRUE(unit.plant(std::string(kResetContact) + "=0"));
    // Opened again: the unit trips anew, a second line in the log.
    ASSERT_TRUE(unit.plant(std::string(kTripContact) + "=0"));
    EXPECT_TRUE(within(30, [&] { return tool.latchedList(1, items) && hasTrip(items, kTripExternal); }));
    EXPECT_EQ(tool.boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1);
    EXPECT_GT(tool.listState(1), state) << "the list changed since it was last read";
    EXPECT_TRUE(within(30, [&] {
        rows = eventLog(unit);
        return logged(externalTrip) == 2;
    })) << logged(externalTrip);
    EXPECT_EQ(unit.stop(), 0) << unit.console();
}

// A tunable changed over the service protocol and saved is in force again
// after the controller has been stopped and started.
TEST(Acceptance, ATunableChangedOverTheServiceProtocolSurvivesARestart) {
    Unit unit;
    constexpr char kTunable[] = "DATALOG.LOAD_LVL1.IN_2";  // 25.0 by default
    constexpr char kBoolTunable[] = "DATALOG.PRINT.IN_2";
    {
        ASSERT_TRUE(unit.start()) << unit.console();
        ServiceTool tool(unit.servicePort());
        logIn(tool, unit);
        ASSERT_FLOAT_EQ(tool.real(kTunable), 25.0f);
        // While the control runs a float moves by at most 10.1 % per write.
        for (float v : {27.5f, 30.0f, 33.0f}) ASSERT_EQ(tool.writeReal(kTunable, v), 0) << v;
        ASSERT_EQ(tool.writeReal(kTunable, 40.0f), 3);
        ASSERT_EQ(tool.writeBool(kBoolTunable, !tool.boolean(kBoolTunable)), 0);
        const int written = tool.boolean(kBoolTunable);
        ASSERT_EQ(tool.save(), 0);
        ASSERT_EQ(unit.stop(), 0) << unit.console();
        ASSERT_TRUE(unit.start()) << unit.console();
        ServiceTool again(unit.servicePort());
        logIn(again, unit);
        EXPECT_FLOAT_EQ(again.real(kTunable), 33.0f);
        EXPECT_EQ(again.boolean(kBoolTunable), written);
    }
    EXPECT_EQ(unit.stop(), 0) << unit.console();
}

namespace {

// The plant: a 3600 rpm turbine, its overspeed trip at 3960 rpm.
constexpr double kRatedRpm = 3600.0, kTripRpm = 3960.0;

}  // namespace

// The whole road of a run: the service tool starts the unit and raises the
// speed setpoint, the shaft of the turbine model follows to rated speed, a
// Modbus master reads speed and status, and an overspeed of the shaft trips
// the unit: the trip is in the event log file and in the latched list.
TEST(Acceptance, AStartToRatedSpeedAndAnOverspeedTrip) {
    Unit unit;
    ASSERT_TRUE(unit.start()) << unit.console();
    {
        // The configuration, as a user enters it: the Modbus map on TCP and a
        // manual start. The start mode is taken at power-up only, so it is
        // saved and the controller started again.
        ServiceTool setup(unit.servicePort());
        logIn(setup, unit);
        modbusOnTcp(setup);
        ASSERT_EQ(setup.writeBool("CNFG_START.CONFIG_B.IN_1", true), 0);
        ASSERT_EQ(setup.save(), 0);
        ASSERT_EQ(unit.stop(), 0) << unit.console();
        ASSERT_TRUE(unit.start()) << unit.console();
    }
    ServiceTool tool(unit.servicePort());
    logIn(tool, unit);
    EXPECT_EQ(tool.boolean("START.MAN_START.B_NAME"), 1);
    // The governor limits in force reach rated speed.
    ASSERT_GE(tool.real("IFACE_IN_SPEED.MAX_GOV.A_NAME"), kRatedRpm);
    // The trip contact closed, then a reset.
    ASSERT_TRUE(unit.plant(std::string(kTripContact) + "=1"));
    ASSERT_TRUE(unit.plant(std::string(kResetContact) + "=1"));
    ASSERT_TRUE(within(30, [&] { return tool.boolean("SHUTDOWNS.ANY_SD.B_NAME") == 0; }))
        << "trips still latched after the reset; first out " << tool.real("SHUTDOWNS.FIRSTOUT_A.OUT_1");
    ASSERT_TRUE(unit.plant(std::string(kResetContact) + "=0"));
    // Ready: at rest, and nothing holding the start back. After a trip and
    // its reset, the start's reset input may stay set for some passes after
    // the rest step is entered, and a start given then is refused.
    ASSERT_TRUE(within(30, [&] {
        return tool.boolean("SPDC.A00_STEP.SFC_STEP") == 1 && tool.boolean("START.OR_SD.OR") == 0;
    })) << "not ready to start";

    // The start over the service interface: the manual start takes the
    // reference to minimum governor, where the speed controller is in
    // control; then the speed setpoint raised to rated.
    ASSERT_EQ(tool.writeBool("START.START.IN_3", true), 0);
    ASSERT_TRUE(within(30, [&] { return tool.boolean("START.RUN_CMD.LATCH_R") == 1; }))
        << "start inhibit " << tool.boolean("IFACE_OUT_START.STRT_INH.B_NAME");
    ASSERT_EQ(tool.writeBool("START.START.IN_3", false), 0);
    ASSERT_TRUE(within(120, [&] { return tool.boolean("SPDC.A08_STEP.SFC_STEP") == 1; }))
        << "never in control; reference " << tool.real("IFACE_OUT_SPEED.SPEED_REF.A_NAME") << ", shaft "
        << tool.real("MPU.TURB_SPD.A_NAME") << ", valve demand " << tool.real("IFACE_OUT_VLV.HP_DMD.A_NAME");
    ASSERT_EQ(tool.writeBool("IFACE_IN_SPEED.RSE_LWR.IN_1", true), 0);
    const bool raised = within(120, [&] { return tool.real("IFACE_OUT_SPEED.SPEED_REF.A_NAME") >= kRatedRpm; });
    ASSERT_EQ(tool.writeBool("IFACE_IN_SPEED.RSE_LWR.IN_1", false), 0);
    ASSERT_TRUE(raised) << "reference " << tool.real("IFACE_OUT_SPEED.SPEED_REF.A_NAME");

    // The shaft at rated speed, as the service tool and the Modbus master
    // read it; no trip.
    EXPECT_TRUE(within(120, [&] { return std::fabs(tool.real("MPU.TURB_SPD.A_NAME") - kRatedRpm) < 20.0; }))
        << tool.real("MPU.TURB_SPD.A_NAME");
    const std::vector<long> speed = mbpollWithin(unit, 3, 1, 1);
    ASSERT_EQ(speed.size(), 1u);
    EXPECT_NEAR(double(speed[0]), kRatedRpm, 20.0);
    const std::vector<long> running = mbpollWithin(unit, 1, 1, 8);
    ASSERT_EQ(running.size(), 8u);
    EXPECT_EQ(running[0], 0) << "a trip while running";

    // An overspeed of the shaft: the unit trips on trip 3.
    ASSERT_TRUE(unit.plant("speed=" + std::to_string(int(kTripRpm + 100.0))));
    ASSERT_TRUE(within(30, [&] { return tool.boolean("SHUTDOWNS.ANY.SEL_3") == 1; }));
    EXPECT_EQ(tool.boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1);
    std::vector<ListItem> items;
    EXPECT_TRUE(within(30, [&] { return tool.latchedList(1, items) && hasTrip(items, kTripOverspeed); }));
    std::vector<std::string> rows;
    EXPECT_TRUE(within(30, [&] {
        rows = eventLog(unit);
        for (const std::string& r : rows)
            if (r == "SHUTDOWNS.ANY.SEL_3|TRIP_03 Overspeed Trip|500") return true;
        return false;
    }));
    const std::vector<long> tripped = mbpollWithin(unit, 1, 1, 8);
    ASSERT_EQ(tripped.size(), 8u);
    EXPECT_EQ(tripped[0], 1);
    EXPECT_EQ(tripped[7], 1) << "the overspeed trip in the map";
    // The shaft still coasts down from the overspeed, so the unit refuses a
    // plain stop until it is at rest.
    EXPECT_EQ(stopRunningUnit(unit, tool), 0) << unit.console();
}

// The plant input takes a line only when every item of it is sound, and
// says which it took and which it ignored; a plant input file that cannot
// be read stops the start.
TEST(Acceptance, ThePlantInputTakesSoundLinesAndSaysWhyItIgnoresOthers) {
    // A load brakes the shaft until a line takes the load off.
    Unit unit("speed=1000,friction=0,load=0.2,gear2=1");
    ASSERT_TRUE(unit.start()) << unit.console();
    ServiceTool tool(unit.servicePort());
    logIn(tool, unit);
    // The external trip contact is open from power-up: a trip demand.
    EXPECT_TRUE(within(30, [&] { return tool.boolean("BI_MUX.EXT_TRIP_1.B_NAME") == 1; }));
    struct Row {
        const char* line;
        const char* said;
    };
    const Row rows[] = {
        {"speed=fast", "ignored: 'speed=fast' has no number of 0 or more"},
        {"speed=-5", "ignored: 'speed=-5' has no number of 0 or more"},
        {"speed=1500,mass=2", "ignored: 'mass=2' is not load=PU, speed=RPM or contactN=0|1 (N 0 .. 31)"},
        {"contact32=1", "ignored: 'contact32=1' is not load=PU, speed=RPM or contactN=0|1 (N 0 .. 31)"},
        {"contact3=2", "ignored: 'contact3=2' is not load=PU, speed=RPM or contactN=0|1 (N 0 .. 31)"},
        {"contactX=1", "ignored: 'contactX=1' is not load=PU, speed=RPM or contactN=0|1 (N 0 .. 31)"},
        {"speed", "ignored: 'speed' is not NAME=VALUE"},
        {"speed=2000,", "ignored: '' is not NAME=VALUE"},
        {"load=0,speed=2000,contact14=1", "taken"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.line);
        const std::string said = "controller: plant input '" + std::string(r.line) + "' " + r.said + "\n";
        EXPECT_TRUE(unit.plant(r.line) == (std::string(r.said) == "taken"));
        EXPECT_NE(unit.console().find(said), std::string::npos) << unit.console();
    }
    // Only the last line moved the shaft, took the load off (the shaft
    // holds its speed) and closed the external trip contact: its trip
    // demand ends.
    EXPECT_TRUE(within(30, [&] { return std::fabs(tool.real("MPU.TURB_SPD.A_NAME") - 2000.0f) < 1.0f; }))
        << tool.real("MPU.TURB_SPD.A_NAME");
    ::usleep(500000);
    EXPECT_NEAR(tool.real("MPU.TURB_SPD.A_NAME"), 2000.0f, 1.0f);
    EXPECT_TRUE(within(30, [&] { return tool.boolean("BI_MUX.EXT_TRIP_1.B_NAME") == 0; }));
    EXPECT_EQ(stopRunningUnit(unit, tool), 0) << unit.console();

    tc_test::Controller missing({"--clock", "sim", "--plant-input", unit.scratch("no-such-file")});
    EXPECT_EQ(missing.exitStatus(), 2);
    EXPECT_NE(missing.output().find("controller: --plant-input: cannot read '" + unit.scratch("no-such-file") + "'"),
              std::string::npos)
        << missing.output();
}
