// The reset pulse of the 80 ms group, the commit of its unit delays at the
// end of the pass, the 20 ms chassis status and shutdown delays, and the
// 80 ms data-log commands and commissioning time, on the whole program
// (one case stays on the slices, see below).
#include <algorithm>
#include <cmath>

#include "app/control/SPDC.cells.h"
#include "host/vkboard.h"
#include "runtime/appmem.h"
#include "tests/remote_alarms/node_rig.h"
#include "tests/remote_alarms/remote_rig.h"
#include "tests/support/ref_rig.h"

using namespace ra_test;

namespace {

// The slices of the data-log commands, for the one case no run of the
// whole program reaches in reasonable time.
class PassEnd : public RemoteRig {};

// The reset pulse on the whole program: the start's pulse, and a pulse cut
// off by the shutdown one-shot of an RTD node's trip.
class ResetPulse : public ra_node::NodeRig {
protected:
    // A start mode configured: the unit is free of shutdowns after the start.
    void manualStart() { setting("CNFG_START.CONFIG_B.IN_1", 1); }
};

TEST_F(ResetPulse, TheStartGivesOneResetPulseOf13Passes) {
    manualStart();
    startApp();
    // A pass that ran during the start shows in the cell already.
    int on = static_cast<int>(boolean("RESET.RST.ONE_SHOT"));
    std::vector<uint32_t> seen;
    for (int k = 0; k < 30; ++k) {
        runPasses(ra_node::R80, 1);
        seen.push_back(boolean("RESET.RST.ONE_SHOT"));
        on += static_cast<int>(seen.back());
        EXPECT_EQ(boolean("RESET.RESET.B_NAME"), seen.back());
    }
    EXPECT_EQ(on, 13);
    EXPECT_EQ(std::count(seen.begin() + 12, seen.end(), 1u), 0) << "one pulse, at the start";
    EXPECT_EQ(boolean("RESET.PWR_UP_RST.ONE_SHOT"), 0u) << "2.0 s power-up pulse over";
    EXPECT_EQ(boolean("RESET.PWR_UP_DLY.DELAY"), 1u);

    // A source that stays on (the automatic reset setting) gives one pulse
    // of the same length, which does not restart while the source stays.
    serviceWrite("RESET.AT_RST.IN", 1);
    int pulse = 0;
    for (int k = 0; k < 40; ++k) {
        runPasses(ra_node::R80, 1);
        pulse += static_cast<int>(boolean("RESET.RST.ONE_SHOT"));
    }
    EXPECT_EQ(boolean("RESET.RST_OR.OR"), 1u);
    EXPECT_EQ(pulse, 13);
}

TEST_F(ResetPulse, AShutdownOneShotEndsTheResetPulseWhichDoesNotRestartWhileItsSourceStays) {
    manualStart();
    levels(1, 300.0, 200.0);
    start();
    ASSERT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 0u);
    ASSERT_EQ(boolean("SHUTDOWNS.SD_SHOOT.ONE_SHOT"), 0u);
    serviceWrite("RESET.DEBUG_RST.TRIGGER", 1);
    feed(3);
    ASSERT_EQ(boolean("RESET.RST.ONE_SHOT"), 1u);
    // The RTD node's trip shuts the unit down while the pulse runs.
    word(1, ra_node::k212F);
    int cut = 0;
    for (int k = 1; k <= 8 && cut == 0; ++k) {
        feed(1);
        if (boolean("RESET.RST.ONE_SHOT") == 0) cut = k;
    }
    ASSERT_GT(cut, 0) << "the pulse ran to its end";
    EXPECT_EQ(boolean("SHUTDOWNS.SD_SHOOT.ONE_SHOT"), 1u) << "cut off in the pass";
    EXPECT_EQ(integer("RESET.RST.R_TIME"), 0);
    serviceWrite("RESET.DEBUG_RST.TRIGGER", 0);
    ASSERT_EQ(boolean("RESET.DEBUG_RST.ONE_SHOT"), 1u) << "the source is still on";
    for (int k = 0; k < 15; ++k) {
        feed(1);
        EXPECT_EQ(boolean("RESET.RST.ONE_SHOT"), 0u) << k;
    }
    // Once the source has dropped, a new source starts a new pulse.
    ASSERT_EQ(boolean("RESET.DEBUG_RST.ONE_SHOT"), 0u);
    serviceWrite("RESET.DEBUG_RST.TRIGGER", 1);
    feed(1);
    EXPECT_EQ(boolean("RESET.RST.ONE_SHOT"), 1u);
}

