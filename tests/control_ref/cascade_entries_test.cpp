// The cascade setpoint's other sources through real passes: values entered
// from the service tool, a Modbus master and the OPC link, the change of the
// Modbus scale that holds those entries off, the setpoint step test and the
// remote cascade setpoint with its limits, filter and deadband.
#include "app/analog/input_slices.h"
#include "app/analog/output_slices.h"
#include "app/config/config_slices.h"
#include "app/control/RCLTR.cells.h"
#include "app/control/control_slices.h"
#include "app/discrete/discrete_slices.h"
#include "app/interface/interface_slices.h"
#include "app/protection/protection_slices.h"
#include "tests/control_ref/cascade_rig.h"
#include "tests/control_ref/slice_rig.h"
#include "tests/support/ref_rig.h"

namespace ref_test {
namespace {

class CascadeEntriesOnProgram : public RefRig {
protected:
    float setpoint() { return real("CASC_SETPT.SETPT.RAMP"); }
    bool latched(const char* latch) { return boolean(std::string("CASC_ENTRD.") + latch + ".LATCH_R") != 0; }
};

class CascadeSlices : public SliceRig {
protected:
    void SetUp() override {
        SliceRig::SetUp();
        useSlices(R20, {_R20_TASK_4, _R20_TASK_7});
        useSlices(R80, {_R80_TASK_13, _R80_TASK_14, _R80_TASK_15, _R80_TASK_16, _R80_TASK_17, _R80_TASK_18,
                        _R80_TASK_19, _R80_TASK_23, _R80_TASK_24, _R80_TASK_25, _R80_TASK_26, _R80_TASK_30});
        // Of the discrete-input slice only the cascade flags: the cases give
        // the discrete-input use flags themselves.
        useSlices(R160, {_R160_TASK_11, r160::RCLTR_cascade, _R160_TASK_15, _R160_TASK_16, _R160_TASK_17, _R160_TASK_20, _R160_TASK_21,
                         _R160_TASK_36, _R160_TASK_37, _R160_TASK_38, _R160_TASK_40, _R160_TASK_44, _R160_TASK_45,
                         _R160_TASK_47, _R160_TASK_48, _R160_TASK_49, _R160_TASK_50, _R160_TASK_51, _R160_TASK_81, _R160_TASK_82});
    }

