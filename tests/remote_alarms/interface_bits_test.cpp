// The speed-control interface bits, the tripped alarm, the remote-cascade
// enable, the start-message pulses and the Modbus trip and reset of the 80 ms
// group. On the whole program where an input reaches the case (IfaceProgram,
// TrippedAlarm); the cases still on slices 12 and 20 and the end-of-pass unit
// delays set their inputs as their slices would leave them, each with the
// reason.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/config/CNFG_SETPT.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/CASC_RATE.cells.h"
#include "app/control/IFACE_IN_CASC.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "app/interface/RMT_CAS_EN.cells.h"
#include "app/interface/MOD.cells.h"
#include "app/interface/MOD_BW.cells.h"
#include "app/interface/SIO1.cells.h"
#include "app/control/control_slices.h"
#include "app/control/unit_delays_r80.h"
#include "app/remote_io/remote_io.h"
#include "host/analog_inputs.h"
#include "host/board.h"
#include "host/turbine_model.h"
#include "tests/support/app_harness.h"
#include "tests/interface/program_cases_rig.h"
#include "tests/support/ref_rig.h"

namespace {

constexpr int R10 = 0, R40 = 2, R80 = 3, R160 = 4;

bool g_defaults = false;
void defaultsOnce() {
    if (g_defaults) return;
    g_defaults = true;
    tc_test::loadTunableDefaults();
}
void unitDelays80() {
    r80::unit_delays_store();
    r80::unit_delays_commit();
}

class IfaceBits : public tc_test::AppHarness {
protected:
    void SetUp() override {
        AppHarness::SetUp();
        g_defaults = false;
        useSlices(R10, {defaultsOnce});
        useSlices(R80, {_R80_TASK_12, _R80_TASK_18, _R80_TASK_20, unitDelays80});
        useSlices(R160, {r160::SPDC_max_gov_margin});
        startApp();
        runPasses(R80, 2);
    }
    // Enough passes for a value of any group to reach the 80 ms group and
    // its results to settle.
    void settle() {
        runPasses(R160, 2);
        runPasses(R80, 2);
    }
};

// Kept on the slices: the program selects only the sets 1, 2 and 5 (the
// optimal off-line and on-line sets 3 and 4 have no input that selects
// them); the whole-program run below shows the off-line and on-line sets
// (the optimizer's set 5 is not converted).
TEST_F(IfaceBits, EachActiveDynamicsReachesItsOwnInterfaceBitAndTheOffLineFlag) {
    const char* outs[] = {"IFACE_OUT_SPEED.MANUL_OFFL.B_NAME", "IFACE_OUT_SPEED.MANUL_ONL.B_NAME",
                          "IFACE_OUT_SPEED.OPTI_OFFL.B_NAME", "IFACE_OUT_SPEED.OPTI_ONL.B_NAME",
                          "IFACE_OUT_SPEED.USING_OPTIDYN.B_NAME"};
    const uint32_t offline[] = {1, 0, 1, 0, 0};
    for (int k = 2; k < 5; ++k) {  // the sets 3, 4 and 5
        for (int j = 0; j < 5; ++j) setCell("SPD_CTRL.DYN_ACTIV.OUT_" + std::to_string(j + 1), j == k ? 1 : 0);
        runPasses(R80, 1);
        for (int j = 0; j < 5; ++j) EXPECT_EQ(boolean(outs[j]), j == k ? 1u : 0u) << "active " << k + 1 << " " << outs[j];
        EXPECT_EQ(boolean("IFACE_OUT_SPEED.OFFLINE.OR"), offline[k]) << "active " << k + 1;
    }
    for (int j = 0; j < 5; ++j) setCell("SPD_CTRL.DYN_ACTIV.OUT_" + std::to_string(j + 1), 0);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("IFACE_OUT_SPEED.OFFLINE.OR"), 0u);
}

// Kept on the slices for the reference at and above a zero governor range:
// the program trips on a zero range (see
// IfaceProgram.AZeroGovernorRangeTripsAndGivesMinus1e36BelowIt), so no start
// brings the reference there.
TEST_F(IfaceBits, TheLoadPercentageIsTheReferencesPlaceInTheGovernorRange) {
    const struct {
        double ramp, minGov, maxGov;
        float rpm, range, pct;
    } rows[] = {
        {1000.0, 1000.0, 1000.0, 0.0f, 0.0f, 1e36f},      // a zero range at the minimum: +1e34 x 100
        {1200.0, 1000.0, 1000.0, 200.0f, 0.0f, 1e36f},
    };
    for (const auto& r : rows) {
        setCell("SPDC.SPEED_REF.RAMP", r.ramp);
        setCell("CNFG_SETPT.MIN_GOV.A_NAME", r.minGov);
        setCell("IFACE_IN_SPEED.MAX_GOV.A_NAME", r.maxGov);
        settle();
        EXPECT_EQ(real("SPDC.SP_RPM.SUBTRACT"), r.rpm) << r.ramp;
        EXPECT_EQ(real("SPDC.RANGE.SUBTRACT"), r.range) << r.ramp;
        EXPECT_FLOAT_EQ(real("SPDC.PCT_RANGE.MULTIPLY"), r.pct) << r.ramp << " " << r.maxGov;
        EXPECT_FLOAT_EQ(real("SPDC.RATIO.DIVIDE") * 100.0f, r.pct);
        EXPECT_EQ(real("IFACE_OUT_SPEED.MDRIVE_LOAD.A_NAME"), real("SPDC.PCT_RANGE.MULTIPLY"));
    }
}

