// The small block groups the cascade and valve slices carry for other
// modules: the controlled-stop flags, the reset-contact command and the stop
// pulse of the reference at rest, the remote speed setpoint's limiter, the
// relay indications, the level-switch list and the calibration stop flags on
// the whole program, with the remote nodes' restart request on the host CAN
// bus; on the slices only the rows no input gives.
#include <cmath>

#include "app/config/config_slices.h"
#include "app/control/control_slices.h"
#include "app/discrete/discrete_slices.h"
#include "app/interface/interface_slices.h"
#include "app/protection/protection_slices.h"
#include "host/analog_inputs.h"
#include "host/board.h"
#include "host/hostkernel.h"
#include "host/speed_sensor_model.h"
#include "host/turbine_model.h"
#include "tests/control_valve/valve_rig.h"
#include "tests/remote_io/program_rig.h"
#include "tests/support/ref_rig.h"

using namespace valve_test;

namespace {

class AuxBlocks : public ValveRig {
protected:
    void SetUp() override {
        ValveRig::SetUp();
        run({}, {}, {_R80_TASK_13, _R80_TASK_14, _R80_TASK_17}, {_R160_TASK_15, _R160_TASK_82});
        seconds(0.5);
    }
};

// The rows no input gives: the stop's step and the reference chart's
// first step are never active together, and the reference never rests
// between -1 and idle. The other rows on the program
// (AuxProgram.ControlledStopCompletesAtOrBelowIdleOnlyInTheNormalShutdownStep).
TEST_F(AuxBlocks, ControlledStopCompletesAtOrBelowIdleOnlyInTheNormalShutdownStep) {
    setCell("SPDC.NO_LOW_IDL.A_SW", 1000.0);
    const struct {
        uint32_t z01, a01, idle_cmpl;
        double ref;
        uint32_t below_min, lt_idle, cmd, cplt;
    } rows[] = {
        {1, 1, 0, 2000.0, 0, 0, 1, 1},  // stopping at idle
        {1, 0, 0, 999.0, 1, 0, 1, 1},   // the reference below the idle it stops at
        {0, 0, 0, 999.0, 1, 0, 0, 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(::testing::Message() << r.z01 << r.a01 << r.idle_cmpl << " " << r.ref);
        setCell("SPDC.Z01_STEP.SFC_STEP", r.z01);
        setCell("SPDC.A01_STEP.SFC_STEP", r.a01);
        setCell("SPDC.IDLE_1_CMPL.AND", r.idle_cmpl);
        setCell("SPDC.SPEED_REF.RAMP", r.ref);
        runPasses(R160, 1);
        EXPECT_EQ(boolean("IFACE_OUT_SPEED.BELOW_MIN.B_NAME"), r.below_min);
        EXPECT_EQ(boolean("CNTRL_STOP.STP_SPD_LT_IDLE.AND"), r.lt_idle);
        EXPECT_EQ(boolean("CNTRL_STOP.STP_CMD.AND"), r.cmd);
        EXPECT_EQ(boolean("CNTRL_STOP.STP_CPLT.OR"), r.cplt);
    }
}

// The rows just above and below -1 that no input gives (the reference
// rests at -1 and leaves it in steps of several rpm): on the slices; the
// others on the program (AuxProgram.ReferenceComingToRestAtMinusOneGivesOneStopPulse).
TEST_F(AuxBlocks, ReferenceComingToRestAtMinusOneGivesOneStopPulse) {
    const struct {
        double ref;
        uint32_t compare, equal, pulse;
    } rows[] = {{-0.5, 1, 0, 0}, {-1.0, 1, 1, 1}, {-1.5, 0, 0, 0}, {-1.0, 1, 1, 1}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.ref);
        setCell("IFACE_OUT_SPEED.SPEED_REF.A_NAME", r.ref);
        runPasses(R80, 1);
        EXPECT_EQ(boolean("START.CP_REFNLUL.A_COMPARE"), r.compare);
        EXPECT_EQ(boolean("START.CP_REFNLUL.A_EQUAL"), r.equal);
        EXPECT_EQ(boolean("START.PLS_OFF.B_ACTION"), r.pulse);
    }
}

}  // namespace

