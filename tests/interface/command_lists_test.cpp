// The Modbus and OPC command lists on the whole program (its own slice
// table), driven only through its inputs: the links' settings and the OPC
// link's writes as the service side makes them, the controller's analog
// inputs on the board, and a Modbus master (pymodbus) on link 2 over TCP
// writing the coils. The write enables of the links (writes refused by
// default), the window and clear pulse, the latch taking each command once
// with its order number, the reset pulses, the link flags and the OPC link
// supervision. One veto of the Modbus reset pulse, which no input reaches,
// stays on the slices (at the end).
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "host/analog_inputs.h"
#include "host/board.h"
#include "host/hostio.h"
#include "tests/interface/iface_rig.h"
#include "tests/support/paths.h"

extern char** environ;

namespace iface_test {
namespace {

// A Modbus TCP master (tests/interface/coil_master.py) that keeps one
// connection to the controller and takes one request at a time. Once the
// connection is in use the controller answers a request without simulated
// time going on (its link task waits on the socket), so a coil is written
// between two passes the test chooses.
class CoilMaster {
public:
    ~CoilMaster() { stop(); }
    bool start(int port, int unit) {
        signal(SIGPIPE, SIG_IGN);
        int toChild[2], fromChild[2];
        if (pipe(toChild) != 0) return false;
        if (pipe(fromChild) != 0) return false;
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_adddup2(&fa, toChild[0], 0);
        posix_spawn_file_actions_adddup2(&fa, fromChild[1], 1);
        posix_spawn_file_actions_addclose(&fa, toChild[1]);
        posix_spawn_file_actions_addclose(&fa, fromChild[0]);
        const std::string script = tc_test::sourceDir() + "/tests/interface/coil_master.py";
        const std::string portText = std::to_string(port), unitText = std::to_string(unit);
        char* argv[] = {const_cast<char*>("/usr/bin/python3"), const_cast<char*>(script.c_str()),
                        const_cast<char*>(portText.c_str()), const_cast<char*>(unitText.c_str()), nullptr};
        const int rc = posix_spawn(&pid_, argv[0], &fa, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&fa);
        close(toChild[0]);
        close(fromChild[1]);
        to_ = toChild[1];
        from_ = fromChild[0];
        if (rc != 0) pid_ = -1;
        return rc == 0;
    }
    // Sends `request` and returns its answer line ("" when none came within
    // `limitMs` of real time); `meanwhile` runs after every real
    // millisecond without an answer.
    std::string ask(const std::string& request, const std::function<void()>& meanwhile, int limitMs) {
        const std::string line = request + "\n";
        if (write(to_, line.data(), line.size()) != static_cast<ssize_t>(line.size())) return "";
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
        std::string got;
        while (std::chrono::steady_clock::now() < until) {
            pollfd p{from_, POLLIN, 0};
            if (poll(&p, 1, 1) > 0) {
                char c;
                const ssize_t n = read(from_, &c, 1);
                if (n <= 0) return "";
                if (c == '\n') return got;
                got += c;
                continue;
            }
            if (meanwhile) meanwhile();
        }
        return "";
    }
    void stop() {
        if (to_ >= 0) {
            const char q[] = "q\n";
            (void)!write(to_, q, 2);
            close(to_);
            to_ = -1;
        }
        if (from_ >= 0) {
            close(from_);
            from_ = -1;
        }
        if (pid_ > 0) {
            // A master still waiting for an answer is ended after 2 s.
            int status = 0;
            for (int k = 0; k < 200 && waitpid(pid_, &status, WNOHANG) == 0; ++k) usleep(10000);
            if (waitpid(pid_, &status, WNOHANG) == 0) {
                kill(pid_, SIGKILL);
                waitpid(pid_, &status, 0);
            }
            pid_ = -1;
        }
    }

private:
    pid_t pid_ = -1;
    int to_ = -1, from_ = -1;
};

// The Modbus reset command's pulses over the next ten 80 ms passes.
template <class Rig>
int resetPulses(Rig& rig) {
    int n = 0;
    for (int k = 0; k < 10; ++k) n += rig.passAndPulse();
    return n;
}

class CommandLists : public IfaceProgram {
protected:
    void TearDown() override {
        master_.stop();
        IfaceProgram::TearDown();
    }
    std::string coil(int n) { return "MOD.MOD1.BW_V_" + std::to_string(n); }
    std::string sel(int n) { return "MOD_BW.BW_CMD.SEL_" + std::to_string(n); }
    std::vector<uint32_t> sels() {
        std::vector<uint32_t> v;
        for (int n = 1; n <= 22; ++n) v.push_back(boolean(sel(n)));
        return v;
    }
    // Started with a valid configuration (a manual start) and `settings`
    // entered from the service tool while the controller powers up; past
    // the power-up (the Modbus map free).
    using Entries = std::vector<std::pair<std::string, double>>;
    void startWith(const Entries& settings = {}) {
        startApp();
        enterSettings(false, false);
        for (const auto& [name, value] : settings) tune(name, value);
        runPasses(R160, 20);
        ASSERT_EQ(boolean("MASTER.IO_LOCK_OR_PWR.B_NAME"), 0u) << "still powering up";
    }
    // Modbus used and link 2 (Modbus TCP) in use, its writes enabled or
    // not; a master connected to it that has been answered once (simulated
    // time goes on in 10 ms passes until the link takes the connection).
    void connectMaster(bool writes) {
        tune("C_COMM.C1.IN", 1);
        tune("CNFG_COMMS.LINK2_USED.IN", 1);
        tune("CNFG_COMMS.PORT2_WRT_ENBL.IN", writes ? 1 : 0);
        runPasses(R160, 2);
        ASSERT_EQ(integer("MOD.PORT2_COMM_USED.I_SW"), 2);
        ASSERT_TRUE(master_.start(hostio::hostPort(502), 2));
        const std::string answer = master_.ask("r 1 1", [this] { runPasses(R10, 1); }, 60000);
        ASSERT_TRUE(answer == "0" || answer == "1") << answer;
    }
    // Coil n written by the master to `value`, between two passes.
    void writeCoil(int n, int value) {
        EXPECT_EQ(master_.ask("w " + std::to_string(n) + " " + std::to_string(value), nullptr, 20000), "ok") << n;
    }
    // What the map took over from the master reaches the 80 ms group: the
    // map's next 160 ms pass, seen by the 80 ms group from the frame after.
    void seen() { runPasses(R160, 2); }
    // Command n from its input: the master's coil, or its setting (20).
    void command(int n, int value) {
        if (n == 20) tune("MOD_BW.BW_CMD.IN_20", value);
        else writeCoil(n, value);
    }