    // Cascade configured (tracking as given) and its limits sampled by a
    // power-up pulse; the turbine in control at minimum governor.
    void configure(bool track = true, bool inverted = false, double spd_min = kMinGov, double spd_max = kMaxGov) {
        start(false, false);
        startToInControl();
        // The governor limits as the configuration lists take them.
        setCell("CNFG_SETPT.QT_MAX_GOV.IN", kMaxGov);
        setCell("CNFG_SETPT.QT_MIN_GOV.IN", holdMinGov_);
        setCell("CNFG_SETPT.MAX_GOV.A_NAME", kMaxGov);
        setCell("CNFG_SETPT.MIN_GOV.A_NAME", holdMinGov_);
        setCell("MASTER.IO_LOCK_OR_PWR.B_NAME", 1);
        setCell("CNFG_CASC.CONFIG_B.IN_1", 1);
        setCell("CNFG_CASC.CONFIG_B.IN_2", inverted ? 1 : 0);
        setCell("CNFG_CASC.CONFIG_B.IN_3", track ? 1 : 0);
        setCell("CNFG_CASC.CONFIG_A.IN_1", 0.0);
        setCell("CNFG_CASC.CONFIG_A.IN_2", kSpanMax);
        setCell("CNFG_CASC.CONFIG_A.IN_3", 50.0);
        setCell("CNFG_CASC.CONFIG_A.IN_4", spd_min);
        setCell("CNFG_CASC.CONFIG_A.IN_5", spd_max);
        setCell("CNFG_CASC.P.A_NAME", 2.0);
        setCell("CNFG_CASC.I.A_NAME", 0.5);
        setCell("CNFG_CASC.SDR.A_NAME", 100.0);
        setCell("CNFG_CASC.SP_RATE.A_NAME", 5.0);
        setCell("CNFG_CASC.SPD_MAX_RATE.A_NAME", 20.0);
        setCell("CNFG_CASC.INPUT.I_NAME", 1);
        setCell("AI_MUX.CASC_IN.A_NAME", kPv);
        setCell("AI_MUX.CASC_IN_MODX.A_NAME", 1.0);
        runPasses(R160, 1);
        // The power-up pulse as its slice gives it, seen by the 80 ms
        // group together with the values computed in the same pass.
        setCell("RESET.PWR_UP_RST.ONE_SHOT", 1);
        runPasses(R160, 2);
        setCell("RESET.PWR_UP_RST.ONE_SHOT", 0);
        setCell("MASTER.IO_LOCK_OR_PWR.B_NAME", 0);
        // Long enough for the PID output to settle on its feedback.
        runPasses(R160, 300);
    }
    float setpoint() { return real("CASC_SETPT.SETPT.RAMP"); }
    double holdMinGov_ = kMinGov;  // the configured minimum governor
    // Cascade in control as the 80 ms group sees it (the flag is computed at
    // 160 ms and reaches the 80 ms group with the next 160 ms frame).
    bool inCascade() { return boolean("CASC_RATE.N_CASC_EN.NOT") == 0; }
    // A service command: the momentary tunable set once.
    void command(const std::string& cell) {
        serviceWrite(cell, 1);
        runPasses(R160, 1);
    }
    void enable() {
        command("IFACE_IN_CASC.ENA_DIS.IN_1");
        ASSERT_TRUE(runUntil([&] { return inCascade(); }, 20)) << "cascade never took control";
    }
};

class CascadeEntries : public CascadeSlices {
protected:
    // The Modbus map's own pass is left out: the registers a master wrote
    // are given to the scaling block directly.
    void SetUp() override {
        CascadeSlices::SetUp();
        useSlices(R160, {_R160_TASK_11, r160::RCLTR_cascade, _R160_TASK_15, _R160_TASK_16, _R160_TASK_17, _R160_TASK_20, _R160_TASK_21,
                         _R160_TASK_36, _R160_TASK_37, _R160_TASK_38, _R160_TASK_40, _R160_TASK_45, _R160_TASK_47,
                         _R160_TASK_48, _R160_TASK_49, _R160_TASK_50, _R160_TASK_51, _R160_TASK_81, _R160_TASK_82});
    }
    int sel() { return integer("CASC_SETPT.SETPT.POS_SEL"); }
    // The service tool's entry and its go command.
    void enterAndGo(double value) {
        setCell("CASC_ENTRD.ENTR_CASC_SP.TUNE", value);
        runPasses(R160, 1);
        setCell("IFACE_IN_CASC.CAS_TUN_OK.B_NAME", 1);
        runPasses(R160, 1);
        setCell("IFACE_IN_CASC.CAS_TUN_OK.B_NAME", 0);
    }
    // A value a Modbus master wrote into the cascade setpoint's holding
    // register (the cascade scale is 1).
    void modbusWrites(double value) { setCell("MOD.MOD1.AW_V_2", value); }
    bool latched(const char* latch) { return boolean(std::string("CASC_ENTRD.") + latch + ".LATCH_R") != 0; }
    // Passes of 160 ms until `done`, at most `max`; the count or -1.
    int passesUntil(const std::function<bool()>& done, int max) {
        for (int k = 0; k < max; ++k) {
            if (done()) return k;
            runPasses(R160, 1);
        }
        return done() ? max : -1;
    }
    // The step test's commands: each momentary for a second.
    void stepCommand(int n) {
        serviceWrite("CASC_R_L.GO_STEP_SP.IN_" + std::to_string(n), 1);
        runPasses(R160, 8);
        ASSERT_EQ(boolean("CASC_R_L.GO_STEP_SP.IN_" + std::to_string(n)), 0u) << "a command outlived its second";
    }
};

TEST_F(CascadeEntries, ServiceEntryGoesToTheValueAtTheEnteredRateAndReleasesOnArrival) {
    configure(false);
    ASSERT_FLOAT_EQ(setpoint(), 50.0f);
    EXPECT_FLOAT_EQ(real("CASC_RATE.ENTRD_RATE.SAMP_TUNE"), 5.0f);
    enterAndGo(80.0);
    ASSERT_GE(passesUntil([&] { return latched("H_SER_LAT"); }, 5), 0);
    EXPECT_EQ(boolean("CASC_SETPT.ENTRD_SP.OR"), 1u);
    EXPECT_EQ(integer("CASC_ENTRD.ENTRD_MUX.INT_SEL"), 2);
    runPasses(R80, 2);
    EXPECT_EQ(sel(), 3);
    // At the entered rate (the cascade rate sampled at power-up): 5 a second.
    const float a = setpoint();
    runPasses(R80, 25);
    EXPECT_NEAR(setpoint() - a, 10.0, 1e-3);
    // Arrival releases the latch; the setpoint stays where it arrived.
    ASSERT_GE(passesUntil([&] { return !latched("H_SER_LAT"); }, 60), 0);
    EXPECT_FLOAT_EQ(setpoint(), 80.0f);
    EXPECT_EQ(boolean("CASC_SETPT.ENTRD_SP.OR"), 0u);
    runPasses(R160, 5);
    EXPECT_FLOAT_EQ(setpoint(), 80.0f);
    EXPECT_EQ(sel(), 0);
    EXPECT_FLOAT_EQ(real("CASC_ENTRD.ENTR_CASC_SP_A_SW.A_SW"), 80.0f);
}

TEST_F(CascadeEntries, EntryOutsideTheRangeIsRefusedAndRevertsToTheLastAcceptedValue) {
    configure(false);
    const struct {
        double value;
        uint32_t invalid;
    } rows[] = {{-0.5, 1}, {0.0, 0}, {200.0, 0}, {200.5, 1}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.value);
        setCell("CASC_ENTRD.ENTR_CASC_SP.TUNE", r.value);
        runPasses(R160, 2);
        EXPECT_EQ(boolean("CASC_ENTRD.INVALID_SP.OR"), r.invalid);
        EXPECT_EQ(boolean("IFACE_OUT_CASC.INVALID_SP.B_NAME"), r.invalid);
    }
    enterAndGo(90.0);
    ASSERT_GE(passesUntil([&] { return !latched("H_SER_LAT") && setpoint() == 90.0f; }, 100), 0);
    // Too high: no go pulse, and after 3 s the last accepted value returns.
    enterAndGo(250.0);
    EXPECT_EQ(boolean("CASC_ENTRD.H_SER_OK.ONE_SHOT"), 0u);
    EXPECT_FALSE(latched("H_SER_LAT"));
    runPasses(R160, 15);  // 2.7 s after the entry
    EXPECT_FLOAT_EQ(real("CASC_ENTRD.ENTR_CASC_SP.SAMP_TUNE"), 250.0f);
    EXPECT_EQ(boolean("CASC_ENTRD.LIMITED.DELAY"), 0u);
    runPasses(R160, 5);
    EXPECT_FLOAT_EQ(real("CASC_ENTRD.ENTR_CASC_SP.SAMP_TUNE"), 90.0f);
    EXPECT_EQ(boolean("CASC_ENTRD.INVALID_SP.OR"), 0u);
    EXPECT_FLOAT_EQ(setpoint(), 90.0f);
}

TEST_F(CascadeEntries, ModbusValueIsAdoptedAfterItHasStoodForTheWriteDelay) {
    configure(false);
    runPasses(R160, 5);
    modbusWrites(120.0);
    // 2.0 s of a changed value (one pass to reach the entry, 13 to pass the
    // delay), then the go-to pulse latches both remote paths.
    runPasses(R160, 13);
    EXPECT_FALSE(latched("GOTO_M1_SP"));
    EXPECT_EQ(boolean("CASC_ENTRD.M1_CHANGED.NOR"), 1u);
    ASSERT_GE(passesUntil([&] { return latched("GOTO_M1_SP"); }, 6), 0);
    EXPECT_EQ(boolean("CASC_ENTRD.M1_PLS.ONE_SHOT"), 1u);
    runPasses(R160, 2);
    EXPECT_FLOAT_EQ(real("CASC_ENTRD.M1_SMP_TUN.SAMP_TUNE"), 120.0f);
    EXPECT_EQ(boolean("CASC_ENTRD.M1_CHANGED.NOR"), 0u);
    // OPC adopts the same value and wins the selection.
    EXPECT_TRUE(latched("GOTO_OPC_SP"));
    EXPECT_EQ(integer("CASC_ENTRD.ENTRD_MUX.INT_SEL"), 3);
    EXPECT_FLOAT_EQ(real("CASC_ENTRD.ENTRD_MUX.A_MUX_HSS"), 120.0f);
    ASSERT_GE(passesUntil([&] { return setpoint() == 120.0f; }, 120), 0);
    // A value beyond the range is adopted as the maximum.
    modbusWrites(500.0);
    ASSERT_GE(passesUntil([&] { return setpoint() == static_cast<float>(kSpanMax); }, 200), 0);
    EXPECT_FLOAT_EQ(real("CASC_ENTRD.M1_SP_LMT.A_LIMITER"), kSpanMax);
}

TEST_F(CascadeEntries, ModbusAndServiceLatchesHoldEachOtherOffAndAShutdownClearsThem) {
    configure(false);
    modbusWrites(120.0);
    ASSERT_GE(passesUntil([&] { return latched("GOTO_M1_SP"); }, 30), 0);
    // While the Modbus latch holds, a service go is not taken.
    enterAndGo(70.0);
    runPasses(R160, 4);
    EXPECT_FALSE(latched("H_SER_LAT"));
    // The Modbus latch ends on arrival; then the service entry latches and
    // holds a new Modbus value off.
    ASSERT_GE(passesUntil([&] { return !latched("GOTO_M1_SP"); }, 120), 0);
    EXPECT_FLOAT_EQ(setpoint(), 120.0f);
    enterAndGo(30.0);
    ASSERT_GE(passesUntil([&] { return latched("H_SER_LAT"); }, 5), 0);
    EXPECT_EQ(integer("CASC_ENTRD.ENTRD_MUX.INT_SEL"), 2);
    modbusWrites(150.0);
    runPasses(R160, 20);
    EXPECT_FALSE(latched("GOTO_M1_SP"));
    EXPECT_FALSE(latched("GOTO_OPC_SP"));
    EXPECT_TRUE(latched("H_SER_LAT"));
    EXPECT_EQ(boolean("CASC_ENTRD.RST_M1.OR"), 1u);
}

// On the whole program: a service entry on its way, then a trip from the
// trip contact resets the service latch and the setpoint stops where it is.
TEST_F(CascadeEntriesOnProgram, AShutdownResetsTheServiceLatchAndTheSetpointStops) {
    // Without setpoint tracking.
    startWithRemoteAndCascade({{"CNFG_CASC.CONFIG_B.IN_3", 0}});
    runPasses(R160, 5);
    ASSERT_NEAR(setpoint(), 50.0, 0.01);  // its initial value
    serviceWrite("CASC_ENTRD.ENTR_CASC_SP.TUNE", 10.0);
    runPasses(R160, 1);
    serviceWrite("IFACE_IN_CASC.CAS_TUN_OK.B_NAME", 1);
    runPasses(R160, 1);
    serviceWrite("IFACE_IN_CASC.CAS_TUN_OK.B_NAME", 0);
    ASSERT_TRUE(runUntil([&] { return latched("H_SER_LAT"); }, 10));
    runPasses(R160, 5);
    EXPECT_EQ(boolean("CASC_SETPT.ENTRD_SP.OR"), 1u);
    EXPECT_LT(setpoint(), 49.0f);
    trip();
    runPasses(R160, 3);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1u);
    EXPECT_FALSE(latched("H_SER_LAT"));
    EXPECT_EQ(boolean("CASC_SETPT.ENTRD_SP.OR"), 0u);
    const float held = setpoint();
    EXPECT_GT(held, 10.0f);
    runPasses(R160, 5);
    EXPECT_FLOAT_EQ(setpoint(), held);
}