namespace {

class AuxProgram : public ProgramRig {};

// The start indication: a 2 s pulse when the run command latches, or with
// its switch the started state itself; both end with the run command.
TEST_F(AuxProgram, StartIndicationIsAPulseOrTheStartedState) {
    powerUpReady();
    startCommand();
    ASSERT_TRUE(runUntil([&] { return boolean("START.RUN_CMD.LATCH_R") != 0; }, 20)) << "never started";
    EXPECT_EQ(boolean("IFACE_OUT_START.STARTED.B_NAME"), 1u);
    int on = 0;
    for (int k = 0; k < 40; ++k) {
        on += boolean("BO_MUX.START_IND.B_SW") != 0;
        runPasses(R80, 1);
    }
    EXPECT_NEAR(on * 0.08, 2.0, 0.1);
    EXPECT_EQ(boolean("BO_MUX.STARTED_OS.ONE_SHOT"), 0u);
    serviceWrite("BO_MUX.START_IND.CTRL", 0);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("BO_MUX.START_IND.B_SW"), 1u);
    // A trip drops the run command.
    contact(kTripContact, false);
    ASSERT_TRUE(runUntil([&] { return boolean("START.RUN_CMD.LATCH_R") == 0; }, 5)) << "still running";
    runPasses(R80, 1);
    EXPECT_EQ(boolean("BO_MUX.START_IND.B_SW"), 0u);
    EXPECT_EQ(boolean("IFACE_OUT_START.STARTED.B_NAME"), 0u);
}

// The unit is off while tripped (as it powers up, until a reset) or by its
// tunable.
TEST_F(AuxProgram, TheUnitIsOffWhileTrippedOrByItsTunable) {
    powerUp();
    for (bool ready : {false, true}) {
        if (ready) clearTrips();
        ASSERT_EQ(tripped(), !ready);
        for (uint32_t in : {0u, 1u}) {
            serviceWrite("CALMODE.UNIT_OFF.IN_1", in);
            runPasses(R80, 1);
            EXPECT_EQ(boolean("CALMODE.UNIT_OFF.OR"), (ready ? 0u : 1u) | in) << ready << in;
        }
    }
}

// The controlled stop's flags through a start to rated and a stop on the
// service tool's command: running, the stop above idle, the reference at
// idle in the stop; at rest; and the speed below idle during a stop with
// its use switched on (the shaft held there).
class AuxStop : public ref_test::RefRig {};

TEST_F(AuxStop, ControlledStopCompletesAtOrBelowIdleOnlyInTheNormalShutdownStep) {
    auto flags = [&](uint32_t below_min, uint32_t lt_idle, uint32_t cmd, uint32_t cplt, const char* what) {
        EXPECT_EQ(boolean("IFACE_OUT_SPEED.BELOW_MIN.B_NAME"), below_min) << what;
        EXPECT_EQ(boolean("CNTRL_STOP.STP_SPD_LT_IDLE.AND"), lt_idle) << what;
        EXPECT_EQ(boolean("CNTRL_STOP.STP_CMD.AND"), cmd) << what;
        EXPECT_EQ(boolean("CNTRL_STOP.STP_CPLT.OR"), cplt) << what;
    };
    start(true, true, {{"IFACE_IN_SPEED.NS_RATE.IN", 100.0}});
    runPasses(ref_test::R160, 2);
    flags(1, 0, 0, 0, "at rest, the reference at -1");
    startCommand();
    ASSERT_TRUE(runUntil([&] { return step("A01_STEP"); }, 20));
    runPasses(ref_test::R80, 3);
    ASSERT_TRUE(step("A01_STEP"));
    EXPECT_EQ(boolean("CNTRL_STOP.STP_CMD.AND"), 0u) << "going to idle, no stop";
    EXPECT_EQ(boolean("CNTRL_STOP.STP_CPLT.OR"), 0u) << "going to idle, no stop";
    startToRated();
    flags(0, 0, 0, 0, "running");
    serviceWrite("IFACE_IN_START.CNTRL_ST.IN", 1);
    ASSERT_TRUE(runUntil([&] { return step("Z01_STEP"); }, 20));
    serviceWrite("IFACE_IN_START.CNTRL_ST.IN", 0);
    ASSERT_TRUE(runUntil([&] { return ref() < 2000.0f; }, 500));
    flags(0, 0, 0, 0, "stopping, above idle");
    ASSERT_TRUE(runUntil([&] { return ref() == static_cast<float>(ref_test::kIdle); }, 500));
    runPasses(ref_test::R80, 2);
    ASSERT_TRUE(step("Z01_STEP"));
    flags(1, 0, 1, 1, "stopping at the idle it stops at");
    // With the idle-complete check used, a speed below idle completes a
    // stop before the reference has come down; not outside a stop.
    stopApp();
    shaftAt(0.0);
    start(true, true, {{"IFACE_IN_SPEED.NS_RATE.IN", 100.0}, {"SPDC.IDLE_1_CMPL.IN_2", 1}});
    runPasses(ref_test::R160, 2);
    EXPECT_EQ(boolean("SPDC.IDLE_1_CMPL.AND"), 1u) << "at rest";
    flags(1, 0, 0, 0, "at rest, below idle, no stop");
    startToRated();
    serviceWrite("IFACE_IN_START.CNTRL_ST.IN", 1);
    ASSERT_TRUE(runUntil([&] { return step("Z01_STEP"); }, 20));
    serviceWrite("IFACE_IN_START.CNTRL_ST.IN", 0);
    holdShaftAt(800.0);
    ASSERT_TRUE(runUntil([&] { return boolean("SPDC.IDLE_1_CMPL.AND") != 0; }, 300)) << "never below idle";
    runPasses(ref_test::R80, 2);
    ASSERT_GT(ref(), 2000.0f);
    flags(0, 1, 0, 1, "stopping, the speed below idle");
}