// The automatic reset setting is the source; the RTD node's trip cuts the
// pulse while the setting is withdrawn.
TEST_F(ResetPulse, AfterACutOffOnePassWithoutASourceReArmsTheResetPulse) {
    manualStart();
    levels(1, 300.0, 200.0);
    start();
    ASSERT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 0u);
    serviceWrite("RESET.AT_RST.IN", 1);
    ASSERT_GT(passesUntil("RESET.RST.ONE_SHOT", 1, 4), 0);
    word(1, ra_node::k212F);
    serviceWrite("RESET.AT_RST.IN", 0);
    ASSERT_GT(passesUntil("RESET.RST.ONE_SHOT", 0, 8), 0) << "cut off";
    ASSERT_EQ(boolean("SHUTDOWNS.SD_SHOOT.ONE_SHOT"), 1u);
    ASSERT_GT(passesUntil("SHUTDOWNS.SD_SHOOT.ONE_SHOT", 0, 20), 0);
    feed(1);
    ASSERT_EQ(boolean("RESET.RST_OR.OR"), 0u);
    serviceWrite("RESET.AT_RST.IN", 1);
    ASSERT_GT(passesUntil("RESET.RST_OR.OR", 1, 4), 0);
    EXPECT_EQ(boolean("RESET.RST.ONE_SHOT"), 1u) << "the next source starts a pulse";
}

// The demonstration's reset command on the whole program: the speed
// simulation on and demo mode enabled from the service tool, the
// demonstration runs its cycle to its reset step; its reset command resets
// the unit unless the command's reset input is set (from the service tool,
// with the settings).
class DemoReset : public ref_test::RefRig, public ::testing::WithParamInterface<int> {};

TEST_P(DemoReset, TheDemoResetCommandResetsUnlessItsResetInputIsSet) {
    const int blocked = GetParam();
    startApp();
    serviceWrite("CONF_LATCH.ANY.OVRD", 1);
    serviceWrite("IFACE_MODE.CNFG_OR_ABOV.IN_3", 1);
    enterSettings(true, true, {{"CNFG_START.VLV_LIM_RATE.IN", 25.0}, {"RESET.RST_DEMO.RST_2", blocked}});
    runPasses(R160, 20);
    pulse("SPEED_SIM.INTERNAL_SIM.IN_1", R160);
    runPasses(R160, 2);
    reset();
    pulse("UNIT_DEMO.ENA_DEMO.IN_2", R80);
    runPasses(R80, 1);
    ASSERT_EQ(boolean("UNIT_DEMO.DEMO_MODE.B_NAME"), 1u);
    ASSERT_TRUE(runUntil([&] { return boolean("UNIT_DEMO.B_CMDS.LIST_3") != 0; }, 4000)) << "no reset command";
    EXPECT_EQ(boolean("RESET.RST_DEMO.B_ACTION"), 1u - blocked);
    EXPECT_EQ(boolean("RESET.RST.ONE_SHOT"), 1u - blocked);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("UNIT_DEMO.B_CMDS.LIST_3"), 1u);
    EXPECT_EQ(boolean("RESET.RST_DEMO.B_ACTION"), 0u) << "one pass on the rising edge";
}

INSTANTIATE_TEST_SUITE_P(ResetInput, DemoReset, ::testing::Values(0, 1),
                         [](const auto& i) { return i.param != 0 ? "Set" : "Clear"; });