// The interface bits on the whole program: an automatic start to idle, rated
// selected and in control, the reference raised to the maximum governor, a
// valve-limiter value entered outside its limits and back inside, a
// controlled stop aborted, a trip and its reset. Every 80 ms pass checks
// each interface bit against its sources as the 80 ms group's copies hold
// them (a value of a faster or slower group reaches the group at the start
// of its frame), and the run shows which rows of the sources it went
// through.
class IfaceProgram : public ref_test::RefRig {
protected:
    void check(int n = 1) {
        for (int k = 0; k < n; ++k) {
            runPasses(R80, 1);
            checkPass();
        }
    }
    void checkPass() {
        // The active dynamics set: its own bit, and the off-line flag.
        const char* outs[] = {"IFACE_OUT_SPEED.MANUL_OFFL.B_NAME", "IFACE_OUT_SPEED.MANUL_ONL.B_NAME",
                              "IFACE_OUT_SPEED.OPTI_OFFL.B_NAME", "IFACE_OUT_SPEED.OPTI_ONL.B_NAME",
                              "IFACE_OUT_SPEED.USING_OPTIDYN.B_NAME"};
        int active = 0;
        for (int j = 0; j < 5; ++j) {
            const uint32_t set = boolean("SPD_CTRL.DYN_ACTIV.OUT_" + std::to_string(j + 1));
            EXPECT_EQ(boolean(outs[j]), set) << outs[j];
            if (set != 0) active = j + 1;
        }
        EXPECT_EQ(boolean("IFACE_OUT_SPEED.OFFLINE.OR"), active == 1 || active == 3 ? 1u : 0u) << active;
        dynamics_ |= 1 << active;
        // The load percentage: the reference's place in the governor range.
        const float ramp = r80::SPDC.SPEED_REF_RAMP, minGov = r80::CNFG_SETPT.MIN_GOV_A_NAME,
                    maxGov = r80::IFACE_IN_SPEED.MAX_GOV_A_NAME;
        EXPECT_EQ(real("SPDC.SP_RPM.SUBTRACT"), ramp - minGov);
        EXPECT_EQ(real("SPDC.RANGE.SUBTRACT"), maxGov - minGov);
        const float ratio = maxGov == minGov ? (ramp >= minGov ? 1e34f : -1e34f) : (ramp - minGov) / (maxGov - minGov);
        EXPECT_FLOAT_EQ(real("SPDC.RATIO.DIVIDE"), ratio);
        EXPECT_FLOAT_EQ(real("SPDC.PCT_RANGE.MULTIPLY"), 100.0f * ratio);
        EXPECT_EQ(real("IFACE_OUT_SPEED.MDRIVE_LOAD.A_NAME"), real("SPDC.PCT_RANGE.MULTIPLY"));
        load_ |= ramp < minGov ? 1 : ramp <= maxGov ? 2 : 4;
        // The reference against the margin below the maximum governor.
        const float margin = r80::SPDC.SUB_1_SUBTRACT, ref = r80::IFACE_OUT_SPEED.SPEED_REF_A_NAME;
        EXPECT_EQ(real("SPDC.SUB_1.SUBTRACT"), real("IFACE_IN_SPEED.MAX_GOV.A_NAME") - 1.0f);
        EXPECT_EQ(boolean("SPDC.SR_MXGGRRE.A_COMPARE"), margin >= ref ? 1u : 0u) << ref;
        EXPECT_EQ(boolean("SPDC.SR_MXGGRRE.A_EQUAL"), margin == ref ? 1u : 0u) << ref;
        margin_ |= margin > ref ? 1 : margin == ref ? 2 : 4;
        // The interface copies.
        const struct {
            const char* source;
            std::vector<const char*> copies;
        } copies[] = {
            {"SPDC.Z01_C2.B_ACTION", {"IFACE_OUT_SPEED.NSD_IN_PROGRESS.B_NAME"}},
            {"CNTRL_STOP.NSD_ENABLED.LATCH_R",
             {"CNTRL_STOP.CSD_SEQ.B_NAME", "IFACE_OUT_START.CSD_SEQ_ENABLED.B_NAME"}},
            {"START.SD_CLEAR.NOT", {"IFACE_OUT_START.SD_CLEAR.B_NAME"}},
            {"HP_LIMTER.INVALID_SP.OR", {"IFACE_OUT_VLV.INVALID_SP.B_NAME"}},
        };
        for (size_t j = 0; j < std::size(copies); ++j) {
            const uint32_t v = boolean(copies[j].source);
            for (const char* c : copies[j].copies) EXPECT_EQ(boolean(c), v) << copies[j].source << " -> " << c;
            copied_[j] |= v != 0 ? 2 : 1;
        }
        // Moving to idle: either idle step of the chart, whose steps are
        // committed at the end of the 80 ms pass (the flag shows the steps
        // of the pass before).
        const uint32_t a01 = boolean("SPDC.A01_STEP.SFC_STEP"), a11 = boolean("SPDC.A11_STEP.SFC_STEP");
        if (passes(R80) == checked_ + 1) {
            EXPECT_EQ(boolean("MESSAGE_START.TOIDLE.OR"), idleSteps_) << a01 << a11;
        }
        idleSteps_ = a01 | a11;
        checked_ = passes(R80);
        toIdle_ |= (a01 != 0 ? 1 : 0) | (a11 != 0 ? 2 : 0);
        // The Modbus reset: the common reset or the delayed restart.
        const uint32_t rst = boolean("RESET.RST.ONE_SHOT"), restart = r80::SIO1.DLY_RST_MD_DELAY;
        EXPECT_EQ(boolean("MOD_LNK_STAT.RST_MODBUS.OR"), rst | restart) << rst << restart;
        modbusReset_ |= (rst != 0 ? 1 : 0) | (restart != 0 ? 2 : 0);
        // The idle and rated commands each shown for three seconds, the
        // other not meanwhile: the length of each showing.
        const uint32_t shown[2] = {boolean("MESSAGE_START.SH_OFFCMD.ONE_SHOT"),
                                   boolean("MESSAGE_START.SH_ONCMD.ONE_SHOT")};
        EXPECT_EQ(shown[0] & shown[1], 0u) << "both shown";
        for (int j = 0; j < 2; ++j) {
            if (shown[j] != 0 && !showing_[j]) shows_[j].push_back(0);
            if (shown[j] != 0) ++shows_[j].back();
            showing_[j] = shown[j] != 0;
        }
    }
    uint32_t idleSteps_ = 0, checked_ = 0;
    bool showing_[2] = {};
    std::vector<int> shows_[2];
    int dynamics_ = 0, load_ = 0, margin_ = 0, toIdle_ = 0, modbusReset_ = 0;
    int copied_[4] = {};
};

