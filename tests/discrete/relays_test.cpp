// Relay states, the trip relay, the drive shutdown and the relay output
// channels through real passes: the trip relay on a shutdown and under the
// I/O lock, the first-out test of the external trips, readback faults, the
// remote relays under the I/O lock, forcing, the level switch and the timers.
#include <cmath>
#include <limits>
#include <vector>

#include "app/discrete/BO_MUX.cells.h"
#include "app/discrete/VL5_BO.cells.h"
#include "platform/vkiobus.h"
#include "tests/discrete/discrete_rig.h"

namespace di_test {
namespace {

class Relays : public DiscreteRig {
protected:
    // Starts with the relay readback contacts wired, the outputs released and
    // relay 1's function (2: the trip relay state) put in force.
    void startWithTripRelay() {
        board::wireRelayReadbacks(true);
        start();
        VKIO_UnAssertIOLock();
        setCell("CALMODE.ADJUSTOK.OR", 1);
        runPasses(R160, 2);
        setCell("CALMODE.ADJUSTOK.OR", 0);
        runPasses(R10, 3);
    }
    void shutdown(bool on, int first_out = 3) {
        setCell("SHUTDOWNS.ANY_SD.B_NAME", on ? 1 : 0);
        setCell("SHUTDOWNS.ANY.LATCH_AE", on ? 1 : 0);
        setCell("SHUTDOWNS.ANY.FIRST_ALM", on ? first_out : 0);
    }
    uint32_t tripRelayDriven() { return board::relaysEnergised() & 1u; }
};

TEST_F(Relays, TripRelayIsEnergisedWhileHealthyAndDropsOnAShutdown) {
    startWithTripRelay();
    runPasses(R160, 1);
    EXPECT_EQ(integer("CNFG_BO.RLY_FUNCTION.SAMP_ITUNE"), 2);
    EXPECT_EQ(text("CNFG_BO.RLY_FUN_STRG1.I_TO_STR"), "Summary Shutdown");
    EXPECT_EQ(text("CNFG_BO.RLY02_FDBK.B_TO_STR"), " Energized ");
    EXPECT_EQ(real("CNFG_BO.RELAY_01_FUNCT.OUT_1"), 2.0f);
    EXPECT_EQ(boolean("BO_MUX.TRIP_RLY.B_NAME"), 1u);
    EXPECT_EQ(tripRelayDriven(), 1u);
    EXPECT_EQ(boolean("CNFG_BO.RELAY_1.RDBK_FAULT"), 0u);
    shutdown(true);
    runPasses(R10, 3);
    EXPECT_EQ(boolean("SHUTDOWNS.RELY_NOT.NOT"), 0u);
    EXPECT_EQ(boolean("BO_MUX.SEL_STATES.LIST_13"), 0u);
    EXPECT_EQ(boolean("BO_MUX.SEL_STATES.LIST_2"), 1u);
    EXPECT_EQ(tripRelayDriven(), 0u);
    EXPECT_EQ(boolean("CNFG_BO.RELAY_1.RDBK_FAULT"), 0u) << "the readback followed";
    // A shutdown pulse of 0.5 s went with it.
    EXPECT_EQ(boolean("SHUTDOWNS.SD_PLS.ONE_SHOT"), 1u);
    runPasses(R10, 50);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_PLS.ONE_SHOT"), 0u);
    runPasses(R160, 1);
    EXPECT_EQ(text("CNFG_BO.RLY02_FDBK.B_TO_STR"), " De-energized ");
    shutdown(false);
    runPasses(R10, 3);
    EXPECT_EQ(tripRelayDriven(), 1u);
}

TEST_F(Relays, IoLockDropsTheTripRelayAndItsReadbackReportsTheDifference) {
    startWithTripRelay();
    VKIO_AssertIOLock();
    runPasses(R10, 3);
    EXPECT_EQ(tripRelayDriven(), 0u);
    EXPECT_EQ(boolean("CNFG_BO.RELAY_1.DISPLAY"), 1u) << "the command stands";
    EXPECT_EQ(boolean("CNFG_BO.RELAY_1.READBACK"), 0u);
    EXPECT_EQ(boolean("CNFG_BO.RELAY_1.RDBK_FAULT"), 1u);
    VKIO_UnAssertIOLock();
    runPasses(R10, 3);
    EXPECT_EQ(tripRelayDriven(), 1u);
    EXPECT_EQ(boolean("CNFG_BO.RELAY_1.RDBK_FAULT"), 0u);
}

struct FirstOutCase {
    const char* name;
    int first_out;
    int ext_trips_relay;
    uint32_t energised;
};
class TripRelayFirstOut : public Relays, public ::testing::WithParamInterface<FirstOutCase> {};

TEST_P(TripRelayFirstOut, ExternalTripsFirstOutKeepTheRelayUnlessConfiguredToAct) {
    const FirstOutCase& c = GetParam();
    startWithTripRelay();
    setCell("CNFG_OPERATE.EXT_TRIPS_RELAY.B_NAME", c.ext_trips_relay);
    runPasses(R160, 1);
    shutdown(true, c.first_out);
    runPasses(R10, 3);
    EXPECT_EQ(boolean("BO_MUX.TRIP_RLY.B_NAME"), c.energised);
    EXPECT_EQ(tripRelayDriven(), c.energised);
}
const FirstOutCase kFirstOutCases[] = {
    {"OverspeedDropsIt", 3, 0, 0},
    {"ExternalTrip1KeepsIt", 1, 0, 1},
    {"JustAboveExternalTrip1DropsIt", 2, 0, 0},
    {"JustBelowExternalTrip2DropsIt", 8, 0, 0},
    {"ExternalTrip2KeepsIt", 9, 0, 1},
    {"ExternalTrip5KeepsIt", 12, 0, 1},
    {"JustAboveExternalTrip5DropsIt", 13, 0, 0},
    {"NoFirstOutDropsIt", 0, 0, 0},
    {"ExternalTripsConfiguredToActDropIt", 9, 1, 0},
    {"ExternalTrip1ConfiguredToActDropsIt", 1, 1, 0},
};
INSTANTIATE_TEST_SUITE_P(FirstOut, TripRelayFirstOut, ::testing::ValuesIn(kFirstOutCases),
                         [](const ::testing::TestParamInfo<FirstOutCase>& i) { return std::string(i.param.name); });

TEST_F(Relays, WithResetToClearTheTripRelayStaysDroppedUntilTheResetPulse) {
    startWithTripRelay();
    setCell("SHUTDOWNS.RST_CLRTRP.B_NAME", 1);
    runPasses(R160, 1);
    shutdown(true);
    runPasses(R10, 10);
    shutdown(false);
    runPasses(R10, 60);
    EXPECT_EQ(boolean("SHUTDOWNS.REL_LATCH.LATCH"), 1u);
    EXPECT_EQ(tripRelayDriven(), 0u);
    setCell("RESET.RST.ONE_SHOT", 1);
    runPasses(R80, 2);
    setCell("RESET.RST.ONE_SHOT", 0);
    runPasses(R80, 2);
    EXPECT_EQ(boolean("SHUTDOWNS.REL_LATCH.LATCH"), 0u);
    EXPECT_EQ(tripRelayDriven(), 1u);
}

struct ReadbackCase {
    const char* name;
    int stuck;                       // -1: the contact follows the relay
    std::vector<uint32_t> faults;    // from the pass in which the command changed
};
class RelayReadback : public Relays, public ::testing::WithParamInterface<ReadbackCase> {};

TEST_P(RelayReadback, FaultWhenTheReadbackDiffersFromTheCommandOfTheFrameBefore) {
    const ReadbackCase& c = GetParam();
    board::wireRelayReadbacks(true);
    start();
    VKIO_UnAssertIOLock();
    configureRelay(0, 2);  // relay 2: "Summary Shutdown"
    board::setRelayReadbackStuck(1, c.stuck);
    runPasses(R10, 3);
    ASSERT_EQ(boolean("CNFG_BO.RELAY_2.RDBK_FAULT"), c.stuck == 1 ? 1u : 0u);
    setCell("SHUTDOWNS.ANY.LATCH_AE", 1);
    std::vector<uint32_t> seen;
    for (int pass = 0; pass < 8 && seen.size() < c.faults.size(); ++pass) {
        runPasses(R10, 1);
        if (!seen.empty() || boolean("_ub21.ENERGIZE_CMD.B_NAME") == 1) seen.push_back(boolean("CNFG_BO.RELAY_2.RDBK_FAULT"));
    }
    EXPECT_EQ(seen, c.faults);
}
const ReadbackCase kReadbackCases[] = {
    {"FollowingContactGivesNoFault", -1, {0, 0, 0, 0}},
    {"ContactStuckOpenFaultsTheSecondPassAfterTheChange", 0, {0, 0, 1, 1}},
};
INSTANTIATE_TEST_SUITE_P(Contacts, RelayReadback, ::testing::ValuesIn(kReadbackCases),
                         [](const ::testing::TestParamInfo<ReadbackCase>& i) { return std::string(i.param.name); });

TEST_F(Relays, RemoteRelayOutputIsHeldOffUnderTheIoLockWhileItsCommandShows) {
    start();
    configureRelay(3, 1, 1, true);  // remote relay 1, "--- Not Used ---" inverted
    runPasses(R40, 2);
    EXPECT_EQ(boolean("_ub75.ENERGIZE_CMD.B_NAME"), 1u);
    EXPECT_EQ(boolean("VL5_BO.BOUT_01.DISPLAY"), 1u);
    EXPECT_EQ(boolean("VL5_BO.BOUT_01.RDBK"), 1u) << "the inverse of the node's readback bit";
    VKIO_AssertIOLock();
    runPasses(R40, 2);
    EXPECT_EQ(boolean("VL5_BO.BOUT_01.DISPLAY"), 0u);
    EXPECT_EQ(boolean("_ub75.ENERGIZE_CMD.B_NAME"), 1u);
    EXPECT_EQ(text("_ub75.STATUS_STRNG.S_NAME"), " Energized ");
    VKIO_UnAssertIOLock();
}

TEST_F(Relays, RemoteReadbackShowsTheInverseOfEachOutputsOwnBit) {
    start();
    for (int k = 1; k <= 16; ++k) {
        SCOPED_TRACE(k);
        // The remote node logic stores the node's readback bits.
        for (int m = 1; m <= 16; ++m) VL5_BO_st.readback[m - 1] = m == k ? 1u : 0u;
        runPasses(R40, 1);
        for (int m = 1; m <= 16; ++m) {
            const std::string block = std::string("VL5_BO.BOUT_") + (m < 10 ? "0" : "") + std::to_string(m);
            EXPECT_EQ(boolean(block + ".RDBK"), m == k ? 0u : 1u) << m;
        }
    }
}

TEST_F(Relays, FunctionSelectsItsStateAndTextsFollowTheNumberInForce) {
    start();
    configureRelay(18, 13);  // remote relay 16: "Repeat of Trip Relay"
    runPasses(R40, 3);
    EXPECT_EQ(text("_ub90.FUNCT_STRNG.S_NAME"), "Repeat of Trip Relay");
    EXPECT_EQ(boolean("_ub90.RLY_USED.GT"), 1u);
    EXPECT_EQ(boolean("_ub90.ENERGIZE_CMD.B_NAME"), 1u) << "healthy trip relay";
    configureRelay(18, 40);  // clamped to 25
    EXPECT_EQ(integer("_ub90.FUNCT_INT.I_NAME"), 25);
    EXPECT_EQ(text("_ub90.FUNCT_STRNG.S_NAME"), "Spare 25");
    // The node's wizard supplies each relay's function while it is enabled.
    setCell("VL5_BO.WIZ_4RELAYS.IN", 1);
    for (int k = 1; k <= 16; ++k) setCell("VL5_BO.WIZFUN_RLY_CH" + std::to_string(k) + ".IN", k + 4);
    samplePulse(false);
    for (int k = 1; k <= 16; ++k) {
        EXPECT_EQ(integer(relay(k + 2) + ".FUNCT_INT.I_NAME"), k + 4) << "remote relay " << k;
        EXPECT_EQ(integer("VL5_BO.WIZFUN_RLY_CH" + std::to_string(k) + ".I_NAME"), k + 4);
    }
    // And the controller's wizard those of relays 2 .. 4.
    setCell("CNFG_WIZ.WIZARD.B_NAME", 1);
    setCell("CNFG_BO.WIZFUN_RLY_CH2.IN", 11);
    setCell("CNFG_BO.WIZFUN_RLY_CH4.IN", 12);
    samplePulse(true);
    EXPECT_EQ(integer("_ub21.FUNCT_INT.I_NAME"), 11);
    EXPECT_EQ(integer("_ub23.FUNCT_INT.I_NAME"), 12);
    EXPECT_EQ(real("CNFG_BO.RELAY_04_FUNCT.OUT_1"), 12.0f);
    setCell("CNFG_WIZ.WIZARD.B_NAME", 0);
    // The default of relay 2 is "Summary Alarm", texted once in force.
    configureRelay(0, 3);
    EXPECT_EQ(text("_ub21.FUNCT_STRNG.S_NAME"), "Summary Alarm");
    EXPECT_EQ(real("CNFG_BO.RELAY_02_FUNCT.OUT_1"), 3.0f);
}

TEST_F(Relays, StateListCarriesEachRelayFunctionsSource) {
    start();
    struct Entry {
        int n;
        const char* source;
    };
    const Entry entries[] = {
        {2, "SHUTDOWNS.ANY.LATCH_AE"},
        {3, "BO_MUX.ALARM.B_NAME"},
        {4, "BO_MUX.RST_PLS.B_NAME"},
        {6, "BO_MUX.RMT_ENBLD.B_NAME"},
        {7, "BO_MUX.RMT_CTRL.B_NAME"},
        {8, "SHUTDOWNS.SD_03.B_ALARM"},
        {9, "BO_MUX.OSPD_TEST.B_NAME"},
        {10, "SPDC.UNDER_SPD.B_SW"},
        {11, "HP_DRIVER.ACT_LSS.SEL_2"},
        {12, "SPD_CTRL.ONLINE_DYN.B_NAME"},
        {14, "BO_MUX.CASC_ENBLD.B_NAME"},
        {15, "BO_MUX.CASC_ACTIV.B_NAME"},
        {17, "BO_MUX.RMTCASC_EN.B_NAME"},
        {18, "BO_MUX.RMTCAS_ACT.B_NAME"},
        {19, "BO_MUX.START_IND.B_SW"},
        {20, "IFACE_OUT_START.SD_CLEAR.B_NAME"},
        {21, "IFACE_OUT_SPEED.NSD_IN_PROGRESS.B_NAME"},
    };
    for (const Entry& e : entries) {
        SCOPED_TRACE(e.source);
        setCell(e.source, 1);
        runPasses(R160, 1);
        for (int n = 1; n <= kRelayStates; ++n) {
            // 13 is the trip relay state (energised while healthy).
            const uint32_t want = n == e.n || n == 13 ? 1u : 0u;
            EXPECT_EQ(boolean("BO_MUX.SEL_STATES.LIST_" + std::to_string(n)), want) << n;
        }
        setCell(e.source, 0);
    }
    // Cascade in control: cascade enabled, speed PID in control and the
    // reference at its cascade limit.
    setCell("HP_DRIVER.ACT_LSS.SEL_1", 1);
    setCell("IFACE_OUT_SPEED.CASCADE_ENABLED.B_NAME", 1);
    setCell("SPDC.SPEED_REF.P_LIM_13", 1);
    runPasses(R160, 5);
    EXPECT_EQ(boolean("BO_MUX.SEL_STATES.LIST_5"), 1u);
    EXPECT_EQ(boolean("BO_MUX.SEL_STATES.LIST_16"), 1u);
    setCell("SPDC.SPEED_REF.P_LIM_13", 0);
    runPasses(R80, 2);
    EXPECT_EQ(boolean("BO_MUX.SEL_STATES.LIST_16"), 0u);
}

TEST_F(Relays, ActuatorDisplaysAndAlarmConditionsCopyTheirSources) {
    // Without the speed sensing of the first slice, so that the second
    // sensor's failure can be set here.
    useSlices(R10, {startUpInFirstFrame, _R10_TASK_6, _R10_TASK_7});
    start();
    setCell("MPU_OVRD.SS2_FLD.B_SW", 1);
    // The driver stage of this slice computes the actuator's cells from the
    // channel's demand and the board's readbacks.
    setCell("_ub5.DEMAND.A_NAME", 12.5);
    setCell("HP_DRIVER.ACT_LSS.HI_LIM_I", 1);
    setCell("CONF_VAL_1.USE_MPU2.B_NAME", 1);
    runPasses(R160, 1);
    EXPECT_EQ(real("CNFG_ACT.ACT_01_DISPLAY.A_NAME"), 12.5f);
    EXPECT_EQ(real("CNFG_ACT.ACT_01_RDBK.A_NAME"), real("CNFG_ACT.ACT_1.RDBK_RET"));
    EXPECT_EQ(real("CNFG_ACT.ACT_01_SRC.A_NAME"), real("CNFG_ACT.ACT_1.RDBK_SRC"));
    EXPECT_EQ(boolean("IFACE_OUT_VLV.ACT_LSS_HI_LIM_I.B_NAME"), 1u);
    EXPECT_EQ(boolean("ALM_LOGIC.ACT_LSS_HI_LIM_NOT.NOT"), 0u);
    EXPECT_EQ(boolean("ALM_LOGIC.SS2_FLT.AND"), 1u);
    setCell("CONF_VAL_1.USE_MPU2.B_NAME", 0);
    setCell("HP_DRIVER.ACT_LSS.HI_LIM_I", 0);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("ALM_LOGIC.ACT_LSS_HI_LIM_NOT.NOT"), 1u);
    EXPECT_EQ(boolean("ALM_LOGIC.SS2_FLT.AND"), 0u) << "the second sensor is not used";
}

TEST_F(Relays, ForcedStateOverridesTheInvertedFunctionAndEndsDeEnergised) {
    start();
    configureRelay(1, 1, 1, true);  // relay 3: constant 0, inverted
    runPasses(R10, 2);
    EXPECT_EQ(boolean("_ub22.ENERGIZE_CMD.B_NAME"), 1u);
    EXPECT_EQ(boolean("CNFG_BO.RELAY_3.DISPLAY"), 1u);
    EXPECT_EQ(boolean("CNFG_BO.RELAY_4.DISPLAY"), 0u);
    // Forcing off with the force state 0.
    setCell("_ub22.ENA_FORCING.IN", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("_ub22.FRC_ENBLD.LATCH_R"), 1u);
    EXPECT_EQ(boolean("_ub22.ENERGIZE_CMD.B_NAME"), 0u) << "the inversion does not apply when forced";
    EXPECT_EQ(boolean("CNFG_BO.RELAY_3.DISPLAY"), 0u);
    setCell("_ub22.FORCE_PROTECT.TUNE", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("_ub22.ENERGIZE_CMD.B_NAME"), 1u);
    // Disabling while still enabled: the reset wins; the force state returns to 0.
    setCell("_ub22.DIS_FORCING.IN", 1);
    runPasses(R160, 8);
    EXPECT_EQ(boolean("_ub22.FRC_ENBLD.LATCH_R"), 0u);
    EXPECT_EQ(integer("_ub22.FORCE_PROTECT.TUNE"), 0);
    EXPECT_EQ(boolean("_ub22.DISBL_DLY.DELAY"), 0u);
    // Outside the calibration mode forcing is inhibited.
    setCell("_ub22.DIS_FORCING.IN", 0);
    setCell("CALMODE.NOTCALMODE.B_NAME", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("_ub22.FRC_ENBLD.LATCH_R"), 0u);
    setCell("CALMODE.NOTCALMODE.B_NAME", 0);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("_ub22.FRC_ENBLD.LATCH_R"), 1u);
}