// Each unit delay of the group: its input goes to its slot; its output
// shows the input of the previous pass.
struct Delay {
    const char* input;
    int slot;  // boolean slot, or real slot for a real pair
    const char* output;
    bool real;
};
const Delay kDelays[] = {
    {"RESET.RST_TRP_CI.ONE_SHOT", 10, "RESET.RST_Z.ZMINUS1_B", false},
    {"MOD_BW.BW_CMD.LATCH1", 11, "MOD_BW.ZLATCH.ZMINUS1_B", false},
    {"RMT_ENBL.ENABLED.LATCH_R", 12, "RMT_ENBL.ZENABLED.ZMINUS1_B", false},
    {"RMT_CAS_EN.N_MTCH_RTE.LATCH", 13, "RMT_CAS_EN.Z_LOOP.ZMINUS1_B", false},
    {"HP_LIMTER.HP_RAMP.P_LIM_3", 14, "HP_LIMTER.AT_POS3.ZMINUS1_B", false},
    {"HP_LIMTER.ENTR_HP_LIM_SP_A_SW.A_SW", 13, "HP_LIMTER.ENTR_SP_Z.ZMINUS1", true},
    {"HP_LIMTER.LIMITED.DELAY", 15, "HP_LIMTER.SAMPLE_Z.ZMINUS1_B", false},
    {"HP_LIMTER.H_SER_DIS.OR", 16, "HP_LIMTER.H_SER_Z.ZMINUS1_B", false},
    {"HP_LIMTER.HP_RAMP.P_LIM_1", 17, "CNTRL_STOP.Z_HPRPLIM.ZMINUS1_B", false},
    {"CASC_ENBL.ENABLED.LATCH_R", 18, "CASC_ENBL.ZENABLED.ZMINUS1_B", false},
    {"START.STRT_IH.LATCH1", 19, "START.ZPERM.ZMINUS1_B", false},
    {"START.RUN_CMD.LATCH_R", 20, "START.ZSTRTR.ZMINUS1_B", false},
    {"CASC_RATE.SP_CLOSE.NOT", 21, "CASC_RATE.MATCHD_Z.ZMINUS1_B", false},
    {"REMOTE.IN_CNTRL.AND", 22, "REMOTE.ZSEL.ZMINUS1_B", false},
    {"SPDC.SPEED_REF.MOVING_UP", 23, "SPDC.Z_UP.ZMINUS1_B", false},
};

// On the whole program, through a start to control, a raise, a controlled
// stop and a trip: at the end of every 80 ms pass each delay holds what its
// input was in that pass (the group's readers see it one pass later), the
// speed reference's chart has taken its transitions in the same pass (one
// step active, the chart leaving Z00 straight into A00), and the inputs the
// run moves took both values.
class UnitDelays : public ref_test::RefRig {
protected:
    void checkPass() {
        for (size_t k = 0; k < std::size(kDelays); ++k) {
            const Delay& d = kDelays[k];
            const double in = d.real ? real(d.input) : boolean(d.input);
            const double out = d.real ? real(d.output) : boolean(d.output);
            const double slot = d.real ? _zblock[d.slot] : _zblockb[d.slot];
            EXPECT_EQ(slot, out) << d.output;
            // A 40 ms input is copied at the start of the 80 ms frame: it is
            // compared while it holds over the frame.
            const bool fast = std::string(d.input) == "SPDC.SPEED_REF.MOVING_UP";
            if (!fast || in == last_[k]) {
                EXPECT_EQ(out, in) << d.input << " -> " << d.output;
            }
            last_[k] = in;
            seen_[k] |= in != 0.0 ? 2 : 1;
        }
        int active = 0;
        for (const char* st : {"Z00_STEP", "A00_STEP", "A00ASTEP", "A01_STEP", "A02_STEP", "A02ASTEP", "A07_STEP",
                               "A08_STEP", "A09_STEP", "A10_STEP", "A11_STEP", "A12_STEP", "Z01_STEP"})
            active += step(st) ? 1 : 0;
        EXPECT_EQ(active, 1);
        if (wasZ00_ && !step("Z00_STEP")) {
            EXPECT_TRUE(step("A00_STEP"));
        }
        wasZ00_ = step("Z00_STEP");
    }
    void run(int passes) {
        for (int k = 0; k < passes; ++k) {
            runPasses(R80, 1);
            checkPass();
        }
    }
    double last_[std::size(kDelays)] = {};
    int seen_[std::size(kDelays)] = {};
    bool wasZ00_ = false;
};