TEST_F(IfaceProgram, EachInterfaceBitFollowsItsSourcesThroughAStartAStopAndATrip) {
    // Powered up with every pass checked (the Modbus restart comes with it),
    // then ready as the rig makes it.
    turbine::enable();
    startApp();
    // On-line dynamics above 3400 rpm.
    enterSettings(true, true, {{"IFACE_IN_SPEED.GO_ONLINE.IN", 3400.0}});
    check(250);
    clearTrip();
    ASSERT_TRUE(runUntil([&] { return ready(); }, 50));
    check(2);
    startCommand();
    for (int k = 0; k < 500 && !step("A02_STEP"); ++k) check();
    ASSERT_TRUE(step("A02_STEP")) << "never at idle";
    check(5);
    // Rated selected: shown for three seconds (38 passes of 80 ms).
    pulse("IFACE_IN_START.IR_EN.IN", R160);
    check(60);
    for (int k = 0; k < 2000 && !step("A08_STEP"); ++k) check();
    ASSERT_TRUE(step("A08_STEP")) << "never in control";
    // The reference raised to the maximum governor and held there.
    contact(ref_test::kRaiseContact, true);
    for (int k = 0; k < 2000 && ref() < ref_test::kMaxGov; ++k) check();
    check(10);
    contact(ref_test::kRaiseContact, false);
    // An external overspeed test takes the reference above the maximum
    // governor; lowered back below it.
    serviceWrite("IFACE_IN_SPEED.ENABLE_EXT_OST.IN", 1);
    check(10);
    serviceWrite("IFACE_IN_SPEED.ENABLE_EXT_OST.IN", 0);
    contact(ref_test::kRaiseContact, true);
    for (int k = 0; k < 500 && ref() < ref_test::kMaxGov + 20.0; ++k) check();
    contact(ref_test::kRaiseContact, false);
    ASSERT_GE(ref(), ref_test::kMaxGov + 20.0) << "the test never took the reference above the maximum";
    contact(ref_test::kLowerContact, true);
    for (int k = 0; k < 500 && ref() > ref_test::kMaxGov - 50.0; ++k) check();
    contact(ref_test::kLowerContact, false);
    check(10);
    // A limiter value outside its limits, then one inside.
    serviceWrite("HP_LIMTER.ENTR_HP_LIM_SP.TUNE", 150.0);
    check(5);
    serviceWrite("HP_LIMTER.ENTR_HP_LIM_SP.TUNE", 50.0);
    check(5);
    // A controlled stop, aborted.
    serviceWrite("IFACE_IN_START.CNTRL_ST.IN", 1);
    check(4);
    serviceWrite("IFACE_IN_START.CNTRL_ST.IN", 0);
    check(20);
    serviceWrite("IFACE_IN_START.CSD_ABORT.IN", 1);
    check(4);
    serviceWrite("IFACE_IN_START.CSD_ABORT.IN", 0);
    check(5);
    // Idle selected: shown for three seconds.
    pulse("IFACE_IN_START.IR_DIS.IN", R160);
    check(60);
    for (int k = 0; k < 2000 && !step("A11_STEP") && !step("A02_STEP"); ++k) check();
    check(20);
    trip();
    check(20);
    clearTrip();
    check(20);
    // The rows the run went through.
    EXPECT_EQ(dynamics_, 1 << 1 | 1 << 2) << "off-line and on-line dynamics (no optimizer here)";
    EXPECT_EQ(load_, 7) << "below, inside and above the governor range";
    EXPECT_EQ(margin_, 7) << "below the margin, at it and above it";
    EXPECT_EQ(toIdle_, 3) << "both idle steps";
    EXPECT_EQ(modbusReset_, 3) << "the reset and the restart";
    for (int j = 0; j < 4; ++j) EXPECT_EQ(copied_[j], 3) << j;
    for (int j = 0; j < 2; ++j) {
        ASSERT_FALSE(shows_[j].empty()) << j;
        for (int n : shows_[j]) EXPECT_EQ(n, 38) << j << ": 3.0 s in 0.08 s steps";
    }
}