struct SwitchStep {
    float x;
    uint32_t out;
};
struct SwitchCase {
    const char* name;
    float on, off;
    uint32_t low_switch;
    std::vector<SwitchStep> steps;
};
class LevelSwitch : public Relays, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(LevelSwitch, TurnsOnAndOffAtItsPointsAndHoldsBetween) {
    const SwitchCase& c = GetParam();
    start();
    setCell("_ub23.USE_LVL_SW.IN", 1);
    setCell("_ub23.LVL_ON.IN", c.on);
    setCell("_ub23.LVL_OFF.IN", c.off);
    configureRelay(2, 1, 2);  // relay 4 on "Actual Speed"
    for (const SwitchStep& s : c.steps) {
        SCOPED_TRACE(s.x);
        setCell("BO_MUX.SEL_LSW.LIST_2", s.x);
        runPasses(R80, 2);
        EXPECT_EQ(boolean("_ub23.LSW_CALC.B_OUT_1"), s.out);
        EXPECT_EQ(boolean("_ub23.ENERGIZE_CMD.B_NAME"), s.out);
        EXPECT_EQ(boolean("CNFG_BO.RELAY_4.DISPLAY"), s.out);
    }
    EXPECT_EQ(boolean("_ub23.LSW_CALC.B_OUT_2"), c.low_switch);
}
const float kNan = std::numeric_limits<float>::quiet_NaN();
const SwitchCase kSwitchCases[] = {
    {"HighSwitchWithAHoldBand", 10.0f, 5.0f, 0,
     {{7.0f, 0}, {9.99f, 0}, {10.0f, 1}, {7.0f, 1}, {5.0f, 1}, {kNan, 1}, {4.99f, 0}, {kNan, 0}}},
    {"LowSwitchWithAHoldBand", 5.0f, 10.0f, 1,
     {{12.0f, 0}, {7.0f, 0}, {5.01f, 0}, {5.0f, 1}, {7.0f, 1}, {10.0f, 1}, {10.01f, 0}}},
    {"EqualPointsHaveNoHoldBand", 5.0f, 5.0f, 0, {{4.99f, 0}, {5.0f, 1}, {4.99f, 0}}},
};
INSTANTIATE_TEST_SUITE_P(Points, LevelSwitch, ::testing::ValuesIn(kSwitchCases),
                         [](const ::testing::TestParamInfo<SwitchCase>& i) { return std::string(i.param.name); });