TEST_F(UnitDelays, EachInputGoesToItsSlotAndItsOutputOnePassLater) {
    startWithRemoteAndCascade({{"IFACE_IN_SPEED.USE_DI_MOMENT.IN", 1}});
    checkPass();
    serviceWrite("START.START.IN_3", 1);
    run(1);
    serviceWrite("START.START.IN_3", 0);
    for (int k = 0; k < 1000 && !step("A08_STEP"); ++k) run(1);
    ASSERT_TRUE(step("A08_STEP"));
    contact(ref_test::kRaiseContact, true);
    run(40);
    contact(ref_test::kRaiseContact, false);
    // A valve limit entered and taken, then one refused for its delay.
    serviceWrite("HP_LIMTER.ENTR_HP_LIM_SP.TUNE", 40.0);
    run(2);
    serviceWrite("IFACE_IN_VLV.TUNED_OK.IN", 1);
    run(2);
    serviceWrite("IFACE_IN_VLV.TUNED_OK.IN", 0);
    run(10);
    serviceWrite("HP_LIMTER.ENTR_HP_LIM_SP.TUNE", 120.0);
    run(50);
    // The remote setpoint enabled until it is in control, then cascade.
    serviceWrite("IFACE_IN_SPEED.ENA_DIS_REM.IN_1", 1);
    for (int k = 0; k < 400 && boolean("REMOTE.IN_CNTRL.AND") == 0; ++k) run(1);
    run(5);
    serviceWrite("IFACE_IN_CASC.ENA_DIS.IN_1", 1);
    run(40);
    trip();
    run(20);
    clearTrip();
    run(20);
    // The inputs this run moves (the automatic reset, the Modbus latch, the
    // remote cascade and the limiter's third position stay put).
    std::string moved;
    for (size_t k = 0; k < std::size(kDelays); ++k)
        if (seen_[k] == 3) moved += std::string(kDelays[k].input) + " ";
    EXPECT_EQ(moved,
              "RMT_ENBL.ENABLED.LATCH_R HP_LIMTER.ENTR_HP_LIM_SP_A_SW.A_SW HP_LIMTER.LIMITED.DELAY "
              "HP_LIMTER.H_SER_DIS.OR HP_LIMTER.HP_RAMP.P_LIM_1 CASC_ENBL.ENABLED.LATCH_R START.STRT_IH.LATCH1 "
              "START.RUN_CMD.LATCH_R CASC_RATE.SP_CLOSE.NOT REMOTE.IN_CNTRL.AND SPDC.SPEED_REF.MOVING_UP ");
}

// On the whole program: the board's temperature sensor, and the
// calibration flash read at start-up (unreadable: the calibration fault),
// its report enabled or not from the service tool.
class BoardStatus : public ra_node::NodeRig, public ::testing::WithParamInterface<int> {
protected:
    void TearDown() override {
        NodeRig::TearDown();
        board::resetPlatform();
    }
};

TEST_P(BoardStatus, TheBoardTemperatureAndTheCalibrationFault) {
    const int fault = GetParam();
    board::setTemperature(61.5f);
    board::failCalibrationFlash(fault != 0);
    startApp();
    runPasses(R80, 30);
    runPasses(R20, 20);  // the chassis task reads every 250 ms
    EXPECT_EQ(real("ORVEX12_IO.CHASS_STATUS.CELSIUS"), 61.5f);
    EXPECT_EQ(boolean("ORVEX12_IO.CHASS_STATUS.CAL_FLT"), static_cast<uint32_t>(fault));
    for (int report : {1, 0, 1}) {
        serviceWrite("ORVEX12_IO.CAL_FLT.IN_2", report);
        runPasses(R20, 1);
        EXPECT_EQ(boolean("ORVEX12_IO.CAL_FLT.AND"), static_cast<uint32_t>(fault && report)) << fault << report;
    }
}

INSTANTIATE_TEST_SUITE_P(CalibrationFlash, BoardStatus, ::testing::Values(0, 1),
                         [](const auto& i) { return i.param != 0 ? "Unreadable" : "Read"; });