// A zero governor range (minimum and maximum governor entered alike): the
// unit trips on it (a configuration error, trip 6), and the reference
// at rest below the minimum gives -1e36 (-1e34 by the sign of the
// reference's offset, times 100). No start brings the reference to a zero
// range: the rows at and above it stay on the slices.
TEST_F(IfaceProgram, AZeroGovernorRangeTripsAndGivesMinus1e36BelowIt) {
    startable_ = false;
    turbine::enable();
    startApp();
    enterSettings(false, false, {{"CNFG_SETPT.QT_MAX_GOV.IN", ref_test::kMinGov}});
    check(40);
    // The trip contact closed and the trips reset: the range's trip stays.
    contact(ref_test::kTripContact, true);
    check(8);
    reset();
    check(10);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY.SEL_6"), 1u);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1u);
    EXPECT_EQ(real("SPDC.RANGE.SUBTRACT"), 0.0f);
    EXPECT_FLOAT_EQ(real("SPDC.PCT_RANGE.MULTIPLY"), -1e36f);
}

// On the whole program: the alarm from the service tool, the shutdown from
// the trip contact.
class TrippedAlarm : public ref_test::RefRig {};

TEST_F(TrippedAlarm, TheTrippedAlarmNeedsTheAlarmAndAShutdown) {
    start(false, false);
    const struct {
        int s1, anySd;
    } rows[] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {0, 0}};
    for (const auto& r : rows) {
        serviceWrite("ALARMS.S1.IN", r.s1);
        if (r.anySd != 0 && boolean("SHUTDOWNS.ANY_SD.B_NAME") == 0) trip();
        if (r.anySd == 0 && boolean("SHUTDOWNS.ANY_SD.B_NAME") != 0) clearTrip();
        runPasses(R160, 2);
        runPasses(R80, 2);
        ASSERT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), uint32_t(r.anySd));
        EXPECT_EQ(boolean("ALM_LOGIC.TRIP_ALM.AND"), uint32_t(r.s1 && r.anySd)) << r.s1 << r.anySd;
    }
}

