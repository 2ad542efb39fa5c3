// The start of the whole application in simulated time: the initialisation
// steps in their order with the tasks they create, the service identity
// texts, the serial port settings and what the supervision task does.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <mutex>
#include <string>
#include <vector>

#include "app/config/CNFG_CAN2.cells.h"
#include "app/config/MASTER.cells.h"
#include "app/interface/IFACE_MODE.cells.h"
#include "app/interface/MOD.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/interface/CNFG_ETHER.cells.h"
#include "app/interface/CNFG_SIO.cells.h"
#include "runtime/catalogue_tables.h"
#include "app/control/SIM.cells.h"
#include "app/sys_vars.h"
#include "host/board.h"
#include "host/canbus.h"
#include "drivers/ZarnHwDepend.h"
#include "runtime/appmem.h"
#include "host/chips.h"
#include "host/hostclock.h"
#include "host/hostio.h"
#include "host/hostkernel.h"
#include "host/vkplatform.h"
#include "platform/CLOCK.h"
#include "platform/vkiodev.h"
#include "runtime/appinit.h"
#include "storage/eefile.h"
#include "runtime/appmain.h"
#include "runtime/iogather.h"
#include "runtime/rgtask.h"
#include "runtime/sysinfo.h"
#include "tests/support/pty_pair.h"
#include "tests/support/runtime_fixture.h"