// The shutdown comes from the RTD node's trip and goes with the reset once
// the temperature is back.
TEST_F(ResetPulse, NoShutdownFor3_5SecondsRisesOnThe177thPassAndALowerDelayKeepsIt) {
    manualStart();
    levels(1, 300.0, 200.0);
    start();
    word(1, ra_node::k212F);
    ASSERT_GT(passesUntil("SHUTDOWNS.ANY_SD.B_NAME", 1, 10), 0);
    feed(1);
    ASSERT_EQ(boolean("SD_LOGIC.SD_NOT_DLY.DELAY"), 0u);
    word(1, ra_node::k77F);
    // A reset during the shutdown one-shot would be cut off.
    ASSERT_GT(passesUntil("SHUTDOWNS.SD_SHOOT.ONE_SHOT", 0, 20), 0);
    feed(1);
    serviceWrite("RESET.DEBUG_RST.TRIGGER", 1);
    int cleared = 0;
    for (int k = 0; k < 200 && cleared == 0; ++k) {
        feed20(1);
        if (boolean("SHUTDOWNS.NOT_SD.NOT") != 0) cleared = 1;
    }
    serviceWrite("RESET.DEBUG_RST.TRIGGER", 0);
    ASSERT_EQ(cleared, 1) << "the reset did not clear the shutdown";
    // The 20 ms group copies the rise at its next frame.
    std::vector<int32_t> seconds;
    int rise = 0;
    for (int k = 1; k <= 200 && rise == 0; ++k) {
        feed20(1);
        const int32_t s = integer("SD_LOGIC.SD_NOT_DLY.R_TIME");
        if (seconds.empty() || seconds.back() != s) seconds.push_back(s);
        if (boolean("SD_LOGIC.SD_NOT_DLY.DELAY") == 1) rise = k;
    }
    EXPECT_EQ(rise, 177);
    EXPECT_EQ(seconds, (std::vector<int32_t>{3, 2, 1, 0}));
    serviceWrite("SD_LOGIC.SD_NOT_DLY.DLY_TIME", 1.0);
    feed20(3);
    EXPECT_EQ(boolean("SD_LOGIC.SD_NOT_DLY.DELAY"), 1u);
    word(1, ra_node::k212F);
    ASSERT_GT(passesUntil("SHUTDOWNS.ANY_SD.B_NAME", 1, 10), 0);
    feed20(2);
    EXPECT_EQ(boolean("SD_LOGIC.SD_NOT_DLY.DELAY"), 0u);
    EXPECT_EQ(integer("SD_LOGIC.SD_NOT_DLY.R_TIME"), 0);
}

TEST_F(ResetPulse, AResetCountsForTheDelayedShutdownActionOnlyWithoutTheShutdownOneShot) {
    manualStart();
    levels(1, 300.0, 200.0);
    start();
    feed20(1);
    EXPECT_EQ(integer("SHUTDOWNS.DLY_SDREAC.ACT_OUT"), 1);
    EXPECT_EQ(boolean("SHUTDOWNS.DLY_SDREAC.B_ACTION"), 0u);
    serviceWrite("RESET.DEBUG_RST.TRIGGER", 1);
    feed(2);
    serviceWrite("RESET.DEBUG_RST.TRIGGER", 0);
    feed20(1);
    EXPECT_EQ(boolean("SHUTDOWNS.DLY_SDREAC.B_ACTION"), 1u);
    // The RTD node's trip while the reset runs: the passes where the reset
    // coincides with the shutdown pulse do not count. (The 20 ms group reads
    // both through its copies: a pass counts as coinciding when both were
    // on at the end of the pass before as well.)
    word(1, ra_node::k212F);
    int coincide = 0;
    bool before = false;
    for (int k = 0; k < 60; ++k) {
        feed20(1);
        const bool both = boolean("RESET.RESET.B_NAME") != 0 && boolean("SHUTDOWNS.SD_SHOOT.ONE_SHOT") != 0;
        if (both && before) {
            ++coincide;
            EXPECT_EQ(boolean("SHUTDOWNS.DLY_SDREAC.B_ACTION"), 0u) << k;
        }
        before = both;
    }
    EXPECT_GT(coincide, 0) << "the trip came after the reset";
    EXPECT_EQ(boolean("SHUTDOWNS.SD_SHOOT.ONE_SHOT"), 1u);
    feed(20);
    EXPECT_EQ(boolean("SHUTDOWNS.DLY_SDREAC.B_ACTION"), 0u);
}

// The data-log commands and the commissioning time on the whole program,
// the commands written as the service tool writes them.
class DataLog : public ra_node::NodeRig {
protected:
    // Started and past the power-up's 10 s, which keeps commissioning off.
    void start() {
        startApp();
        for (int k = 0; k < 200 && boolean("COND_MON.PWRUPOS.ONE_SHOT") != 0; ++k) runPasses(R80, 1);
        runPasses(R80, 30);
        ASSERT_EQ(boolean("COND_MON.PWRUPOS.ONE_SHOT"), 0u);
    }
};