// The remote-cascade enable on the whole program: the remote speed
// setpoint, cascade and the remote cascade setpoint configured (analog
// inputs 1 to 3 at mid range), in control with cascade enabled from the
// service tool. Every 80 ms pass checks the enable latch, its pulse, its
// disable list and the selection against their inputs as the 80 ms group's
// copies hold them; the run enables remote cascade from the service tool and
// its contact and drops it by each disable an input reaches (a Modbus
// master's coil on the controller's TCP link among them).
class RemoteCascadeProgram : public pc_test::ProgramCases {
protected:
    void SetUp() override {
        ProgramCases::SetUp();
        board::setAnalogInputMa(2, 12.0);
    }
    void TearDown() override {
        for (int k = 0; k < 3; ++k) board::setAnalogInputOpen(k, false);
        ProgramCases::TearDown();
    }
    void check(int n = 1) {
        for (int k = 0; k < n; ++k) {
            runPasses(R80, 1);
            checkPass();
        }
    }
    void checkPass() {
        const uint32_t cf = r80::RMT_CAS_EN.RCASC_CF_B_NAME, enable = r80::RMT_CAS_EN.OR_ENABLE_OR;
        const uint32_t pulse = boolean("RMT_CAS_EN.PLS_ON.B_ACTION");
        const bool follows = passes(R80) == checked_ + 1;
        if (follows && cf != 0) {
            EXPECT_EQ(pulse, enable != 0 && enableBefore_ == 0 ? 1u : 0u) << "one pass on the rise";
        }
        if (pulse != 0) {
            EXPECT_EQ(integer("RMT_CAS_EN.PLS_ON.ACT_OUT"), 5);
        }
        if (cf == 0 && enable != 0) enableSeen_ = true;
        enableBefore_ = enable;
        const uint32_t sources[] = {r80::SHUTDOWNS.SD_SHOOT_ONE_SHOT,
                                    boolean("RMT_ENBL.PLS_ENABL.B_ACTION"),
                                    r80::RMT_CAS_EN.BI_OFF_B_ACTION,
                                    r80::IFACE_IN_CASC.CASC_PV_FLT_B_NAME,
                                    r80::IFACE_IN_CASC.RMT_CASC_FLT_B_NAME,
                                    r80::IFACE_IN_CASC.RMT_CAS_DIS_B_NAME,
                                    r80::IFACE_IN_CASC.CASC_RMT_N_NOT,
                                    boolean("RMT_CAS_EN.OR_DISABLE.IN_8"),
                                    boolean("MOD_BW.BW_CMD.SEL_15"),
                                    boolean("OPC_DATA.BW_CMDS.SEL_15")};
        uint32_t disable = 0;
        for (size_t j = 0; j < std::size(sources); ++j) disable |= sources[j];
        EXPECT_EQ(boolean("RMT_CAS_EN.OR_DISABLE.OR"), disable);
        const uint32_t latch = boolean("RMT_CAS_EN.ENABLED.LATCH_R");
        if (follows) {
            const uint32_t want = cf == 0 ? latchBefore_ : disable != 0 ? 0u : (latchBefore_ | pulse);
            EXPECT_EQ(latch, want) << "set " << pulse << " disable " << disable;
        }
        if (latchBefore_ != 0 && latch == 0)
            for (size_t j = 0; j < std::size(sources); ++j) dropped_ |= sources[j] != 0 ? 1 << j : 0;
        if (disable != 0 && pulse != 0) disableWon_ = true;
        latchBefore_ = latch;
        const uint32_t cascade = r80::IFACE_OUT_SPEED.CASCADE_ENABLED_B_NAME, matched = r80::CASC_RATE.MATCHED_NOT;
        const uint32_t selected = latch & cascade & matched;
        EXPECT_EQ(boolean("RMT_CAS_EN.REM_SEL.AND"), selected);
        EXPECT_EQ(boolean("IFACE_OUT_CASC.REM_CAS_SEL.B_NAME"), selected);
        rows_ |= 1 << (latch * 4 + cascade * 2 + matched);
        checked_ = passes(R80);
    }
    bool latched() { return boolean("RMT_CAS_EN.ENABLED.LATCH_R") != 0; }
    // A service command input at 1 for a few passes, then 0.
    void command(const char* in) {
        serviceWrite(in, 1);
        check(4);
        serviceWrite(in, 0);
        check(4);
    }
    void enable() {
        command("IFACE_IN_CASC.ENA_DIS.IN_3");
        for (int k = 0; k < 40 && !latched(); ++k) check();
        ASSERT_TRUE(latched()) << "remote cascade not enabled";
    }
    uint32_t enableBefore_ = 0, latchBefore_ = 0, checked_ = 0;
    int dropped_ = 0, rows_ = 0;
    bool disableWon_ = false, enableSeen_ = false;
};