    CoilMaster master_;

public:
    // One 80 ms pass; whether it gave the Modbus reset pulse.
    bool passAndPulse() {
        runPasses(R80, 1);
        return boolean("RESET.RST_M1.B_ACTION") == 1;
    }
};

// ---- the links' flags ----------------------------------------------------------

struct LinkCase {
    const char* name;
    int c1, used, wrtEnbl, in1, in2, errZ, anySel;
    uint32_t usedOut, enblWrt, noWrite, alm;
};

// Each row entered for all three links from the service tool: Modbus used,
// the link used, its write enable, the two inputs of its use; a link error
// in the pass before from a time-out of 0 s on a link no master talks to;
// the link's alarm-list entry (46 .. 48: the level-2 alarm of analog input
// 1, the level-1 and level-2 alarms of input 2) from both inputs at full
// scale above their setpoints. The last row leaves the entries latched.
const LinkCase kLinkCases[] = {
    {"UsedAndWriting", 1, 1, 1, 0, 1, 0, 0, 1, 1, 0, 0},
    {"NoCommonEnable", 0, 1, 1, 0, 1, 0, 0, 0, 1, 0, 1},
    {"NotUsed", 1, 0, 1, 0, 1, 0, 0, 0, 1, 0, 1},
    {"WritesOff", 1, 1, 0, 0, 1, 0, 0, 1, 0, 1, 1},
    {"LinkErrorLastPass", 1, 1, 1, 0, 1, 1, 0, 1, 0, 1, 1},
    {"NeitherUseInput", 1, 1, 1, 0, 0, 0, 0, 1, 0, 1, 1},
    {"FirstUseInputAlone", 1, 1, 1, 1, 0, 0, 0, 1, 1, 0, 0},
    {"AlarmListEntry", 1, 1, 1, 0, 1, 0, 1, 1, 1, 0, 1},
};

// No master on any link: each link's time-out is the longest the service
// tool takes (100 s, from the start on) except in the row with a link
// error. By default no link is used and writes are refused; one link in
// use, writing and free of alarms clears the summary.
TEST_F(CommandLists, EachLinkFlagFollowsItsInputs) {
    board::setAnalogInputMa(0, 8.0);
    board::setAnalogInputMa(1, 8.0);
    // The analog inputs 1 and 2 carry signal monitoring (function 13) on
    // 0 .. 100; their alarm levels armed at any speed, without delay.
    startWith({{"MOD.QT_TIME_OUT_1.IN", 100.0}, {"MOD.QT_TIME_OUT_2.IN", 100.0}, {"MOD.QT_TIME_OUT_3.IN", 100.0},
               {"_ub6.FUNCT.IN", 13}, {"_ub7.FUNCT.IN", 13}, {"_ub6.RANGE_LO.IN", 0.0}, {"_ub6.RANGE_HI.IN", 100.0},
               {"_ub7.RANGE_LO.IN", 0.0}, {"_ub7.RANGE_HI.IN", 100.0}, {"_ub1.SPEED_ENA.IN", -1},
               {"_ub2.SPEED_ENA.IN", -1}, {"_ub1.ALM_DLY.IN", 0.0}, {"_ub2.ALM_DLY.IN", 0.0}, {"_ub1.USE_SP2.IN", 1},
               {"_ub2.USE_SP1.IN", 1}, {"_ub2.USE_SP2.IN", 1}});
    runPasses(R160, 2);
    for (int k = 1; k <= 3; ++k) {
        const std::string n = std::to_string(k);
        EXPECT_EQ(boolean("MOD.PORT" + n + "_ENBL_WRT.AND"), 0u) << k;
        EXPECT_EQ(boolean("MOD.PORT" + n + "_USED.B_NAME"), 0u) << k;
        EXPECT_EQ(boolean("ALARMS.LINK" + n + "_ALM_USED.OR"), 1u) << k;
        EXPECT_EQ(boolean("ALARMS.ANY.SEL_" + std::to_string(45 + k)), 0u) << k;
    }
    EXPECT_EQ(boolean("ALARMS.ANY_MOD1_ALM.AND"), 1u) << "no link in use";

    // Link 1 alone in use and writing.
    tune("C_COMM.C1.IN", 1);
    tune("C_COMM.C2.IN", 1);
    tune("CNFG_COMMS.PORT1_WRT_ENBL.IN", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("ALARMS.LINK1_ALM_USED.OR"), 0u);
    EXPECT_EQ(boolean("ALARMS.LINK2_ALM_USED.OR"), 1u);
    EXPECT_EQ(boolean("ALARMS.ANY_MOD1_ALM.AND"), 0u);

    const char* used[] = {"C_COMM.C2.IN", "CNFG_COMMS.LINK2_USED.IN", "CNFG_COMMS.LINK3_USED.IN"};
    for (const LinkCase& c : kLinkCases) {
        for (int k = 1; k <= 3; ++k) {
            const std::string n = std::to_string(k);
            tune("C_COMM.C1.IN", c.c1);
            tune(used[k - 1], c.used);
            tune("CNFG_COMMS.PORT" + n + "_WRT_ENBL.IN", c.wrtEnbl);
            tune("MOD.USE_MOD" + n + "_OR_TRIP.IN_1", c.in1);
            tune("MOD.USE_MOD" + n + "_OR_TRIP.IN_2", c.in2);
            tune("MOD.QT_TIME_OUT_" + n + ".IN", c.errZ != 0 ? 0.0 : 100.0);
        }
        if (c.anySel != 0) {
            board::setAnalogInputMa(0, 20.0);
            board::setAnalogInputMa(1, 20.0);
        }
        runPasses(R160, 3);
        for (int k = 1; k <= 3; ++k) {
            const std::string n = std::to_string(k);
            EXPECT_EQ(boolean("MOD.LNK" + n + "_ERR_Z.ZMINUS1_B"), static_cast<uint32_t>(c.errZ)) << c.name << k;
            EXPECT_EQ(boolean("ALARMS.ANY.SEL_" + std::to_string(45 + k)), static_cast<uint32_t>(c.anySel))
                << c.name << k;
            EXPECT_EQ(boolean("MOD.PORT" + n + "_USED.B_NAME"), c.usedOut) << c.name << k;
            EXPECT_EQ(boolean("CNFG_COMMS.MOD_LINK" + n + "_USED.AND"), c.usedOut) << c.name << k;
            EXPECT_EQ(boolean("MOD.NO_PORT" + n + ".NOT"), 1u - c.usedOut) << c.name << k;
            EXPECT_EQ(boolean("MOD.PORT" + n + "_ENBL_WRT.AND"), c.enblWrt) << c.name << k;
            EXPECT_EQ(boolean("ALARMS.PORT" + n + "_NO_WRITE.NOT"), c.noWrite) << c.name << k;
            EXPECT_EQ(boolean("ALARMS.LINK" + n + "_ALM_USED.OR"), c.alm) << c.name << k;
        }
        EXPECT_EQ(boolean("ALARMS.ANY_MOD1_ALM.AND"), c.alm) << c.name;
    }
}

// ---- the Modbus command latch -------------------------------------------------------

// The setting opens the window; a latched command holds it open once the
// setting is gone, but the clear pulse drops the command. Then a master on
// link 2: its coils refused while writes are off, taken into the list once
// they are on; the latch numbers the commands in list order each pass and
// takes each once; every coil reaches its own command.
TEST_F(CommandLists, TheLatchNumbersCommandsInListOrderAndTakesEachOnce) {
    startWith();
    tune("MOD_BW.OR_ENABLE.IN_2", 1);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("MOD_BW.OR_ENABLE.OR"), 1u);
    EXPECT_EQ(boolean("MOD_BW.WRIT_OFF_DLY.DELAY"), 1u);
    EXPECT_EQ(integer("MOD_BW.WRIT_OFF_DLY.R_TIME"), 0);
    runPasses(R80, 14);
    tune("MOD_BW.BW_CMD.IN_20", 1);
    runPasses(R80, 1);
    EXPECT_EQ(boolean(sel(20)), 1u);
    EXPECT_EQ(boolean("MOD_BW.ZLATCH.ZMINUS1_B"), 1u);
    tune("MOD_BW.OR_ENABLE.IN_2", 0);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("MOD_BW.OR_ENABLE.OR"), 1u) << "held open by the latched command";
    EXPECT_EQ(boolean(sel(20)), 0u) << "the clear pulse runs once the enables are gone";
    EXPECT_EQ(integer("MOD_BW.CLEAR_BWS.R_TIME"), 0);
    tune("MOD_BW.BW_CMD.IN_20", 0);
    ASSERT_GT(passesUntil(R80, "MOD_BW.WRIT_OFF_DLY.DELAY", 0, 30), 0);
    runPasses(R80, 14);  // the clear pulse has run out