TEST_F(DataLog, ADataLogCommandWrittenTrueHolds13PassesAndAFalseWriteEndsIt) {
    start();
    for (int n = 1; n <= 6; ++n) {
        const std::string in = "DATALOG.DLOG_CMDS.IN_" + std::to_string(n);
        const std::string out = "DATALOG.DLOG_CMDS.OUT_" + std::to_string(n);
        serviceWrite(in, 1);
        int held = 0;
        for (int k = 0; k < 20; ++k) {
            runPasses(R80, 1);
            held += static_cast<int>(boolean(out));
        }
        EXPECT_EQ(held, 13) << n;
        EXPECT_EQ(boolean(in), 0u) << "the input is cleared with the output";
        serviceWrite(in, 1);
        runPasses(R80, 2);
        serviceWrite(in, 0);
        runPasses(R80, 1);
        EXPECT_EQ(boolean(out), 0u) << n;
    }
}

// Commissioning mode from its data-log command (5) and ended by the
// command that ends it (6): the time counts hours and seconds while it is
// on and holds while it is off.
TEST_F(DataLog, CommissioningTimeCountsHoursAndSecondsAndHoldsOutsideCommissioning) {
    start();
    const TimeCell* t = static_cast<TimeCell*>(cell("DATALOG.COMMISH_TIME.ELAP_TIME"));
    serviceWrite("DATALOG.DLOG_CMDS.IN_5", 1);
    int first = 0;
    for (int k = 1; k <= 8 && first == 0; ++k) {
        runPasses(R80, 1);
        if (t->usec != 0) first = k;
    }
    ASSERT_GT(first, 0) << "the 160 ms latch reaches the group";
    EXPECT_EQ(boolean("DATALOG.COMMISH_MODE.LATCH_R"), 1u);
    EXPECT_EQ(t->usec, 80000u);
    runPasses(R80, 11);
    EXPECT_EQ(t->sec, 0u);
    EXPECT_EQ(t->usec, 12u * 80000u);
    runPasses(R80, 1);
    EXPECT_EQ(t->sec, 1u) << "the first second on the 13th step";
    EXPECT_EQ(t->usec, 0u);
    runPasses(R80, 7500 - 13);  // ten minutes
    EXPECT_NEAR(real("DATALOG.COMMISH_TIME.OUT_1"), 1.0 / 6.0, 0.002);
    EXPECT_NEAR(static_cast<double>(t->sec), 600.0, 8.0);
    serviceWrite("DATALOG.DLOG_CMDS.IN_6", 1);
    runPasses(R80, 3);
    EXPECT_EQ(boolean("DATALOG.COMMISH_MODE.LATCH_R"), 0u);
    runPasses(R80, 2);  // the 80 ms group's copy of the 160 ms latch
    const float hours = real("DATALOG.COMMISH_TIME.OUT_1");
    const TimeCell held = *t;
    runPasses(R80, 30);
    EXPECT_EQ(real("DATALOG.COMMISH_TIME.OUT_1"), hours) << "held while not commissioning";
    EXPECT_EQ(t->sec, held.sec);
    EXPECT_EQ(t->usec, held.usec);
}

// The clear at the accumulated time's reset delay stays on the slices: the
// delay follows the automatic end of commissioning, whose lowest setting is
// two hours of commissioning time, a run too long for the whole program.
TEST_F(PassEnd, CommissioningTimeClearsOnTheResetDelay) {
    start();
    const TimeCell* t = static_cast<TimeCell*>(cell("DATALOG.COMMISH_TIME.ELAP_TIME"));
    setCell("DATALOG.COMMISH_MODE.LATCH_R", 1);
    runPasses(R80, 30);
    ASSERT_GT(real("DATALOG.COMMISH_TIME.OUT_1"), 0.0f);
    ASSERT_GT(t->sec, 0u);
    setCell("DATALOG.RST_ACCUM.DELAY", 1);
    runPasses(R80, 3);
    EXPECT_EQ(real("DATALOG.COMMISH_TIME.OUT_1"), 0.0f);
    EXPECT_EQ(t->sec, 0u);
    EXPECT_EQ(t->usec, 0u);
}

}  // namespace