TEST_F(RemoteCascadeProgram, TheEnableLatchesOnItsRiseAndEveryDisableAnInputReachesDropsIt) {
    // BI08 carries the remote-cascade enable contact.
    startWithRemoteAndCascade({{"CNFG_CASC.CONFIG_B.IN_4", 1},
                               {"_ub8.FUNCT.IN", 4},
                               {"OPC_DATA.ENA_WRITES.IN", 1},
                               {"_ub20.FUNCT.IN", 14}});
    ASSERT_EQ(boolean("RMT_CAS_EN.RCASC_CF.B_NAME"), 1u) << "remote cascade not configured";
    tune("MOD.QT_TIME_OUT_2.IN", 100.0);
    modbusLinkWithWrites();
    startToInControl();
    check(5);
    command("IFACE_IN_CASC.ENA_DIS.IN_1");
    for (int k = 0; k < 500 && !(boolean("IFACE_OUT_SPEED.CASCADE_ENABLED.B_NAME") != 0 &&
                                   boolean("CASC_RATE.MATCHED.NOT") != 0);
         ++k)
        check();
    ASSERT_EQ(boolean("IFACE_OUT_SPEED.CASCADE_ENABLED.B_NAME"), 1u) << "cascade not enabled";
    enable();
    // Selected once the cascade setpoint has matched the remote one.
    for (int k = 0; k < 500 && boolean("IFACE_OUT_CASC.REM_CAS_SEL.B_NAME") == 0; ++k) check();
    EXPECT_EQ(boolean("IFACE_OUT_CASC.REM_CAS_SEL.B_NAME"), 1u);
    // Cascade disabled and enabled again: the selection goes and comes back,
    // the latch stays.
    command("IFACE_IN_CASC.ENA_DIS.IN_2");
    check(5);
    EXPECT_EQ(boolean("IFACE_OUT_CASC.REM_CAS_SEL.B_NAME"), 0u);
    EXPECT_TRUE(latched());
    command("IFACE_IN_CASC.ENA_DIS.IN_1");
    for (int k = 0; k < 500 && boolean("IFACE_OUT_CASC.REM_CAS_SEL.B_NAME") == 0; ++k) check();
    EXPECT_EQ(boolean("IFACE_OUT_CASC.REM_CAS_SEL.B_NAME"), 1u);
    // The disables held while the enable is asked for again, then dropped:
    // the latch stays off until the next rise.
    const struct {
        const char* what;
        std::function<void(bool)> hold;
    } held[] = {
        {"service disable", [&](bool on) { serviceWrite("IFACE_IN_CASC.ENA_DIS.IN_4", on ? 1 : 0); }},
        {"disable setting", [&](bool on) { serviceWrite("RMT_CAS_EN.OR_DISABLE.IN_8", on ? 1 : 0); }},
        {"OPC command", [&](bool on) { serviceWrite("OPC_DATA.BW_LIST.IN_15", on ? 1 : 0); }},
        // A Modbus master's coil 15 (a read first: a link silent since the
        // start holds the master's coils at 0 until a message has come).
        {"Modbus coil 15", [&](bool on) {
             EXPECT_EQ(mbpoll("-t 0 -r 15").first, 0);
             EXPECT_EQ(mbpoll("-t 0 -r 15", on ? "1" : "0").first, 0);
         }},
        // The inputs' faults latch until a reset.
        {"remote cascade setpoint failed", [&](bool on) {
             board::setAnalogInputOpen(2, on);
             if (!on) reset();
         }},
        {"cascade input failed", [&](bool on) {
             board::setAnalogInputOpen(1, on);
             if (!on) reset();
         }},
    };
    for (const auto& d : held) {
        SCOPED_TRACE(d.what);
        if (!latched()) enable();
        d.hold(true);
        check(6);
        EXPECT_FALSE(latched());
        serviceWrite("IFACE_IN_CASC.ENA_DIS.IN_3", 1);
        check(6);
        EXPECT_FALSE(latched()) << "the disable wins";
        serviceWrite("IFACE_IN_CASC.ENA_DIS.IN_3", 0);
        d.hold(false);
        check(20);
        EXPECT_FALSE(latched()) << "off until the next rise";
    }
    // The contact: closing it enables remote cascade, releasing it drops it.
    contact(ref_test::kSpareContact + 1, true);
    for (int k = 0; k < 20 && !latched(); ++k) check();
    EXPECT_TRUE(latched()) << "the contact's rise";
    contact(ref_test::kSpareContact + 1, false);
    for (int k = 0; k < 20 && latched(); ++k) check();
    EXPECT_FALSE(latched()) << "the contact's release";
    check(5);
    // Enabling the remote speed setpoint drops remote cascade once, on its
    // rise; remote cascade can be enabled again while it stays enabled.
    enable();
    serviceWrite("IFACE_IN_SPEED.ENA_DIS_REM.IN_1", 1);
    for (int k = 0; k < 40 && latched(); ++k) check();
    EXPECT_FALSE(latched());
    check(10);
    enable();
    check(20);
    EXPECT_TRUE(latched());
    // A trip: its one-shot drops it.
    enable();
    trip();
    check(20);
    EXPECT_FALSE(latched());
    // What the run went through: each disable dropped the latch, a rise
    // met a disable, and the selection saw the latch with and without
    // cascade enabled and matched.
    EXPECT_EQ(dropped_ & 0b0000000011, 0b11) << std::hex << dropped_;
    EXPECT_EQ(dropped_ & 0b1100111100, 0b1100111100) << std::hex << dropped_;
    EXPECT_EQ(dropped_ & (1 << 7), 1 << 7) << std::hex << dropped_;
    EXPECT_TRUE(disableWon_);
    EXPECT_EQ(rows_ & 0xE0, 0xE0) << std::hex << rows_;
}