TEST_F(CascadeEntries, AScaleChangeHoldsTheRemoteEntriesOffForItsOneShot) {
    configure(false);
    setCell("AI_MUX.CASC_IN_MODX.A_NAME", 10.0);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("MOD_SCALE.CASCCHGD.NOT"), 1u);
    EXPECT_EQ(boolean("MOD_SCALE.CAS_CHG_OS.ONE_SHOT"), 1u);
    EXPECT_EQ(boolean("MOD_SCALE.CAS_RST.ONE_SHOT"), 1u);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("MOD_SCALE.CASCCHGD.NOT"), 0u);
    // A new Modbus value during the 5 s one-shot is not taken.
    modbusWrites(120.0);
    int on = 1 + passesUntil([&] { return boolean("MOD_SCALE.CAS_CHG_OS.ONE_SHOT") == 0; }, 40);
    EXPECT_NEAR(on * 0.16, 5.0, 0.2);
    EXPECT_FALSE(latched("GOTO_M1_SP"));
    EXPECT_EQ(boolean("CASC_ENTRD.M1_DELAY.DELAY"), 0u);
    // After it, the value stands its 2 s and is adopted.
    const int k = passesUntil([&] { return latched("GOTO_M1_SP"); }, 30);
    EXPECT_GE(k * 0.16, 2.0);
    EXPECT_LE(k * 0.16, 2.7);
    // The second reset pulse follows 2.5 s into the one-shot.
    setCell("AI_MUX.CASC_IN_MODX.A_NAME", 20.0);
    runPasses(R160, 1);
    const int d = passesUntil([&] { return boolean("MOD_SCALE.CAS_RST2.ONE_SHOT") != 0; }, 30);
    EXPECT_NEAR((d + 1) * 0.16, 2.6, 0.15);
    EXPECT_EQ(boolean("MOD_SCALE.CAS_RST_OR.OR"), 1u);
    EXPECT_FALSE(latched("GOTO_M1_SP"));
}