    // Writes refused: the master's coils change nothing.
    connectMaster(false);
    for (int n : {1, 5, 7, 22}) writeCoil(n, 1);
    runPasses(R160, 3);
    for (int n : {1, 5, 7, 22}) EXPECT_EQ(boolean(coil(n)), 0u) << n;
    EXPECT_EQ(boolean("MOD_BW.OR_ENABLE.OR"), 0u);
    EXPECT_EQ(boolean("MOD_BW.WRIT_OFF_DLY.DELAY"), 0u);
    EXPECT_EQ(sels(), std::vector<uint32_t>(22, 0u));
    EXPECT_EQ(boolean("MOD_BW.BW_CMD.LOGICAL_OR"), 0u) << "the latch rests while the window is shut";

    // Writes enabled: the window opens.
    tune("CNFG_COMMS.PORT2_WRT_ENBL.IN", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("MOD.PORT2_ENBL_WRT.AND"), 1u);
    EXPECT_EQ(boolean("MOD_BW.OR_ENABLE.OR"), 1u);
    EXPECT_EQ(boolean("MOD_BW.WRIT_OFF_DLY.DELAY"), 1u);
    EXPECT_EQ(boolean("MOD_BW.CLEAR_BWS.ONE_SHOT"), 0u);
    writeCoil(7, 1);
    writeCoil(2, 1);
    tune("MOD_BW.BW_CMD.IN_20", 1);
    seen();
    EXPECT_EQ(boolean(coil(7)), 1u);
    EXPECT_EQ(boolean(sel(2)), 1u);
    EXPECT_EQ(boolean(sel(7)), 1u);
    EXPECT_EQ(boolean(sel(20)), 1u) << "command 20 comes from its setting";
    EXPECT_EQ(integer("MOD_BW.BW_CMD.ALM_NO_2"), 1);
    EXPECT_EQ(integer("MOD_BW.BW_CMD.ALM_NO_7"), 2);
    EXPECT_EQ(integer("MOD_BW.BW_CMD.ALM_NO_20"), 3);
    EXPECT_EQ(integer("MOD_BW.BW_CMD.ALM_NO_5"), 0);
    EXPECT_EQ(integer("MOD_BW.BW_CMD.FIRST_ALM"), 2);
    EXPECT_EQ(boolean("MOD_BW.BW_CMD.LATCH1"), 1u);
    EXPECT_EQ(boolean("MOD_BW.BW_CMD.HORN"), 1u);
    EXPECT_EQ(boolean("MOD_BW.BW_CMD.LOGICAL_OR"), 1u);
    EXPECT_EQ(boolean("MOD_BW.ZLATCH.ZMINUS1_B"), 1u);
    // A coil that drops drops its command; the rest renumber.
    writeCoil(2, 0);
    tune("MOD_BW.BW_CMD.IN_20", 0);
    seen();
    EXPECT_EQ(boolean(sel(2)), 0u);
    EXPECT_EQ(integer("MOD_BW.BW_CMD.ALM_NO_7"), 1);
    EXPECT_EQ(integer("MOD_BW.BW_CMD.FIRST_ALM"), 7);
    writeCoil(7, 0);
    seen();
    EXPECT_EQ(sels(), std::vector<uint32_t>(22, 0u));
    EXPECT_EQ(boolean("MOD_BW.BW_CMD.LATCH1"), 0u);
    EXPECT_EQ(integer("MOD_BW.BW_CMD.FIRST_ALM"), 0);
    EXPECT_EQ(boolean("MOD_BW.BW_CMD.LOGICAL_OR"), 0u);