// The reset contact's command follows half a second after the contact
// closes and drops with the contact's one-second pulse.
TEST_F(AuxProgram, ResetContactCommandFollowsAfterHalfASecondAndDropsAtOnce) {
    powerUp();
    runPasses(R160, 10);
    contact(kResetContact, true);
    int on = 0;
    for (int k = 0; k < 20 && boolean("START.DI_RST_CMD.DELAY") == 0; ++k) {
        runPasses(R80, 1);
        ++on;
    }
    EXPECT_NEAR(on * 0.08, 0.6, 0.09);
    ASSERT_TRUE(runUntil([&] { return boolean("RESET.RESET_DI.ONE_SHOT") == 0; }, 20));
    EXPECT_EQ(boolean("START.DI_RST_CMD.DELAY"), 0u);
    contact(kResetContact, false);
}

// A reset of one pass (the keypad's reset key) shows on the reset relay
// pulse for two seconds.
TEST_F(AuxProgram, AResetCommandOfOnePassShowsForTwoSeconds) {
    powerUpReady();
    runPasses(R160, 20);
    hk::runTask([] { board::setKey(2, 4, true); });
    int on = 0, rst = 0;
    for (int k = 0; k < 40; ++k) {
        runPasses(R80, 1);
        if (k == 3) hk::runTask([] { board::setKey(2, 4, false); });
        rst += boolean("RESET.RST_OR.OR") != 0;
        on += boolean("BO_MUX.RST_PLS.B_NAME") != 0;
        EXPECT_EQ(boolean("BO_MUX.RST_PLS.B_NAME"), boolean("BO_MUX.RST_PLS2.ONE_SHOT"));
    }
    EXPECT_GE(rst, 1);
    EXPECT_NEAR(on * 0.08, 2.0, 0.1);
}

// The reference coming to rest at -1 gives one stop pulse: at a trip, and
// again at the next.
TEST_F(AuxProgram, ReferenceComingToRestAtMinusOneGivesOneStopPulse) {
    turbine::enable();
    powerUpReady();
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        startCommand();
        ASSERT_TRUE(runUntil([&] { return real("IFACE_OUT_SPEED.SPEED_REF.A_NAME") > 100.0f; }, 200));
        runPasses(R80, 1);
        EXPECT_EQ(boolean("START.CP_REFNLUL.A_COMPARE"), 1u);
        EXPECT_EQ(boolean("START.CP_REFNLUL.A_EQUAL"), 0u);
        EXPECT_EQ(boolean("START.PLS_OFF.B_ACTION"), 0u);
        contact(kTripContact, false);
        int pulses = 0, k = 0;
        for (; k < 20 && boolean("START.CP_REFNLUL.A_EQUAL") == 0; ++k) runPasses(R80, 1);
        ASSERT_EQ(real("IFACE_OUT_SPEED.SPEED_REF.A_NAME"), -1.0f);
        EXPECT_EQ(boolean("START.CP_REFNLUL.A_COMPARE"), 1u);
        for (int p = 0; p < 10; ++p) {
            pulses += boolean("START.PLS_OFF.B_ACTION") != 0;
            EXPECT_EQ(boolean("START.CP_REFNLUL.A_EQUAL"), 1u) << p;
            runPasses(R80, 1);
        }
        EXPECT_EQ(pulses, 1);
        runPasses(R160, 60);
        clearTrips();
    }
}