TEST_F(CascadeEntries, StepTestJumpsTheSetpointByTheStepWithinItsLimits) {
    configure(false);
    enable();
    ASSERT_FLOAT_EQ(setpoint(), 50.0f);
    EXPECT_FLOAT_EQ(real("CASC_R_L.STEP_LIMIT.MULTIPLY"), 50.0f);  // a quarter of the range
    EXPECT_FLOAT_EQ(real("CASC_R_L.INV_LMT.MULTIPLY"), -50.0f);
    setCell("CASC_R_L.SP_STEP.TUNE", 7.0);
    stepCommand(2);
    EXPECT_EQ(boolean("CASC_R_L.IFENA_STEPTEST.B_ACTION"), 1u);
    // Arming cleared the step.
    EXPECT_FLOAT_EQ(real("CASC_R_L.SP_STEP.SAMP_TUNE"), 0.0f);
    EXPECT_EQ(boolean("CASC_R_L.SP_STEP.EN_ENT_OUT"), 1u);
    setCell("CASC_R_L.SP_STEP.TUNE", 10.0);
    serviceWrite("CASC_R_L.GO_STEP_SP.IN_1", 1);
    ASSERT_TRUE(runUntil([&] { return boolean("CASC_SETPT.ENA_STEP.ONE_SHOT") != 0; }, 3));
    // In one pass, whatever the rate.
    EXPECT_FLOAT_EQ(setpoint(), 60.0f);
    EXPECT_EQ(sel(), 6);
    EXPECT_EQ(boolean("CASC_SETPT.SETPT.P_LIM_6"), 1u);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("CASC_SETPT.ENA_STEP.ONE_SHOT"), 0u);
    runPasses(R160, 8);
    EXPECT_FLOAT_EQ(setpoint(), 60.0f);
    // A step beyond the limit is held to it, and the result to the range.
    setCell("CASC_R_L.SP_STEP.TUNE", 80.0);
    runPasses(R80, 1);
    EXPECT_FLOAT_EQ(real("CASC_R_L.SP_STEP.SAMP_TUNE"), 50.0f);
    EXPECT_EQ(boolean("CASC_R_L.SP_STEP.LIMITED"), 1u);
    stepCommand(1);
    EXPECT_FLOAT_EQ(setpoint(), 110.0f);
    stepCommand(1);
    stepCommand(1);
    EXPECT_FLOAT_EQ(setpoint(), static_cast<float>(kSpanMax));
    EXPECT_FLOAT_EQ(real("CASC_R_L.STEP_SP_LMT.A_LIMITER"), kSpanMax);
    // A step of 0 still gives the instantaneous pass.
    setCell("CASC_R_L.SP_STEP.TUNE", 0.0);
    serviceWrite("CASC_R_L.GO_STEP_SP.IN_1", 1);
    ASSERT_TRUE(runUntil([&] { return boolean("CASC_SETPT.ENA_STEP.ONE_SHOT") != 0; }, 3));
    EXPECT_EQ(boolean("CASC_SETPT.INST_RATE.OR"), 1u);
    EXPECT_FLOAT_EQ(setpoint(), static_cast<float>(kSpanMax));
    runPasses(R160, 8);
    // Command 3 disarms: command 1 no longer steps.
    setCell("CASC_R_L.SP_STEP.TUNE", -20.0);
    stepCommand(3);
    EXPECT_EQ(boolean("CASC_R_L.IFENA_STEPTEST.B_ACTION"), 0u);
    stepCommand(1);
    EXPECT_FLOAT_EQ(setpoint(), static_cast<float>(kSpanMax));
}