    // Each command alone reaches its own output, first and numbered 1.
    for (int n = 1; n <= 22; ++n) {
        command(n, 1);
        seen();
        std::vector<uint32_t> expect(22, 0u);
        expect[size_t(n - 1)] = 1;
        EXPECT_EQ(sels(), expect) << n;
        EXPECT_EQ(integer("MOD_BW.BW_CMD.ALM_NO_" + std::to_string(n)), 1) << n;
        EXPECT_EQ(integer("MOD_BW.BW_CMD.FIRST_ALM"), n);
        command(n, 0);
        seen();
        EXPECT_EQ(integer("MOD_BW.BW_CMD.ALM_NO_" + std::to_string(n)), 0) << n;
    }
}

// A reset command held on the coil gives a single pulse; none while its
// own reset input is on. Then the write enable removed while coil 7 is
// held: the command drops within a pass, the window closes half a second
// later and the command stays off; writes enabled again, it comes back.
TEST_F(CommandLists, ResetPulseAndRemovingTheWriteEnable) {
    startWith();
    connectMaster(true);
    runPasses(R80, 14);
    // Pulses over ten 80 ms passes after the coil is written.
    auto pulses = [this](int value) {
        writeCoil(4, value);
        return resetPulses(*this);
    };
    EXPECT_EQ(pulses(1), 1);
    EXPECT_EQ(integer("RESET.RST_M1.ACT_OUT"), 5);
    EXPECT_EQ(boolean(sel(4)), 1u) << "the command stays while the coil is on";
    EXPECT_EQ(pulses(0), 0);
    EXPECT_EQ(pulses(1), 1) << "a new command, a new pulse";
    EXPECT_EQ(pulses(0), 0);
    tune("RESET.RST_M1.RST_2", 1);
    EXPECT_EQ(pulses(1), 0);
    EXPECT_EQ(boolean(sel(4)), 1u);
    EXPECT_EQ(pulses(0), 0);
    tune("RESET.RST_M1.RST_2", 0);

    writeCoil(7, 1);
    seen();
    ASSERT_EQ(boolean(sel(7)), 1u);
    tune("CNFG_COMMS.PORT2_WRT_ENBL.IN", 0);
    // The 80 ms group sees the enable gone after the 160 ms pass.
    ASSERT_EQ(passesUntil(R160, "MOD.PORT2_ENBL_WRT.AND", 0, 2), 1);
    const int dropped = passesUntil(R80, sel(7), 0, 4);
    EXPECT_GE(dropped, 1);
    EXPECT_LE(dropped, 3);
    EXPECT_EQ(boolean("MOD_BW.CLEAR_BWS.ONE_SHOT"), 1u);
    EXPECT_EQ(boolean("MOD_BW.WRIT_OFF.NOT"), 1u);
    EXPECT_EQ(boolean("MOD_BW.WRIT_OFF_DLY.DELAY"), 1u) << "the window is still open";
    const int closed = passesUntil(R80, "MOD_BW.WRIT_OFF_DLY.DELAY", 0, 12);
    EXPECT_GE(closed, 6);
    EXPECT_LE(closed, 8);
    runPasses(R80, 20);
    EXPECT_EQ(boolean(coil(7)), 1u) << "the coil is still written";
    EXPECT_EQ(boolean(sel(7)), 0u);
    EXPECT_EQ(boolean("MOD_BW.BW_CMD.LOGICAL_OR"), 1u) << "frozen as the window closed";
    // Writes enabled again: the held coil is a command once the clear
    // pulse has run out.
    tune("CNFG_COMMS.PORT2_WRT_ENBL.IN", 1);
    EXPECT_GT(passesUntil(R80, sel(7), 1, 30), 0);
}