TEST_F(Relays, LevelSwitchOnAnalogNumberOneGivesNoSource) {
    start();
    setCell("_ub23.USE_LVL_SW.IN", 1);
    setCell("BO_MUX.SEL_LSW.LIST_1", 20.0);
    configureRelay(2, 1, 1);
    runPasses(R80, 2);
    EXPECT_EQ(boolean("_ub23.LSW_CALC.B_OUT_1"), 1u);
    EXPECT_EQ(boolean("_ub23.LSW_CALC_NOT_USED.B_SW"), 0u);
    EXPECT_EQ(boolean("_ub23.ENERGIZE_CMD.B_NAME"), 0u);
    EXPECT_EQ(text("_ub23.LVL_FUNCT_STRNG.S_NAME"), "--- Not Used ---");
    EXPECT_EQ(integer("_ub23.RLY_CHK_USE.I_SW"), 1);
}


TEST_F(Relays, SpeedControlStateFollowsItsSelectionAfterTheOnAndOffDelays) {
    start();
    setCell("HP_DRIVER.ACT_LSS.SEL_1", 1);
    int held = -1;  // the pass that takes the selection counts as held too
    while (held < 100 && boolean("BO_MUX.SPD_CTRL.B_NAME") == 0) {
        runPasses(R10, 1);
        ++held;
    }
    EXPECT_GE(held, 50) << "0.5 s at 10 ms";
    EXPECT_LE(held, 51) << "within one pass of float rounding";
    EXPECT_EQ(boolean("BO_MUX.SEL_STATES.LIST_5"), 1u);
    // The valve limiter taking control drops the selection after the off delay.
    setCell("HP_DRIVER.ACT_LSS.SEL_2", 1);
    runPasses(R10, 45);
    EXPECT_EQ(boolean("BO_MUX.SPD_CTRL.B_NAME"), 1u);
    EXPECT_EQ(boolean("BO_MUX.VLVLMT_CTL.B_NAME"), 1u);
    runPasses(R10, 10);
    EXPECT_EQ(boolean("BO_MUX.SPD_CTRL.B_NAME"), 0u);
    // A pulse shorter than the delay changes nothing.
    setCell("HP_DRIVER.ACT_LSS.SEL_2", 0);
    runPasses(R10, 20);
    setCell("HP_DRIVER.ACT_LSS.SEL_2", 1);
    runPasses(R10, 60);
    EXPECT_EQ(boolean("BO_MUX.SPD_CTRL.B_NAME"), 0u);
}