TEST_F(CascadeEntries, StepTestDisarmsOnALowerCommandAndOutsideCascadeControl) {
    configure(false);
    stepCommand(2);
    EXPECT_EQ(boolean("CASC_R_L.IFENA_STEPTEST.B_ACTION"), 0u);  // not in control: refused
    enable();
    stepCommand(2);
    ASSERT_EQ(boolean("CASC_R_L.IFENA_STEPTEST.B_ACTION"), 1u);
    setCell("CASC_R_L.LOWER.IN_2", 1);
    runPasses(R80, 1);
    setCell("CASC_R_L.LOWER.IN_2", 0);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("CASC_R_L.IFENA_STEPTEST.B_ACTION"), 0u);
    stepCommand(2);
    ASSERT_EQ(boolean("CASC_R_L.IFENA_STEPTEST.B_ACTION"), 1u);
    command("IFACE_IN_CASC.ENA_DIS.IN_2");  // disable: cascade leaves control
    ASSERT_TRUE(runUntil([&] { return !inCascade(); }, 20));
    runPasses(R80, 1);
    EXPECT_EQ(boolean("CASC_R_L.IFENA_STEPTEST.B_ACTION"), 0u);
}

class RemoteCascade : public CascadeEntries {
protected:
    // Remote cascade configured and its limits sampled by another
    // power-up pulse.
    void configureRemote() {
        configure(false);
        setCell("AI_MUX.RMT_CASC_MAX.A_NAME", 150.0);
        setCell("AI_MUX.RMT_CASC_MIN.A_NAME", 20.0);
        setCell("IFACE_IN_CASC.RMT_DB.A_NAME", 2.0);
        setCell("CNFG_CASC.RMT_MAX_RATE.A_NAME", 10.0);
        setCell("MASTER.IO_LOCK_OR_PWR.B_NAME", 1);
        setCell("CNFG_CASC.CONFIG_B.IN_4", 1);
        runPasses(R160, 1);
        setCell("MASTER.IO_LOCK_OR_PWR.B_NAME", 0);
        setCell("RESET.PWR_UP_RST.ONE_SHOT", 1);
        runPasses(R160, 2);
        setCell("RESET.PWR_UP_RST.ONE_SHOT", 0);
        runPasses(R160, 2);
    }
    float remote() { return real("RMT_CAS.RMT_CASC_D.A_DEADBAND"); }
};