// The remote speed setpoint on the controller's analog input 1 (ranged
// 2000 .. 4000 rpm), its limits sampled at power-up from the governor range
// (3000 .. 3700) inside the input's (a range check the configuration checks
// flag; overridden here); enabled from its contact on BI08 in
// control, the enable shows on the relay list and the interface.
class AuxRemote : public ref_test::RefRig {
protected:
    static constexpr int kRemoteEnableContact = ref_test::kSpareContact + 1;
    void input(double rpm) { board::setAnalogInputMa(0, 4.0 + 16.0 * (rpm - 2000.0) / 2000.0); }
};

TEST_F(AuxRemote, RemoteSpeedSetpointIsHeldToItsSampledLimitsAndItsEnableIsIndicated) {
    input(3500.0);
    start(false, false,
          {{"CNFG_SETPT.QT_MAX_GOV.IN", 3700.0},
           {"CNFG_SETPT.CONFIG_B.IN_2", 1},
           {"_ub6.FUNCT.IN", 2},
           {"_ub6.RANGE_LO.IN", 2000.0},
           {"_ub6.RANGE_HI.IN", 4000.0},
           {"_ub20.FUNCT.IN", 8},
           // An input ranged wider than the limits is a configuration
           // error: its check overridden.
           {"CONF_LATCH.ANY.OVRD", 1}});
    EXPECT_EQ(real("RMT_SETPT.MIN_SPD.SAMP_TUNE"), 3000.0f);
    EXPECT_EQ(real("RMT_SETPT.MAX_SPD.SAMP_TUNE"), 3700.0f);
    const double rows[][2] = {{3500.0, 3500.0}, {2500.0, 3000.0}, {3900.0, 3700.0}, {3700.0, 3700.0}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r[0]);
        input(r[0]);
        runPasses(ref_test::R160, 3);
        EXPECT_NEAR(real("RMT_SETPT.A_LIMITER.A_LIMITER"), r[1], 0.1);
        EXPECT_EQ(real("IFACE_OUT_SPEED.RMT_SPD_INPUT.A_NAME"), real("RMT_SETPT.A_LIMITER.A_LIMITER"));
        EXPECT_EQ(real("AO_MUX.RMT_SPD_SP.A_NAME"), real("RMT_SETPT.A_LIMITER.A_LIMITER"));
    }
    // The enable, from its contact in control, and its release.
    input(3500.0);
    startToInControl();
    for (uint32_t v : {1u, 0u}) {
        contact(kRemoteEnableContact, v != 0);
        ASSERT_TRUE(runUntil([&] { return boolean("RMT_ENBL.ENABLED.LATCH_R") == v; }, 10)) << v;
        runPasses(ref_test::R80, 1);
        EXPECT_EQ(boolean("BO_MUX.RMT_ENBLD.B_NAME"), v);
        runPasses(ref_test::R160, 1);
        EXPECT_EQ(boolean("IFACE_OUT_SPEED.RMT_SPD_ENABLED.B_NAME"), v);
    }
}