// A delay that is no number keeps the on-delay counting: a state that had
// come on goes off and stays off while the delay is no number.
TEST_F(Relays, SpeedControlStateDropsWhileItsOnDelayIsNoNumber) {
    start();
    setCell("HP_DRIVER.ACT_LSS.SEL_1", 1);
    runPasses(R10, 60);
    ASSERT_EQ(boolean("BO_MUX.SPD_CTRL.B_NAME"), 1u);
    setCell("BO_MUX.DLY_LSS1.DLY_TIME", std::numeric_limits<double>::quiet_NaN());
    for (int pass = 0; pass < 5; ++pass) {
        runPasses(R10, 1);
        EXPECT_EQ(boolean("BO_MUX.DLY_LSS1.DELAY"), 0u) << pass;
        EXPECT_EQ(integer("BO_MUX.DLY_LSS1.R_TIME"), 0) << pass;
    }
    // A number again: the time counted meanwhile has passed it.
    setCell("BO_MUX.DLY_LSS1.DLY_TIME", 0.02);
    runPasses(R10, 1);
    EXPECT_EQ(boolean("BO_MUX.DLY_LSS1.DELAY"), 1u);
}

// Relay 1 samples its function from the number entered by hand.
TEST_F(Relays, RelayOneSamplesItsFunctionFromTheNumberEnteredByHand) {
    startWithTripRelay();
    setCell("CNFG_BO.RLY_FUNCTION.TUNE", 1);
    setCell("CNFG_BO.RLY_FUNCT.IN", 2);
    setCell("CALMODE.ADJUSTOK.OR", 1);
    setCell("CALMODE.CFG_SAMPL_OK.B_NAME", 0);
    runPasses(R160, 1);
    ASSERT_EQ(integer("CNFG_BO.RLY_FUNCTION.SAMP_ITUNE"), 1);
    setCell("CALMODE.CFG_SAMPL_OK.B_NAME", 1);
    runPasses(R160, 1);
    EXPECT_EQ(integer("CNFG_BO.RLY_FUNCTION.SAMP_ITUNE"), 2);
}