TEST_F(RemoteCascade, LimitsAreTheOverlapOfTheSetpointAndInputRanges) {
    configureRemote();
    EXPECT_FLOAT_EQ(real("RMT_CAS.MAX_REMOTE.A_MIN"), 150.0f);
    EXPECT_FLOAT_EQ(real("RMT_CAS.MIN_REMOTE.A_MAX"), 20.0f);
    EXPECT_FLOAT_EQ(real("RMT_CAS.RMT_CAS_MX.SAMP_TUNE"), 150.0f);
    EXPECT_FLOAT_EQ(real("RMT_CAS.RMT_CAS_MN.SAMP_TUNE"), 20.0f);
    EXPECT_FLOAT_EQ(real("IFACE_IN_CASC.QT_RMT_SP_MAX.A_NAME"), 150.0f);
    EXPECT_EQ(boolean("RMT_CAS.RMT_CAS_MX.EN_ENT_OUT"), 0u);
    // An entered limit beyond the setpoint range is held to it.
    setCell("IFACE_IN_CASC.QT_RMT_SP_MAX.A_NAME", 300.0);
    runPasses(R160, 1);
    EXPECT_FLOAT_EQ(real("RMT_CAS.RMT_CAS_MX.SAMP_TUNE"), kSpanMax);
    EXPECT_EQ(boolean("RMT_CAS.RMT_CAS_MX.LIMITED"), 1u);
    EXPECT_FLOAT_EQ(real("RMT_CAS.RMT_CAS_MX.HI_LIM_OUT"), kSpanMax);
    setCell("IFACE_IN_CASC.QT_RMT_SP_MIN.A_NAME", -10.0);
    runPasses(R160, 1);
    EXPECT_FLOAT_EQ(real("RMT_CAS.RMT_CAS_MN.SAMP_TUNE"), 0.0f);
    // While the I/O is locked the limits are open.
    setCell("MASTER.IO_LOCK.B_NAME", 1);
    setCell("IFACE_IN_CASC.QT_RMT_SP_MAX.A_NAME", 300.0);
    runPasses(R160, 1);
    EXPECT_FLOAT_EQ(real("RMT_CAS.RMT_CAS_MX.SAMP_TUNE"), 300.0f);
}