// While remote cascade is not configured the latch keeps its state whatever
// its inputs. The configuration changes in configure mode, which the unit
// enters only shut down (the trip's one-shot has dropped the latch): the
// latch set there from the service tool, the configuration withdrawn, a
// disable, the configuration back with the disable held, and an enable
// while it is withdrawn.
TEST_F(RemoteCascadeProgram, WhileNotConfiguredTheLatchKeepsItsStateWhateverTheInputs) {
    startWithRemoteAndCascade({{"CNFG_CASC.CONFIG_B.IN_4", 1}, {"_ub8.FUNCT.IN", 4}});
    check(5);
    trip();
    check(10);
    enterConfigureMode();
    check(5);
    enable();
    const auto configured = [&](int on) {
        tune("CNFG_CASC.CONFIG_B.IN_4", on);
        for (int k = 0; k < 10 && boolean("RMT_CAS_EN.RCASC_CF.B_NAME") != static_cast<uint32_t>(on); ++k) check();
        ASSERT_EQ(boolean("RMT_CAS_EN.RCASC_CF.B_NAME"), static_cast<uint32_t>(on));
        check(3);
    };
    configured(0);
    EXPECT_TRUE(latched());
    tune("RMT_CAS_EN.OR_DISABLE.IN_8", 1);
    check(5);
    EXPECT_EQ(boolean("RMT_CAS_EN.OR_DISABLE.OR"), 1u);
    EXPECT_TRUE(latched()) << "a disable does not reset it";
    configured(1);
    EXPECT_FALSE(latched());
    tune("RMT_CAS_EN.OR_DISABLE.IN_8", 0);
    configured(0);
    serviceWrite("IFACE_IN_CASC.ENA_DIS.IN_3", 1);
    check(6);
    serviceWrite("IFACE_IN_CASC.ENA_DIS.IN_3", 0);
    check(4);
    EXPECT_EQ(boolean("RMT_CAS_EN.OR_ENABLE.OR"), 0u);
    EXPECT_FALSE(latched()) << "an enable does not set it";
    EXPECT_TRUE(enableSeen_) << "the enable rose while not configured";
}

// The remote-cascade enable: configured, cascade enabled and matched.
class RemoteCascade : public IfaceBits {
protected:
    void SetUp() override {
        IfaceBits::SetUp();
        setCell("RMT_CAS_EN.RCASC_CF.B_NAME", 1);
        setCell("IFACE_OUT_SPEED.CASCADE_ENABLED.B_NAME", 1);
        setCell("CASC_RATE.MATCHED.NOT", 1);
        settle();
    }
    // The enable list rises; the pulse and the latch come in the pass the
    // 80 ms group first sees it.
    void enable() {
        setCell("RMT_CAS_EN.OR_ENABLE.OR", 1);
        for (int k = 0; k < 12 && boolean("RMT_CAS_EN.PLS_ON.B_ACTION") == 0; ++k) runPasses(R80, 1);
        ASSERT_EQ(boolean("RMT_CAS_EN.PLS_ON.B_ACTION"), 1u);
        EXPECT_EQ(integer("RMT_CAS_EN.PLS_ON.ACT_OUT"), 5);
        EXPECT_EQ(boolean("RMT_CAS_EN.ENABLED.LATCH_R"), 1u);
        runPasses(R80, 1);
        EXPECT_EQ(boolean("RMT_CAS_EN.PLS_ON.B_ACTION"), 0u) << "one pass on the rise";
        setCell("RMT_CAS_EN.OR_ENABLE.OR", 0);
        settle();
    }
};

// Kept on the slices: "not configured" is the configuration itself negated,
// and while not configured the latch keeps its state (see
// RemoteCascadeProgram.WhileNotConfiguredTheLatchKeepsItsStateWhateverTheInputs),
// so no input lets this disable drop the latch.
TEST_F(RemoteCascade, EveryDisableConditionDropsTheLatchAndTheSelection) {
    const char* disables[] = {
        "IFACE_IN_CASC.CASC_RMT_N.NOT",
    };
    for (const char* d : disables) {
        enable();
        ASSERT_EQ(boolean("RMT_CAS_EN.REM_SEL.AND"), 1u) << d;
        setCell(d, 1);
        settle();
        EXPECT_EQ(boolean("RMT_CAS_EN.OR_DISABLE.OR"), 1u) << d;
        EXPECT_EQ(boolean("RMT_CAS_EN.ENABLED.LATCH_R"), 0u) << d;
        EXPECT_EQ(boolean("RMT_CAS_EN.REM_SEL.AND"), 0u) << d;
        EXPECT_EQ(boolean("IFACE_OUT_CASC.REM_CAS_SEL.B_NAME"), 0u) << d;
        // A rise of the enable list while the disable holds: the disable wins.
        setCell("RMT_CAS_EN.OR_ENABLE.OR", 1);
        settle();
        EXPECT_EQ(boolean("RMT_CAS_EN.ENABLED.LATCH_R"), 0u) << d;
        setCell("RMT_CAS_EN.OR_ENABLE.OR", 0);
        setCell(d, 0);
        settle();
        EXPECT_EQ(boolean("RMT_CAS_EN.OR_DISABLE.OR"), 0u) << d;
        EXPECT_EQ(boolean("RMT_CAS_EN.ENABLED.LATCH_R"), 0u) << d << ": stays off until the next rise";
    }
}