TEST_F(Relays, AlarmOverrideRunsForItsDelayAfterALatchedShutdownClears) {
    start();
    shutdown(true);
    runPasses(R10, 5);
    EXPECT_EQ(boolean("ALARMS.OVRD_17.OR"), 0u);
    shutdown(false);
    int on = 0;
    for (int k = 0; k < 40; ++k) {
        runPasses(R10, 1);
        on += static_cast<int>(boolean("ALARMS.OVRD_17.OR"));
    }
    EXPECT_GE(on, 20);
    EXPECT_LE(on, 21);
}

struct DriveCase {
    const char* name;
    int breaker, trip_acts, reversed, calibrating, self_powered, self_setting;
    uint32_t shutdown, request;
};
class DriveShutdown : public Relays, public ::testing::WithParamInterface<DriveCase> {};

TEST_P(DriveShutdown, DriverShutsDownOnlyWhenTripsActAndNeitherReversedNorCalibrating) {
    const DriveCase& c = GetParam();
    start();
    setCell("DRVR_SCALE.SD_DVR_BRK.ZMINUS1_B", c.breaker);
    setCell("CNFG_OPERATE.TRIP_ACTS.B_NAME", c.trip_acts);
    setCell("IFACE_IN_VLV.INVERT_DMD.B_NAME", c.reversed);
    setCell("CALMODE.CALMODE.B_NAME", c.calibrating);
    setCell("IFACE_IN_VLV.SELF_PWACT.B_NAME", c.self_powered);
    setCell("CNFG_ACT.SELFPWR_SW.NO", c.self_setting);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("DRVR_SCALE.SDDRV_ACT1.B_NAME"), c.shutdown);
    EXPECT_EQ(boolean("CNFG_ACT.SELFPWR_SW.B_SW"), c.request);
}
const DriveCase kDriveCases[] = {
    {"TripActingOnTheDriver", 1, 1, 0, 0, 0, 0, 1, 1},
    {"NoShutdownDelay", 0, 1, 0, 0, 0, 0, 0, 0},
    {"TripsNotActing", 1, 0, 0, 0, 0, 0, 0, 0},
    {"ReversedDemand", 1, 1, 1, 0, 0, 0, 0, 0},
    {"CalibrationMode", 1, 1, 0, 1, 0, 0, 0, 0},
    {"SelfPoweredTakesItsOwnSetting", 1, 1, 0, 0, 1, 0, 1, 0},
    {"SelfPoweredSettingShutsDown", 0, 0, 0, 0, 1, 1, 0, 1},
};
INSTANTIATE_TEST_SUITE_P(Conditions, DriveShutdown, ::testing::ValuesIn(kDriveCases),
                         [](const ::testing::TestParamInfo<DriveCase>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace di_test