TEST_F(RemoteCascade, SetpointIsLimitedFilteredAndHeldInItsDeadband) {
    configureRemote();
    serviceWrite("RMT_CAS.RMT_CASC_L.LAG_TAU", 0.0);
    setCell("AI_MUX.RMT_CASC_SP.A_NAME", 100.0);
    runPasses(R160, 10);
    EXPECT_FLOAT_EQ(real("RMT_CAS.REMOTE.A_LIMITER"), 100.0f);
    EXPECT_FLOAT_EQ(real("IFACE_OUT_CASC.REMOTE_CAS_SP.A_NAME"), 100.0f);
    EXPECT_FLOAT_EQ(real("AO_MUX.RMT_CASC.A_NAME"), 100.0f);
    EXPECT_NEAR(remote(), 98.0, 0.01);  // pulled up to the band's lower edge
    // Within the band the output holds; beyond it, it is pulled along.
    setCell("AI_MUX.RMT_CASC_SP.A_NAME", 99.0);
    runPasses(R160, 10);
    EXPECT_NEAR(remote(), 98.0, 0.01);
    setCell("AI_MUX.RMT_CASC_SP.A_NAME", 95.0);
    runPasses(R160, 10);
    EXPECT_NEAR(remote(), 97.0, 0.01);
    // Limited to the sampled limits.
    setCell("AI_MUX.RMT_CASC_SP.A_NAME", 180.0);
    runPasses(R160, 10);
    EXPECT_FLOAT_EQ(real("RMT_CAS.REMOTE.A_LIMITER"), 150.0f);
    setCell("AI_MUX.RMT_CASC_SP.A_NAME", 5.0);
    runPasses(R160, 10);
    EXPECT_FLOAT_EQ(real("RMT_CAS.REMOTE.A_LIMITER"), 20.0f);
    // The lag: with 2 s a step reaches about 63 % in 2 s.
    serviceWrite("RMT_CAS.RMT_CASC_L.LAG_TAU", 2.0);
    setCell("AI_MUX.RMT_CASC_SP.A_NAME", 120.0);
    runPasses(R80, 25);
    EXPECT_NEAR(real("RMT_CAS.RMT_CASC_L.LAG"), 20.0 + 100.0 * 0.632, 1.5);
    // A value that is no number is filtered as 0.
    serviceWrite("RMT_CAS.RMT_CASC_L.LAG_TAU", 0.0);
    setCell("AI_MUX.RMT_CASC_SP.A_NAME", std::nan(""));
    runPasses(R160, 10);
    EXPECT_NEAR(real("RMT_CAS.RMT_CASC_L.LAG"), 0.0, 1e-3);
    // A time constant changed without a service write (as a tunables
    // download leaves it) is not applied: the filter keeps the coefficient
    // of its last write until the time constant is written.
    setCell("RMT_CAS.RMT_CASC_L.LAG_TAU", 1000.0);
    setCell("AI_MUX.RMT_CASC_SP.A_NAME", 100.0);
    runPasses(R80, 20);
    EXPECT_NEAR(real("RMT_CAS.RMT_CASC_L.LAG"), 100.0, 0.01);
    serviceWrite("RMT_CAS.RMT_CASC_L.LAG_TAU", 1000.0);
    setCell("AI_MUX.RMT_CASC_SP.A_NAME", 20.0);
    runPasses(R80, 10);
    EXPECT_GT(real("RMT_CAS.RMT_CASC_L.LAG"), 99.0);
}