// ---- OPC ----------------------------------------------------------------

class OpcCommands : public CommandLists {
protected:
    std::string in(int n) { return "OPC_DATA.BW_LIST.IN_" + std::to_string(n); }
    std::string osel(int n) { return "OPC_DATA.BW_CMDS.SEL_" + std::to_string(n); }
    // The link's writes enabled or not from the service tool, seen by the
    // 80 ms group.
    void writes(int on) {
        tune("OPC_DATA.ENA_WRITES.IN", on);
        runPasses(R160, 2);
    }
};

// Commands latch only in the window and not during the clear pulse of the
// writes disabled; with its reset off the latch holds its commands when the
// window closes, whatever the link writes.
TEST_F(OpcCommands, CommandsLatchOnlyInTheWindowAndNotDuringTheClearPulse) {
    startWith();
    tune(in(9), 1);
    tune(in(3), 1);
    runPasses(R80, 2);
    EXPECT_EQ(boolean("OPC_DATA.BW_LIST.LIST_9"), 1u);
    EXPECT_EQ(boolean(osel(9)), 0u) << "window closed";
    EXPECT_EQ(boolean("OPC_DATA.BW_CMDS.LOGICAL_OR"), 0u);
    writes(1);
    EXPECT_EQ(boolean(osel(3)), 1u);
    EXPECT_EQ(boolean(osel(9)), 1u);
    EXPECT_EQ(integer("OPC_DATA.BW_CMDS.ALM_NO_3"), 1);
    EXPECT_EQ(integer("OPC_DATA.BW_CMDS.ALM_NO_9"), 2);
    EXPECT_EQ(integer("OPC_DATA.BW_CMDS.FIRST_ALM"), 3);
    EXPECT_EQ(boolean("OPC_DATA.BW_CMDS.HORN"), 1u);
    EXPECT_EQ(boolean("OPC_DATA.BW_CMDS.LATCH1"), 1u);
    // The clear pulse, the window still open: nothing latches, the OR
    // still reports. Enabled again at once, the window stays open.
    writes(0);
    ASSERT_EQ(boolean("OPC_DATA.CLEAR_BWS.ONE_SHOT"), 1u);
    ASSERT_EQ(boolean("OPC_DATA.WRIT_OFF_DLY.DELAY"), 1u);
    EXPECT_EQ(boolean(osel(3)), 0u);
    EXPECT_EQ(boolean(osel(9)), 0u);
    EXPECT_EQ(boolean("OPC_DATA.BW_CMDS.LOGICAL_OR"), 1u);
    EXPECT_EQ(integer("OPC_DATA.BW_CMDS.FIRST_ALM"), 0);
    writes(1);
    ASSERT_GT(passesUntil(R160, "OPC_DATA.CLEAR_BWS.ONE_SHOT", 0, 10), 0);
    runPasses(R160, 2);
    EXPECT_EQ(boolean(osel(9)), 1u);
    // Window closed with the latch's reset off: the outputs hold whatever
    // the link writes.
    tune("OPC_DATA.BW_CMDS.RST", 0);
    writes(0);
    ASSERT_GT(passesUntil(R160, "OPC_DATA.WRIT_OFF_DLY.DELAY", 0, 10), 0);
    runPasses(R160, 2);
    EXPECT_EQ(boolean(osel(9)), 1u);
    tune(in(9), 0);
    tune(in(12), 1);
    runPasses(R80, 3);
    EXPECT_EQ(boolean(osel(9)), 1u);
    EXPECT_EQ(boolean(osel(12)), 0u);
}