// The level-switch list carries its values in order: its settings, the
// speed (the shaft held), the reference, the cascade values (0 while
// cascade is unused), the valve demand, and the three signal monitors on
// the controller's analog inputs 1 .. 3 (ranged 0 .. 100 at 8, 12 and 16 mA).
TEST_F(AuxProgram, LevelSwitchListCarriesItsValuesInOrder) {
    const double ma[3] = {8.0, 12.0, 16.0};
    for (int k = 0; k < 3; ++k) board::setAnalogInputMa(k, ma[k]);
    speedsensor::setShaftSpeed(0, 1234.5, 60);
    speedsensor::setShaftSpeed(1, 1234.5, 60);
    Settings monitors = {{"_ub6.FUNCT.IN", 13}, {"_ub6.RANGE_LO.IN", 0.0}, {"_ub6.RANGE_HI.IN", 100.0},
                         {"_ub7.FUNCT.IN", 14}, {"_ub7.RANGE_LO.IN", 0.0}, {"_ub7.RANGE_HI.IN", 100.0},
                         {"_ub8.FUNCT.IN", 15}, {"_ub8.RANGE_LO.IN", 0.0}, {"_ub8.RANGE_HI.IN", 100.0}};
    powerUp(monitors);
    serviceWrite("BO_MUX.SEL_LSW.IN_1", 10.5);
    for (int n = 10; n <= 15; ++n) serviceWrite("BO_MUX.SEL_LSW.IN_" + std::to_string(n), 10.0 * n + 0.5);
    runPasses(R160, 10);
    const char* sources[] = {"BO_MUX.SEL_LSW.IN_1",   "AO_MUX.SPEED.A_NAME",     "AO_MUX.SPD_SETPT.A_NAME",
                             "AO_MUX.CASC_IN_NAME.A_NAME", "AO_MUX.CASC_SETPT.A_NAME", "AO_MUX.HP_DMD.A_SW",
                             "AI_MUX.SIG_MON_1.A_NAME", "AI_MUX.SIG_MON_2.A_NAME", "AI_MUX.SIG_MON_3.A_NAME",
                             "BO_MUX.SEL_LSW.IN_10",  "BO_MUX.SEL_LSW.IN_11",    "BO_MUX.SEL_LSW.IN_12",
                             "BO_MUX.SEL_LSW.IN_13",  "BO_MUX.SEL_LSW.IN_14",    "BO_MUX.SEL_LSW.IN_15"};
    const double want[15] = {10.5, 1234.5, -1.0, 0.0, 0.0, 0.0, 25.0, 50.0, 75.0,
                             100.5, 110.5, 120.5, 130.5, 140.5, 150.5};
    for (int n = 0; n < 15; ++n) {
        SCOPED_TRACE(sources[n]);
        const float v = real("BO_MUX.SEL_LSW.LIST_" + std::to_string(n + 1));
        EXPECT_FLOAT_EQ(v, real(sources[n]));
        EXPECT_NEAR(v, want[n], 0.1);
    }
}

// The calibration stop flags on the whole program: calibration entered by
// the service tool's command while the unit is off (tripped at power-up, the
// shaft at rest), the forced inhibit from the speed check or its tunable,
// the application stopped while calibration is permitted, and the user's
// one-minute stop from its service trigger, counted down in whole seconds.
TEST_F(AuxProgram, CalibrationStopFlagsAndTheUsersOneMinuteStop) {
    powerUp({{"CNFG_SPEED.SPD1_LOW_SP.IN", 200.0}, {"CNFG_SPEED.SPD2_LOW_SP.IN", 400.0}});
    EXPECT_EQ(integer("CALMODE.USER_STOP.R_TIME"), 60);
    EXPECT_EQ(boolean("CALMODE.NOTCALMODE.B_NAME"), 1u);
    ASSERT_TRUE(tripped());
    EXPECT_EQ(boolean("CALMODE.CALPERM.B_NAME"), 1u);
    EXPECT_EQ(boolean("CALMODE.STOP_APPL.OR"), 1u) << "calibration permitted";
    command("MASTER.COMMANDS.IN_4", R160);
    ASSERT_TRUE(runUntil([&] { return boolean("CALMODE.ENABLE.LATCH_R") != 0; }, 20)) << "calibration never entered";
    EXPECT_EQ(boolean("CALMODE.NOT_CAL.NOT"), 0u);
    EXPECT_EQ(boolean("CALMODE.NOTCALMODE.B_NAME"), 0u);
    // The forced inhibit: the tunable, or the speed check failing (the
    // shaft turning above the lower failed level).
    const struct {
        double rpm;
        uint32_t in_2, nocalperm, force;
    } force[] = {{0.0, 0, 0, 0}, {0.0, 1, 0, 1}, {300.0, 0, 1, 1}};
    for (const auto& f : force) {
        sensorsAt(f.rpm);
        serviceWrite("CALMODE.FORCE_INHI.IN_2", f.in_2);
        runPasses(R160, 8);
        EXPECT_EQ(boolean("CALMODE.NOCALPERM.NOT"), f.nocalperm) << f.rpm;
        EXPECT_EQ(boolean("CALMODE.FORCE_INHI.OR"), f.force) << f.rpm << " " << f.in_2;
    }
    sensorsAt(0.0);
    runPasses(R160, 8);
    // The unit on (the trips reset): no longer permitted, the application
    // runs.
    clearTrips();
    EXPECT_EQ(boolean("CALMODE.CALPERM.B_NAME"), 0u);
    EXPECT_EQ(boolean("CALMODE.STOP_APPL.OR"), 0u);
    // The user's stop: a minute.
    serviceWrite("CALMODE.USER_STOP.TRIGGER", 1);
    runPasses(R160, 1);
    serviceWrite("CALMODE.USER_STOP.TRIGGER", 0);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("CALMODE.STOP_APPL.OR"), 1u);
    seconds(30.0);
    EXPECT_NEAR(integer("CALMODE.USER_STOP.R_TIME"), 30, 1);
    EXPECT_EQ(boolean("CALMODE.USER_STOP.ONE_SHOT"), 1u);
    seconds(31.0);
    EXPECT_EQ(boolean("CALMODE.USER_STOP.ONE_SHOT"), 0u);
    EXPECT_EQ(boolean("CALMODE.STOP_APPL.OR"), 0u);
}

}  // namespace