namespace {

class StartSequence : public tc_test::RuntimeFixture {
protected:
    void SetUp() override {
        RuntimeFixture::SetUp();
        // The runtime alone: cells keep what a case writes into them.
        for (auto& s : rg_slices) s.clear();
        rtcells::CALMODE_CALPERM_B_NAME() = 1;
    }
    // The start-up trace: the steps and the task creations, in order.
    std::vector<std::string> startTrace() {
        hk::enableTrace(true);
        EXPECT_EQ(start(), 0u);
        std::vector<std::string> v;
        for (auto& l : hk::takeTrace())
            if (l.rfind("init ", 0) == 0 || l.rfind("spawn ", 0) == 0) v.push_back(l);
        hk::enableTrace(false);
        return v;
    }
    void allowStop() {
        rtcells::CALMODE_CALPERM_B_NAME() = 1;
        _SYS_INFO_STOP_PER = 1;
    }
    // The tunables file's bytes, as a hash to compare.
    size_t tunablesFile() {
        for (auto& e : std::filesystem::recursive_directory_iterator(root_))
            if (e.path().extension() == ".ee") {
                std::ifstream f(e.path(), std::ios::binary);
                return std::hash<std::string>{}(std::string(std::istreambuf_iterator<char>(f), {}));
            }
        return 0;
    }
};

TEST_F(StartSequence, EveryInitialisationStepRunsInOrderAndCreatesItsTasks) {
    const std::vector<std::string> got = startTrace();
    const std::vector<std::string> want = {
        "spawn tPlatform stack 0 priority 100",
        "spawn AppEventMonitor stack 8192 priority 40",
        "init application 1 version texts",
        "init application 2 CAN bus master",
        "init application 3 application memory",
        "init application 4 tunables file",
        "init application 5 self test",
        "init application 6 Ethernet ports",
        "init application 7 account management",
        "init application 8 device table",
        "init application 9 supervision task",
        "spawn ttytask stack 8192 priority 40",
        "init application 10 idle-time task",
        "spawn FRTimeTask stack 4096 priority 251",
        "init application 11 display",
        "init application 12 controller I/O",
        "init application 13 start event",
        "init application 14 blocks",
        "init blocks 1 rate groups, task times, PID contexts",
        "spawn _R10 stack 32960 priority 11",
        "spawn __MASTER_CHASS_2351 stack 8192 priority 39",  // started by _R10 before it waits
        "spawn _R20 stack 33308 priority 12",
        "spawn _R40 stack 33344 priority 13",
        "spawn _R80 stack 32768 priority 14",
        "spawn _R160 stack 32804 priority 15",
        "init blocks 2 flags",
        "init blocks 3 sampled tunables",
        "init blocks 4 speed-sensor channels",
        "init blocks 5 channel configuration words",
        "init blocks 6 simulator speed curve",
        "init blocks 7 event-log writer",
        "spawn LogEventMonitor stack 8192 priority 40",
        "init blocks 8 10 ms blocks",
        "init blocks 9 20 ms blocks",
        "init blocks 10 remote nodes",
        "init blocks 11 chassis status",
        "spawn ORVEX12_IO_CHASS_STATUS_2278 stack 8192 priority 40",
        "init blocks 12 40 ms blocks",
        "init blocks 13 80 ms blocks",
        "init blocks 14 condition log",
        "spawn COND_MON_NV_MEM_LOG_10465 stack 8192 priority 40",
        "init blocks 15 data-log commands and charts",
        "init blocks 16 160 ms blocks",
        "init blocks 17 port device numbers",
        "init blocks 18 serial settings",
        "init blocks 19 simulator port",
        "init blocks 20 CAN protocols",
        "init blocks 21 service headers",
        "init blocks 22 Modbus TCP acceptor, 23 Modbus slave instances",
        "spawn scan_tcp stack 8192 priority 40",
        "spawn do_modbus stack 4096 priority 39",  // the simulator link
        "spawn do_modbus stack 4096 priority 39",
        "spawn do_modbus stack 4096 priority 39",
        "spawn do_modbus stack 4096 priority 39",
        "init blocks 24 flags",
        "init blocks 25 service server",
        "spawn TW_SLAVE stack 8192 priority 41",
        "spawn TCP_LISTENER stack 8192 priority 36",
        "init blocks 26 data log",
        "spawn DATA_LOG_M stack 8192 priority 42",
        "init application 15 service",
        "init application 16 flags",
        "init application 17 save tunables",
        "spawn SlipMonitor stack 4096 priority 40",
        "spawn MasterClockProcess stack 4096 priority 8",
    };
    EXPECT_EQ(got, want);
    if (got != want)
        for (const auto& l : got) std::fprintf(stderr, "trace: %s\n", l.c_str());
    // The flags of the block initialisation.
    EXPECT_EQ(conf_enable, 1);
    EXPECT_EQ(ServPort0Sel, 1);
    EXPECT_EQ(debug_tunable_enable, 1);
    EXPECT_EQ(rtc_defined, 1);
    EXPECT_EQ(_FIRST_SERV_HDR_INDEX, -1);
    EXPECT_EQ(_FIRST_CONF_HDR_INDEX, -1);
    EXPECT_EQ(num_tiq_files, 12);
    // Device numbers and port states of the configuration blocks.
    const struct {
        const char* name;
        int32_t got, want;
    } ports[] = {
        {"CNFG_ETHER.NETADDR_1.TCP_P", cells::CNFG_ETHER.NETADDR_1_TCP_P, 2},
        {"CNFG_ETHER.NETADDR_2.TCP_P", cells::CNFG_ETHER.NETADDR_2_TCP_P, 5},
        {"CNFG_ETHER.PORT_5001.UDP_P", cells::CNFG_ETHER.PORT_5001_UDP_P, 4},
        {"CNFG_ETHER.PORT_5001.P_STATUS", cells::CNFG_ETHER.PORT_5001_P_STATUS, 1},
        {"CNFG_ETHER.PORT_5002.UDP_P", cells::CNFG_ETHER.PORT_5002_UDP_P, 6},
        {"CNFG_ETHER.PORT_5002.P_STATUS", cells::CNFG_ETHER.PORT_5002_P_STATUS, 1},
        {"CNFG_SIO.COMM1_PORT.SIO_PORT", cells::CNFG_SIO.COMM1_PORT_SIO_PORT, 1},
        {"CNFG_SIO.COMM1_PORT.P_STATUS", cells::CNFG_SIO.COMM1_PORT_P_STATUS, 1},
        {"SIM.PORT5005_TO_SIM.UDP_P", cells::SIM.PORT5005_TO_SIM_UDP_P, 7},
        {"SIM.PORT5005_TO_SIM.P_STATUS", cells::SIM.PORT5005_TO_SIM_P_STATUS, 1},
    };
    for (const auto& p : ports) EXPECT_EQ(p.got, p.want) << p.name;
    EXPECT_EQ(static_cast<int32_t>(cells::CNFG_CAN2.CAN2_PORT_VERSION), 3);
    // The network block starts closed and off the bus until the network opens.
    EXPECT_EQ(static_cast<int32_t>(cells::CNFG_CAN2.CAN2_NTW1_STATE), 0);
    EXPECT_EQ(static_cast<uint32_t>(cells::CNFG_CAN2.CAN2_NTW1_BUS_OFF), 1u);
    // The tasks as the kernel's table holds them.
    bool sawR10 = false;
    for (const auto& t : hk::listTasks())
        if (t.name == "_R10") {
            sawR10 = true;
            EXPECT_EQ(t.stackSize, 32960u);
            EXPECT_EQ(t.priority, 11);
        }
    EXPECT_TRUE(sawR10);
}

// The identifier texts of the service side; the application identifier is
// cut to the 40-byte cell and always terminated.
TEST_F(StartSequence, ServiceIdentityTextsAreSetAndTheApplicationIdentifierIsTerminated) {
    ASSERT_EQ(start(), 0u);
    const auto& t = cells::IFACE_MODE;
    EXPECT_STREQ(static_cast<const StrCell&>(t.TALLWIRE_APP_ID).s, "9902-4411_e 2026-04-20 07.44.46");
    EXPECT_STREQ(static_cast<const StrCell&>(t.TALLWIRE_PRODUCT_ID).s, "Zarn 200");
    EXPECT_STREQ(static_cast<const StrCell&>(t.TALLWIRE_PROTOCOL_ID).s, "Tallwire Classic v2.05");
    EXPECT_STREQ(static_cast<const StrCell&>(t.TALLWIRE_SYSTEM_ID).s, "1.00-0");

    struct Case {
        std::string name, date, want;
    };
    const std::string n30(30, 'N'), d20(20, 'D');
    const Case cases[] = {
        {"A", "B", "A B"},
        {n30, "2026-04-20", n30 + " 2026-04-"},  // 39 bytes kept
        {std::string(39, 'X'), "D", std::string(39, 'X')},
        {std::string(40, 'X'), d20, std::string(39, 'X')},
        {std::string(38, 'X'), "D", std::string(38, 'X') + " "},
    };
    for (const Case& c : cases) {
        char out[40];
        std::memset(out, 0x55, sizeof out);
        join_app_id(out, c.name.c_str(), c.date.c_str());
        EXPECT_EQ(out[39] == '\0' || std::strlen(out) < 39, true) << c.name;
        EXPECT_EQ(std::string(out, strnlen(out, sizeof out)), c.want) << c.name;
        EXPECT_LT(strnlen(out, sizeof out), sizeof out) << c.name;
    }
}

// Changed serial settings reach the port one per supervision pass, in the
// port's order; a flush is sent on the rising edge of P_FLUSH only.
TEST_F(StartSequence, SerialSettingsFollowOnePerPass) {
    ASSERT_EQ(start(), 0u);
    hk::runTicks(1200);  // past the supervision task's first 4 s and the resends
    SerialDvram* port = serialDvramOf(1);
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(port->baudIndex, 8);
    EXPECT_EQ(port->parity, 1);
    auto& p = cells::CNFG_SIO;
    p.COMM1_PORT_PARITY = 2;
    p.COMM1_PORT_BAUD = 10;
    // Synchronise on the supervision pass: wait for the first change.
    ASSERT_TRUE(hk::runUntil([&] { return port->baudIndex == 10; }, 200));
    EXPECT_EQ(port->parity, 1);  // PARITY follows one pass later
    hk::runTicks(40);
    EXPECT_EQ(port->parity, 1);
    hk::runTicks(50);
    EXPECT_EQ(port->parity, 2);
}

// Each line setting reaches its own field, option or pin of the port, one per pass; a
// flush goes out on the rising edge of P_FLUSH only and does not hold up the
// settings that follow.
TEST_F(StartSequence, SerialLineSettingsAndFlushReachThePort) {
    testsupport::PtyPair pty;  // a port whose options read back
    ASSERT_TRUE(pty.ok() && pty.openPeer());
    hostio::setTtyPath("/tyCo/0", pty.path(0));
    ASSERT_EQ(start(), 0u);
    hk::runTicks(3000);  // past the first 4 s and the resend of all ten settings
    SerialDvram* port = serialDvramOf(1);
    ASSERT_NE(port, nullptr);
    auto& p = cells::CNFG_SIO;
    // Each setting as the port shows it, 1 or 2 (an option bit or pin: 2 when set).
    const auto option = [port](int bit) { return [port, bit] {
        int opts = 0;
        return hostio::ttyGetOptions(port->readFd, &opts) == 0 && (opts & bit) != 0 ? 2 : 1;
    }; };
    struct Case {
        const char* name;
        const cat::Cell<int32_t>& cell;
        std::function<int()> seen;
    };
    const Case cases[] = {
        {"MODE", p.COMM1_PORT_MODE, [port] { return int(port->readEnding); }},
        {"ENDLINE", p.COMM1_PORT_ENDLINE, [port] { return int(port->writeEnding); }},
        {"IGNCR", p.COMM1_PORT_IGNCR, [port] { return int(port->crHandling); }},
        {"STOP", p.COMM1_PORT_STOP, [port] { return int(port->stopBits); }},
        {"FLOW", p.COMM1_PORT_FLOW, option(hostio::TTY_OPT_TANDEM)},
        {"ECHO", p.COMM1_PORT_ECHO, option(hostio::TTY_OPT_ECHO)},
        {"DRIVER", p.COMM1_PORT_DRIVER, [] { return board::gpioValue(16) == 1 ? 2 : 1; }},  // RS-485 on
    };
    for (const Case& c : cases) {
        for (const Case& d : cases) EXPECT_EQ(d.seen(), &d < &c ? 2 : 1) << c.name << " before, " << d.name;
        c.cell = 2;
        ASSERT_TRUE(hk::runUntil([&] { return c.seen() == 2; }, 200)) << c.name;
    }
    port->abortFlag = 0;
    p.COMM1_PORT_P_FLUSH = 1;
    ASSERT_TRUE(hk::runUntil([&] { return port->abortFlag == 1; }, 200));
    port->abortFlag = 0;
    p.COMM1_PORT_BITS = 2;  // follows while the flush request is held
    ASSERT_TRUE(hk::runUntil([&] { return port->dataBits == 2; }, 200));
    EXPECT_EQ(port->abortFlag, 0u);
    p.COMM1_PORT_P_FLUSH = 0;
    hk::runTicks(200);
    EXPECT_EQ(port->abortFlag, 0u);
    allowStop();
    ASSERT_EQ(stop(), 0u);
    hostio::setTtyPath("/tyCo/0", "");
}

// The stored settings reach the port during the start, before the
// supervision task's first pass.
TEST_F(StartSequence, StoredSerialSettingsAreAppliedAtStart) {
    ASSERT_EQ(start(), 0u);
    cells::CNFG_SIO.COMM1_PORT_BAUD = 11;
    hk::runTask([] { update_ee(); });
    allowStop();
    ASSERT_EQ(stop(), 0u);
    ASSERT_EQ(start(), 0u);
    SerialDvram* port = serialDvramOf(1);
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(port->baudIndex, 11);
}

// The supervision task: the tunables file saved once per rising edge of the
// application's save request and once per request word; the battery clock
// written when the time was set; the platform's shutdown permissive 1 after
// a fatal slip.
// A save writes the whole file with pauses: 2 s covers one.
constexpr uint64_t kSaveTicks = 400;

TEST_F(StartSequence, SupervisionTaskSavesWritesTheBatteryClockAndPublishesThePermissive) {
    ASSERT_EQ(start(), 0u);
    hk::runTicks(1000);
    auto& m = cells::MASTER;
    auto& port = cells::IFACE_IN_SPEED.QT_STEP_AMOUNT_I_NAME;  // a stored tunable to change
    const size_t first = tunablesFile();
    ASSERT_NE(first, 0u);

    port = 2;
    m.EE_UPDATE_B_NAME = 1;
    hk::runTicks(kSaveTicks);
    const size_t second = tunablesFile();
    EXPECT_NE(second, first);
    port = 1;  // held request: no second save
    hk::runTicks(kSaveTicks);
    EXPECT_EQ(tunablesFile(), second);
    m.EE_UPDATE_B_NAME = 0;
    hk::runTicks(kSaveTicks);
    EXPECT_EQ(tunablesFile(), second);
    m.EE_UPDATE_B_NAME = 1;
    hk::runTicks(kSaveTicks);
    const size_t third = tunablesFile();
    EXPECT_NE(third, second);  // the value back as at first: saved again
    m.EE_UPDATE_B_NAME = 0;

    // The request word of the platform: one save, the word cleared.
    port = 2;
    _TWCommandUpdateEE = 1;
    hk::runTicks(kSaveTicks);
    EXPECT_EQ(_TWCommandUpdateEE, 0u);
    EXPECT_NE(tunablesFile(), third);

    // Time settings not yet in the battery clock: one write for all.
    const int writes = hostclock::batteryClockWrites();
    I2C_ClockNeedsUpdated = 2;
    hk::runTicks(kSaveTicks);
    EXPECT_EQ(I2C_ClockNeedsUpdated, 0u);
    EXPECT_EQ(hostclock::batteryClockWrites(), writes + 1);
    hk::runTicks(kSaveTicks);
    EXPECT_EQ(hostclock::batteryClockWrites(), writes + 1);

    // A controller that no longer runs may always be shut down.
    rtcells::CALMODE_CALPERM_B_NAME() = 0;
    hk::runTicks(100);
    EXPECT_EQ(hostplatform::shutdownPermissive(), 0u);
    hk::runTask([] {
        int k = intLock();
        _Slip_Error(40);
        intUnlock(k);
    });
    hk::runTicks(80);  // within 400 ms
    EXPECT_EQ(hostplatform::shutdownPermissive(), 1u);
    allowStop();
}

// One SYNC on the CAN2 network per 20 ms frame once the network is open,
// none before; the SYNC timer word starts again from 0 with each, so it
// cannot run over in a long run.
TEST_F(StartSequence, TheTwentyMillisecondGatherSendsOneSyncPerFrameOnceTheNetworkIsOpen) {
    std::vector<std::pair<uint64_t, int32_t>> syncs;  // tick and the network state then
    std::vector<int32_t> timers;                       // the SYNC timer word as each SYNC leaves
    std::mutex mu;
    const int monitor = hostcan::attach("monitor", [&](const hostcan::Frame& f) {
        std::lock_guard<std::mutex> l(mu);
        if (f.id != 0x80) return;
        syncs.push_back({hk::ticks(), cells::CNFG_CAN2.CAN2_NTW1_STATE});
        timers.push_back(CNFG_CAN2_CAN2_NTW1_2357_SyncTimer);
    });
    ASSERT_EQ(start(), 0u);
    hk::runTicks(400);
    hostcan::detach(monitor);
    EXPECT_EQ(static_cast<int32_t>(cells::CNFG_CAN2.CAN2_NTW1_STATE), 2);
    std::lock_guard<std::mutex> l(mu);
    ASSERT_GT(syncs.size(), 20u);
    for (size_t k = 1; k < syncs.size(); ++k) EXPECT_EQ(syncs[k].first - syncs[k - 1].first, 4u) << k;
    for (const auto& sy : syncs) EXPECT_EQ(sy.second, 2);
    for (const int32_t t : timers) EXPECT_EQ(t, 0);
    EXPECT_GT(syncs.front().first, 34u);  // not before the network opened after the first 160 ms frames
}

// The 80 ms gather copies the E-stop input at each 80 ms release.
TEST_F(StartSequence, TheEightyMillisecondGatherReadsTheEstop) {
    ASSERT_EQ(start(), 0u);
    hk::runTicks(40);
    EXPECT_EQ(ORVEX12_IO_EstopInput, 0);
    board::setEstopButton(true);
    hk::runTicks(16);
    EXPECT_EQ(ORVEX12_IO_EstopInput, 1);
    board::setEstopButton(false);
}

}  // namespace