TEST_F(OpcCommands, WithoutTheResetACommandStaysLatchedAndTheTripNeedsItsEnables) {
    startWith();
    writes(1);
    tune("OPC_DATA.BW_CMDS.RST", 0);
    tune(in(3), 1);
    runPasses(R80, 1);
    tune(in(3), 0);
    tune(in(5), 1);
    runPasses(R80, 2);
    EXPECT_EQ(boolean(osel(3)), 1u) << "latched";
    EXPECT_EQ(integer("OPC_DATA.BW_CMDS.ALM_NO_5"), 2);
    EXPECT_EQ(integer("OPC_DATA.BW_CMDS.FIRST_ALM"), 3);
    EXPECT_EQ(boolean("OPC_DATA.OPC_TRIP.AND"), 0u);
    tune("OPC_DATA.ENA_OPC_TRIP.IN", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("OPC_DATA.ENA_OPC_TRIP.B_NAME"), 1u);
    EXPECT_EQ(boolean("OPC_DATA.NO_FLT.NOT"), 1u);
    EXPECT_EQ(boolean("OPC_DATA.OPC_TRIP.AND"), 1u);
    // A link fault (the heartbeat's third input, with the fault enabled).
    tune("OPC_DATA.ENA_FLT.IN_3", 1);
    tune("OPC_DATA.HB_LOST.IN_3", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("OPC_DATA.NO_FLT.NOT"), 0u);
    EXPECT_EQ(boolean("OPC_DATA.OPC_TRIP.AND"), 0u) << "not with a link fault";
    tune("OPC_DATA.BW_CMDS.RST", 1);
    runPasses(R80, 1);
    EXPECT_EQ(boolean(osel(3)), 0u);
    EXPECT_EQ(integer("OPC_DATA.BW_CMDS.ALM_NO_5"), 1);
}