// The Modbus trip on the whole program: a Modbus master (mbpoll) writes the
// trip coil (3) on the controller's TCP link with writes enabled; Modbus in
// use, the trip's enable and its override switch from the service tool.
// Every 80 ms pass checks the command and the trip against their inputs as
// the group holds them, and the run goes through each row of the table the
// slice case had.
class ModbusTrip : public pc_test::ProgramCases {
protected:
    void check(int n) {
        for (int k = 0; k < n; ++k) {
            runPasses(R80, 1);
            const uint32_t coil = r80::MOD_BW.BW_CMD_SEL_3, used = r80::MOD.USE_MOD_B_NAME,
                           enabled = boolean("MOD_BW.MOD1_SD.IN"), ctrl = boolean("MOD_BW.MOD1_SW.CTRL"),
                           no = boolean("MOD_BW.MOD1_SW.NO");
            const std::string row = std::to_string(coil) + std::to_string(used) + std::to_string(enabled) +
                                    std::to_string(ctrl) + std::to_string(no);
            const uint32_t cmd = coil & used & enabled;
            EXPECT_EQ(boolean("MOD_BW.MOD1_SD.B_NAME"), enabled) << row;
            EXPECT_EQ(boolean("MOD_BW.M1_BW_3.AND"), cmd) << row;
            EXPECT_EQ(boolean("MOD_BW.MOD1_SW.B_SW"), ctrl != 0 ? no : cmd) << row;
            rows_.insert(row);
        }
    }
    // The coil written by the master (a read first: a link silent since the
    // start holds the master's coils at 0 until a message has come).
    void coil(bool on) {
        ASSERT_EQ(mbpoll("-t 0 -r 3").first, 0) << "the master's read failed";
        ASSERT_EQ(mbpoll("-t 0 -r 3", on ? "1" : "0").first, 0) << "the master's write failed";
    }
    std::set<std::string> rows_;
};

TEST_F(ModbusTrip, TheModbusTripNeedsTheCoilModbusInUseAndTheTripEnabledUnlessOverridden) {
    startPastPowerUp();
    check(2);
    // The link's silence time-out at its longest: a master slow to start
    // (simulated time runs on meanwhile) finds the link still up.
    tune("MOD.QT_TIME_OUT_2.IN", 100.0);
    modbusLinkWithWrites();
    check(4);
    const std::pair<const char*, int> settings[][3] = {
        {{"MOD_BW.MOD1_SD.IN", 1}},                              // in use, enabled, no coil
        {},                                                      // the coil written (below)
        {{"MOD_BW.MOD1_SD.IN", 0}},                              // not enabled
        {{"MOD_BW.MOD1_SD.IN", 1}, {"MOD_BW.MOD1_SW.CTRL", 1}},  // overridden off
        {{"MOD_BW.MOD1_SW.NO", 1}, {"MOD_BW.MOD1_SW.CTRL", 0}},  // the override's value unused
        {{"MOD_BW.MOD1_SW.NO", 0}, {"C_COMM.C1.IN", 0}},         // Modbus not in use
    };
    for (size_t k = 0; k < std::size(settings); ++k) {
        if (k == 1) coil(true);
        for (const auto& [name, v] : settings[k])
            if (name != nullptr) tune(name, v);
        check(5);
    }
    // The coil taken back, Modbus out of use, the override on.
    tune("C_COMM.C1.IN", 1);
    check(5);
    coil(false);
    for (const auto& [name, v] : {std::pair<const char*, int>{"C_COMM.C1.IN", 0}, {"MOD_BW.MOD1_SD.IN", 0},
                                  {"MOD_BW.MOD1_SW.CTRL", 1}, {"MOD_BW.MOD1_SW.NO", 1}})
        tune(name, v);
    check(5);
    for (const char* row : {"00000", "11100", "11000", "10100", "01100", "11110", "00011", "11101"})
        if (rows_.count(row) == 0) ADD_FAILURE() << "row " << row << " not reached; " << ::testing::PrintToString(rows_);
}

}  // namespace