namespace {

// The remote network's restart request on the whole program with the host's
// CAN bus: the four nodes permitted and reset with none on the bus, each
// ends with its identity fault and none is active; with the option and the
// network on, the request comes. The option or the network off, or a node
// on the bus and active: no request.
class AuxNodes : public rio_test::ProgramWithNodes {
protected:
    static constexpr const char* kNodes[4] = {"VL_NODE1_AIO", "VL_NODE3_RTD_8C", "VL_NODE4_BI", "VL_NODE5_BO"};
    std::string cell(const char* node, const char* field) { return std::string("CNFG_CAN2.") + node + "." + field; }
    void expectRequest(uint32_t none, uint32_t request, const char* what) {
        EXPECT_EQ(boolean("CNFG_CAN2.NONE_ACTIV.NOR"), none) << what;
        EXPECT_EQ(boolean("CNFG_CAN2.ALL_PWRUP.AND"), request) << what;
    }
};

TEST_F(AuxNodes, NetworkRestartIsRequestedOnlyWhenNoNodeIsActiveAndAllFailedTheirIdentity) {
    startPastPowerUp();
    serviceWrite("CNFG_CAN2.USE_VL.IN", 1);
    serviceWrite("CNFG_CAN2.ALL_PWRUP.IN_7", 1);
    for (const char* n : kNodes) serviceWrite(cell(n, "INIT_PERM"), 1);
    serviceWrite("CNFG_CAN2.INIT_ALL.IN", 1);
    serviceWrite("CNFG_CAN2.ENA_VL.IN_2", 1);
    runPasses(R80, 60);
    for (const char* n : kNodes) {
        EXPECT_EQ(boolean(cell(n, "ACTIVE")), 0u) << n;
        ASSERT_EQ(boolean(cell(n, "ID_FAULT")), 1u) << n;
    }
    expectRequest(1, 1, "all failed, none active");
    // The option or the network off: no request.
    serviceWrite("CNFG_CAN2.ALL_PWRUP.IN_7", 0);
    runPasses(R80, 2);
    expectRequest(1, 0, "the option off");
    serviceWrite("CNFG_CAN2.ALL_PWRUP.IN_7", 1);
    serviceWrite("CNFG_CAN2.ENA_VL.IN_2", 0);
    serviceWrite("CNFG_CAN2.USE_VL.IN", 0);
    runPasses(R80, 4);
    EXPECT_EQ(boolean("CNFG_CAN2.ENA_VL.OR"), 0u);
    expectRequest(1, 0, "the network off");
}

// One node on the bus, the others absent (each ends with its identity
// fault): while the node sends no process data it is not active but has no
// identity fault, and once its process data comes it is active; neither
// gives the request.
struct OnTheBus {
    SimRemoteNode::Kind kind;
    uint8_t id;
    const char *name, *enable;
    std::vector<std::pair<uint32_t, std::vector<uint8_t>>> pdos;
};

class AuxNodeAlone : public AuxNodes, public ::testing::WithParamInterface<int> {};

const OnTheBus kOnTheBus[] = {
    {SimRemoteNode::Kind::AnalogIO, 1, "VL_NODE1_AIO", "CNFG_CAN2.VL1_ENA.IN",
     {{0x281, std::vector<uint8_t>(8, 0)}, {0x381, std::vector<uint8_t>(8, 0)}, {0x481, std::vector<uint8_t>(4, 0)}}},
    {SimRemoteNode::Kind::Rtd, 3, "VL_NODE3_RTD_8C", "CNFG_CAN2.VL3_ENA.IN",
     {{0x283, std::vector<uint8_t>(8, 0)}, {0x383, std::vector<uint8_t>(8, 0)}}},
    {SimRemoteNode::Kind::DiscreteIn, 4, "VL_NODE4_BI", "CNFG_CAN2.VL4_ENA.IN", {{0x184, {0x00, 0x00, 0x00}}}},
    {SimRemoteNode::Kind::RelayOut, 5, "VL_NODE5_BO", "CNFG_CAN2.VL5_ENA.IN", {{0x185, {0x00, 0x00}}}},
};

TEST_P(AuxNodeAlone, OneNodeWithoutAnIdentityFaultOrActiveMeansNoRequest) {
    const OnTheBus& b = kOnTheBus[GetParam()];
    addNode(b.kind, b.id);
    for (const auto& [cob, bytes] : b.pdos) pdo(cob, bytes);
    startPastPowerUp();
    serviceWrite("CNFG_CAN2.USE_VL.IN", 1);
    serviceWrite("CNFG_CAN2.ALL_PWRUP.IN_7", 1);
    for (const char* n : kNodes) serviceWrite(cell(n, "INIT_PERM"), 1);
    serviceWrite(b.enable, 1);
    serviceWrite("CNFG_CAN2.GO_OPER.IN_1", 1);
    serviceWrite("CNFG_CAN2.INIT_ALL.IN", 1);
    serviceWrite("CNFG_CAN2.ENA_VL.IN_2", 1);
    run(300);
    serviceWrite("CNFG_CAN2.INIT_ALL.IN", 0);
    for (int k = 0; k < 1000 && boolean(cell(b.name, "ACTIVE")) == 0; ++k) run(1);
    ASSERT_EQ(boolean(cell(b.name, "ACTIVE")), 1u)
        << "never active; nmt " << int(nodeOf(b.id)->nmtState()) << " lost " << boolean(cell(b.name, "COMM_FLT_1"));
    for (const char* n : kNodes) {
        SCOPED_TRACE(n);
        const bool here = std::string(n) == b.name;
        EXPECT_EQ(boolean(cell(n, "ID_FAULT")), here ? 0u : 1u);
        EXPECT_EQ(boolean(cell(n, "ACTIVE")), here ? 1u : 0u);
    }
    expectRequest(0, 0, "one node active");
    // Its process data stops: no longer active, and still no identity fault.
    for (const auto& [cob, bytes] : b.pdos) pdo(cob, {});
    for (int k = 0; k < 500 && boolean(cell(b.name, "ACTIVE")) != 0; ++k) run(1);
    ASSERT_EQ(boolean(cell(b.name, "ACTIVE")), 0u);
    pass160();
    EXPECT_EQ(boolean(cell(b.name, "ID_FAULT")), 0u);
    expectRequest(1, 0, "one node without an identity fault");
}

INSTANTIATE_TEST_SUITE_P(EachNode, AuxNodeAlone, ::testing::Range(0, 4),
                         [](const ::testing::TestParamInfo<int>& i) { return std::string(kOnTheBus[i.param].name); });

TEST_F(AuxNodes, ANodeActiveOnTheBusMeansNoRequest) {
    addNode(Kind::DiscreteIn, 4);
    pdo(0x184, {0x00, 0x00, 0x00});
    startWithNodes({"CNFG_CAN2.VL4_ENA.IN"}, {"CNFG_CAN2.VL_NODE4_BI.ACTIVE"});
    serviceWrite("CNFG_CAN2.ALL_PWRUP.IN_7", 1);
    run(10);
    EXPECT_EQ(boolean("CNFG_CAN2.VL_NODE4_BI.ACTIVE"), 1u);
    expectRequest(0, 0, "a node active");
}

}  // namespace