// Every written command reaches its own output; the reset command gives a
// single pulse, none while its own reset input is on.
TEST_F(OpcCommands, EveryWrittenCommandReachesItsOwnOutputAndTheResetPulses) {
    startWith();
    writes(1);
    for (int n = 1; n <= 20; ++n) {
        tune(in(n), 1);
        runPasses(R80, 1);
        for (int m = 1; m <= 20; ++m) {
            const std::string k = std::to_string(m);
            EXPECT_EQ(boolean("OPC_DATA.BW_LIST.LIST_" + k), m == n ? 1u : 0u) << n << " " << m;
            EXPECT_EQ(boolean(osel(m)), m == n ? 1u : 0u) << n << " " << m;
            EXPECT_EQ(integer("OPC_DATA.BW_CMDS.ALM_NO_" + k), m == n ? 1 : 0) << n << " " << m;
        }
        EXPECT_EQ(integer("OPC_DATA.BW_CMDS.FIRST_ALM"), n);
        tune(in(n), 0);
    }
    runPasses(R80, 2);
    tune(in(4), 1);
    std::vector<uint32_t> pulses;
    for (int k = 0; k < 5; ++k) {
        runPasses(R80, 1);
        pulses.push_back(boolean("RESET.RST_OPC.B_ACTION"));
    }
    EXPECT_EQ(pulses, (std::vector<uint32_t>{1, 0, 0, 0, 0}));
    EXPECT_EQ(integer("RESET.RST_OPC.ACT_OUT"), 5);
    tune(in(4), 0);
    runPasses(R80, 1);
    tune("RESET.RST_OPC.RST_2", 1);
    tune(in(4), 1);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("RESET.RST_OPC.B_ACTION"), 0u);
}