TEST_F(RemoteCascade, SelectedRemoteSetpointIsFollowedAtTheRemoteRates) {
    configureRemote();
    serviceWrite("RMT_CAS.RMT_CASC_L.LAG_TAU", 0.0);
    setCell("IFACE_IN_CASC.RMT_DB.A_NAME", 0.0);
    setCell("AI_MUX.RMT_CASC_SP.A_NAME", 100.0);
    runPasses(R160, 3);
    ASSERT_FLOAT_EQ(setpoint(), 50.0f);
    setCell("IFACE_OUT_CASC.REM_CAS_SEL.B_NAME", 1);
    runPasses(R80, 2);
    EXPECT_EQ(sel(), 2);
    float a = setpoint();
    runPasses(R80, 25);
    EXPECT_NEAR(setpoint() - a, 20.0, 1e-3);  // the remote rate, 10 a second
    // While the remote setpoint is not matched: its own rate.
    EXPECT_FLOAT_EQ(real("CASC_RATE.RT_N_MTCH.SAMP_TUNE"), 5.0f);
    // The not-matched latch, set as the remote cascade selection rises away
    // from the remote setpoint, acts one pass late, through its unit delay.
    setCell("RMT_CAS_EN.REM_SEL.AND", 1);
    runPasses(R80, 1);
    ASSERT_EQ(boolean("RMT_CAS_EN.N_MTCH_RTE.LATCH"), 1u);
    a = setpoint();
    runPasses(R80, 25);
    EXPECT_NEAR(setpoint() - a, 10.0, 1e-3);
    setCell("RMT_CAS_EN.REM_SEL.AND", 0);  // deselected: the latch clears
    ASSERT_TRUE(runUntil([&] { return setpoint() == 100.0f; }, 100));
    EXPECT_EQ(boolean("CASC_SETPT.SETPT.P_LIM_2"), 1u);
    // Remote cascade selected: the entries are reset.
    enterAndGo(60.0);
    runPasses(R160, 4);
    EXPECT_FALSE(latched("H_SER_LAT"));
}

}  // namespace
}  // namespace ref_test