// The link toggles its heartbeat with command 20. Toggled every 4 s it is
// never lost; stuck, it is lost 5 s after its last change, by the delay of
// the level it stuck at. A lost heartbeat is a link fault only with writes
// enabled; the fault's pulse lasts 2 s although the fault stays.
TEST_F(OpcCommands, AStuckHeartbeatIsALinkFaultOnlyWithWritesEnabled) {
    startWith();
    tune("OPC_DATA.ENA_FLT.IN_3", 1);
    writes(1);
    // One edge of command 20: 80 ms passes until the link's supervision
    // in the 80 ms group sees the heartbeat changed.
    auto toggle = [this] {
        const uint32_t before = boolean("OPC_DATA.HEARTBEAT.B_NAME");
        tune(in(20), 1);
        const int k = passesUntil(R80, "OPC_DATA.HB_NOT.NOT", before, 10);
        tune(in(20), 0);
        EXPECT_EQ(boolean("OPC_DATA.HEARTBEAT.B_NAME"), 1u - before);
        return k;
    };
    for (int k = 0; k < 4; ++k) {
        ASSERT_GT(toggle(), 0) << k;
        for (int p = 0; p < 50; ++p) {
            runPasses(R80, 1);
            ASSERT_EQ(boolean("OPC_DATA.HB_LOST.OR"), 0u) << k << " " << p;
        }
    }
    // Stuck: lost once the 5 s have been counted at 0.08 s a pass; 50
    // passes were already counted.
    const uint32_t level = boolean("OPC_DATA.HEARTBEAT.B_NAME");
    const int lost = passesUntil(R80, "OPC_DATA.HB_LOST.OR", 1, 80);
    EXPECT_GE(lost, 11);
    EXPECT_LE(lost, 16);
    EXPECT_EQ(boolean("OPC_DATA.BEAT_T.DELAY"), level);
    EXPECT_EQ(boolean("OPC_DATA.BEAT_F.DELAY"), 1u - level);
    EXPECT_EQ(real("OPC_DATA.HB_TIMEOUT.A_NAME"), 5.0f);
    EXPECT_EQ(boolean("OPC_DATA.ENA_FLT.AND"), 1u);
    EXPECT_EQ(boolean("OPC_DATA.LINK_FLT.B_NAME"), 1u);
    EXPECT_EQ(boolean("OPC_DATA.LINK_FLT_OS.ONE_SHOT"), 1u);
    // The fault pulse lasts 2 s although the fault stays.
    const int pulse = passesUntil(R80, "OPC_DATA.LINK_FLT_OS.ONE_SHOT", 0, 40);
    EXPECT_GE(pulse, 24);
    EXPECT_LE(pulse, 27);
    EXPECT_EQ(boolean("OPC_DATA.LINK_FLT.B_NAME"), 1u);
    // Writes disabled: lost, but no fault.
    writes(0);
    EXPECT_EQ(boolean("OPC_DATA.HB_LOST.OR"), 1u);
    EXPECT_EQ(boolean("OPC_DATA.ENA_FLT.AND"), 0u);
    EXPECT_EQ(boolean("OPC_DATA.LINK_FLT.B_NAME"), 0u) << "no fault without writes enabled";
    // Enabled again (after the clear pulse of the disabling) and toggled
    // once more: the delay of the old level drops at once, the other one
    // counts its 5 s.
    writes(1);
    ASSERT_GT(passesUntil(R160, "OPC_DATA.CLEAR_BWS.ONE_SHOT", 0, 10), 0);
    ASSERT_GT(toggle(), 0);
    EXPECT_EQ(boolean(level != 0 ? "OPC_DATA.BEAT_T.DELAY" : "OPC_DATA.BEAT_F.DELAY"), 0u);
    const int lostAgain = passesUntil(R80, level != 0 ? "OPC_DATA.BEAT_F.DELAY" : "OPC_DATA.BEAT_T.DELAY", 1, 80);
    EXPECT_GE(lostAgain, 60);
    EXPECT_LE(lostAgain, 64);
    EXPECT_EQ(boolean("OPC_DATA.HB_NOT.NOT"), level);
    // The third input alone, just after a change of the heartbeat.
    ASSERT_GT(toggle(), 0);
    tune("OPC_DATA.HB_LOST.IN_3", 1);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("OPC_DATA.HB_LOST.OR"), 1u);
    EXPECT_EQ(boolean("OPC_DATA.BEAT_F.DELAY"), 0u);
    EXPECT_EQ(boolean("OPC_DATA.BEAT_T.DELAY"), 0u);
}

// ---- on the slices --------------------------------------------------------------

// Kept on the slices: every link failed is never seen with a coil written,
// since the map holds (and clears) every coil in the very pass in which
// every link is in error; only the slices show that it vetoes the pulse.
class ResetVetoSlices : public IfaceRig {
public:
    bool passAndPulse() {
        runPasses(R80, 1);
        return boolean("RESET.RST_M1.B_ACTION") == 1;
    }
};

TEST_F(ResetVetoSlices, EveryLinkFailedVetoesTheResetPulse) {
    startApp();
    setCell("C_COMM.C1.IN", 1);
    setCell("C_COMM.C2.IN", 1);
    setCell("CNFG_COMMS.PORT1_WRT_ENBL.IN", 1);
    runPasses(R160, 2);
    runPasses(R80, 14);
    auto pulses = [this](int value) {
        setCell("MOD.MOD1.BW_V_4", value);
        return resetPulses(*this);
    };
    EXPECT_EQ(pulses(1), 1);
    EXPECT_EQ(pulses(0), 0);
    setCell("MOD_LNK_STAT.ALL_LNK_FAIL.B_NAME", 1);
    EXPECT_EQ(pulses(1), 0);
    EXPECT_EQ(boolean("MOD_BW.BW_CMD.SEL_4"), 1u);
    EXPECT_EQ(pulses(0), 0);
    setCell("MOD_LNK_STAT.ALL_LNK_FAIL.B_NAME", 0);
    EXPECT_EQ(pulses(1), 1);
}

}  // namespace
}  // namespace iface_test
