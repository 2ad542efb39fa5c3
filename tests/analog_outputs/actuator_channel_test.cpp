// The actuator channel template through real passes: function and range
// sampling, readout scaling, stroking with the force setpoint and the
// return from it, and the shutdown by function and self-powered actuator.
#include <algorithm>
#include <vector>

#include "app/analog/ACT_CHANNEL.cells.h"
#include "drivers/zarn_regs.h"
#include "tests/analog_outputs/output_rig.h"

namespace ao_test {
namespace {

class ActuatorChannel : public OutputRig {
protected:
    void stroke() {
        setCell("CALMODE.NOTCALMODE.B_NAME", 0);
        setCell("HP_DRIVER.STRK_LTCH.LATCH_R", 1);
        runPasses(R160, 2);
    }
    void command(int n, int value) {
        setCell("_ub5.COMMANDS.IN_" + std::to_string(n), value);
        ACT_CHANNEL_command_written(n, static_cast<uint32_t>(value));
    }
};

struct FunctionCase {
    const char* name;
    int function;
    const char* text;
    uint32_t sd;
    float demand;  // with an HP demand of 40 % and a readout at 25 % of its range
};

class ActuatorFunction : public OutputRig, public ::testing::WithParamInterface<FunctionCase> {};

TEST_P(ActuatorFunction, DemandAndShutdownFollowTheFunction) {
    configureActuator(1, 20.0, 160.0);
    start();
    setCell("_ub5.FUNCT.IN", GetParam().function);
    setCell("_ub5.RO_FUNCT.IN", 2);
    setCell("MPU.TURB_SPD.A_NAME", 25.0);
    hpDemand(40.0);
    sampleConfiguration();
    runPasses(R10, 2);
    EXPECT_EQ(text("_ub5.ACT_FUNC_SEL_STRG.I_TO_STR"), GetParam().text);
    EXPECT_EQ(text("_ub5.FUNCT_STRG.S_NAME"), GetParam().text);
    EXPECT_EQ(boolean("_ub5.SD.B_NAME"), GetParam().sd);
    EXPECT_FLOAT_EQ(real("_ub5.DEMAND.A_NAME"), GetParam().demand);
    EXPECT_EQ(stZarnActData[6].Shutdown, GetParam().sd);
    if (GetParam().sd == 1) {
        EXPECT_EQ(board::pwmOutput(ZARN_ACT6_COUNT), 0);
        EXPECT_EQ(board::controlRegister() & ZARN_CTRL_ACT6_ENABLE, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Functions, ActuatorFunction,
                         ::testing::Values(FunctionCase{"not_used", 1, "Not Used", 1, 0.0f},
                                           FunctionCase{"hp_demand", 2, "HP Demand", 0, 40.0f},
                                           FunctionCase{"hp2_demand", 3, "HP2 Demand (Split Valve)", 0, 0.0f},
                                           FunctionCase{"readout", 4, "Readout", 0, 25.0f}),
                         [](const ::testing::TestParamInfo<FunctionCase>& i) { return std::string(i.param.name); });

TEST_F(ActuatorChannel, AReadoutUsesTheLowRangeAndFourToTwentyMilliamps) {
    configureActuator(1, 20.0, 160.0);
    start();
    setCell("_ub5.FUNCT.IN", 4);
    sampleConfiguration();
    EXPECT_EQ(integer("_ub5.RANGE.I_NAME"), 0);
    EXPECT_EQ(real("_ub5.MA_0.A_NAME"), 4.0f);
    EXPECT_EQ(real("_ub5.MA_100.A_NAME"), 20.0f);
    EXPECT_EQ(text("_ub5.ENG_UNITS_SW.S_SW"), "Eng Units");
}

struct RangeCase {
    const char* name;
    int hwRange;
    int range;
    float ma0, ma100;
};

class ActuatorRange : public OutputRig, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(ActuatorRange, HardwareRangeSelectsTheCurrents) {
    start();
    setCell("_ub5.HW_RANGE.IN", GetParam().hwRange);
    sampleConfiguration();
    EXPECT_EQ(integer("_ub5.RANGE.I_NAME"), GetParam().range);
    EXPECT_EQ(real("_ub5.MA_0.A_NAME"), GetParam().ma0);
    EXPECT_EQ(real("_ub5.MA_100.A_NAME"), GetParam().ma100);
    EXPECT_EQ(text("_ub5.ENG_UNITS_SW.S_SW"), "%");
}

INSTANTIATE_TEST_SUITE_P(Ranges, ActuatorRange,
                         ::testing::Values(RangeCase{"low", 1, 0, 4.0f, 20.0f}, RangeCase{"high", 2, 1, 0.0f, 200.0f},
                                           RangeCase{"above_two_is_high", 3, 1, 0.0f, 200.0f},
                                           RangeCase{"zero_is_low", 0, 0, 4.0f, 20.0f}),
                         [](const ::testing::TestParamInfo<RangeCase>& i) { return std::string(i.param.name); });

struct ReadoutCase {
    const char* name;
    int function;
    const char* text;
    float selected;  // after the speed, 50, was selected before
};

class ActuatorReadout : public OutputRig, public ::testing::WithParamInterface<ReadoutCase> {};

TEST_P(ActuatorReadout, ReadoutFunctionSelectsAndNames) {
    start();
    setCell("MPU.TURB_SPD.A_NAME", 50.0);
    for (int n = 15; n <= 17; ++n) setCell("AO_MUX.SEL_OUTS.IN_" + std::to_string(n), 60.0 + n);
    setCell("_ub5.RO_FUNCT.IN", 2);
    sampleConfiguration();
    setCell("_ub5.RO_FUNCT.IN", GetParam().function);
    sampleConfiguration();
    runPasses(R10, 1);
    EXPECT_EQ(text("_ub5.ACT_RO_FUNCT_STRG.I_TO_STR"), GetParam().text);
    EXPECT_EQ(real("_ub5.SEL.A_MUX_N_1"), GetParam().selected);
    EXPECT_FLOAT_EQ(real("_ub5.OUTPUT.CALCULATE"), GetParam().selected);  // range 0 .. 100
}

INSTANTIATE_TEST_SUITE_P(Functions, ActuatorReadout,
                         ::testing::Values(ReadoutCase{"speed", 2, "Actual Shaft Speed", 50.0f},
                                           ReadoutCase{"seventeen", 17, "Valve Limiter Setpoint", 77.0f},
                                           ReadoutCase{"twenty_is_zero", 20, "HP2 Valve Demand", 0.0f},
                                           ReadoutCase{"beyond_keeps", 21, "Inlet Pressure Input", 50.0f},
                                           ReadoutCase{"last", 42, "Spare 42", 50.0f}),
                         [](const ::testing::TestParamInfo<ReadoutCase>& i) { return std::string(i.param.name); });

// With the wizard on, the channel and its readout both take the wizard's
// function 2, whatever was entered by hand.
TEST_F(ActuatorChannel, TheWizardProposesTheDemandAndTheSpeedReadout) {
    start();
    setCell("_ub5.FUNCT.IN", 4);
    setCell("_ub5.RO_FUNCT.IN", 19);
    setCell("CNFG_WIZ.WIZARD.B_NAME", 1);
    sampleConfiguration();
    runPasses(R10, 1);
    EXPECT_EQ(integer("CNFG_ACT.RO_WIZFUN_ACT1.I_NAME"), 2);
    EXPECT_EQ(integer("_ub5.ACT_FUNCTION.SAMP_ITUNE"), 2);
    EXPECT_EQ(integer("_ub5.RO_FUNCTION.SAMP_ITUNE"), 2);
    EXPECT_EQ(text("_ub5.ACT_RO_FUNCT_STRG.I_TO_STR"), "Actual Shaft Speed");
}

TEST_F(ActuatorChannel, EveryReadoutFunctionHasItsText) {
    const char* const texts[] = {"--- Not Used ---",
                                 "Actual Shaft Speed",
                                 "Speed Reference Setpoint",
                                 "Remote Speed Setpoint",
                                 "Load Share Input",
                                 "Synchronizing Input",
                                 "Generator Load",
                                 "Cascade Input Signal",
                                 "Cascade Setpoint",
                                 "Remote Cascade Setpoint",
                                 "Auxiliary Input Signal",
                                 "Auxiliary Setpoint",
                                 "Remote Auxiliary Setpoint",
                                 "Auxiliary 2 Input Signal",
                                 "Auxiliary 2 Setpoint",
                                 "Remote Auxiliary 2 Setpoint",
                                 "Valve Limiter Setpoint",
                                 "LSS Value",
                                 "HP Valve Demand",
                                 "HP2 Valve Demand",
                                 "Inlet Pressure Input",
                                 "I/H Actuator 1 Feedback Readout",
                                 "I/H Actuator 2 Feedback Readout",
                                 "Isolated PID Dmd Output",
                                 "Isolated PID PV Input Signal",
                                 "Isolated PID Setpoint",
                                 "Remote Isolated PID Setpoint",
                                 "Remote Load Setpoint",
                                 "Exhaust Pressure Input",
                                 "HP Valve Feedback Position",
                                 "HP2 Valve Feedback Position",
                                 "Signal Monitoring #1",
                                 "Signal Monitoring #2",
                                 "Signal Monitoring #3",
                                 "Start Temperature 1",
                                 "Start Temperature 2"};
    start();
    setCell("MASTER.IO_LOCK_OR_PWR.B_NAME", 1);
    runPasses(R160, 2);
    for (int f = 0; f <= 43; ++f) {
        setCell("_ub5.RO_FUNCTION.TUNE", f);  // the stored readout function
        runPasses(R10, 1);
        std::string expected = "Not Used";
        if (f >= 1 && f <= 36) expected = texts[f - 1];
        else if (f >= 37 && f <= 42) expected = "Spare " + std::to_string(f);
        if (f == 0 || f == 43) continue;  // clamped by the sample or kept: not a text of its own
        EXPECT_EQ(text("_ub5.ACT_RO_FUNCT_STRG.I_TO_STR"), expected) << f;
    }
}

TEST_F(ActuatorChannel, ReadoutPercentOfAnOffsetRange) {
    start();
    setCell("_ub5.RO_FUNCT.IN", 2);
    setCell("_ub5.RO_LOW.IN", 20.0);
    setCell("_ub5.RO_HI.IN", 120.0);
    setCell("MPU.TURB_SPD.A_NAME", 70.0);
    sampleConfiguration();
    runPasses(R10, 1);
    EXPECT_FLOAT_EQ(real("_ub5.OUTPUT.CALCULATE"), 50.0f);
}

TEST_F(ActuatorChannel, AZeroReadoutSpanGivesZero) {
    start();
    setCell("_ub5.RO_FUNCT.IN", 2);
    setCell("_ub5.RO_HI.IN", 5.0);
    setCell("_ub5.RO_LOW.IN", 5.0);
    setCell("MPU.TURB_SPD.A_NAME", 5.0);
    sampleConfiguration();
    runPasses(R10, 1);
    EXPECT_EQ(real("_ub5.OUTPUT.CALCULATE"), 0.0f);
}

// A readout channel is forced with the force setpoint itself (an actuator
// channel hands the force setpoint to the HP driver logic instead, whose
// demand comes back as the HP demand).
TEST_F(ActuatorChannel, StrokingDrivesTheForceSetpointAndReturnsAtTheForceRate) {
    start();
    setCell("_ub5.FUNCT.IN", 4);
    setCell("_ub5.RO_FUNCT.IN", 2);
    setCell("MPU.TURB_SPD.A_NAME", 30.0);
    sampleConfiguration();
    stroke();
    EXPECT_EQ(real("_ub5.ENTR_SETPT.TUNE"), 0.0f);
    runPasses(R10, 2);
    ASSERT_EQ(boolean("_ub5.ACT_FORCE.FRC"), 1u);
    EXPECT_EQ(real("_ub5.DEMAND.A_NAME"), 0.0f);  // the force setpoint rests at 0 %
    setCell("CNFG_ACT.ACT_FRC_RATE.IN", 20.0);
    setCell("_ub5.ENTR_SETPT.TUNE", 60.0);
    command(5, 1);
    runPasses(R160, 25);
    EXPECT_EQ(real("_ub5.FORCE_SETPT.RAMP"), 60.0f);
    EXPECT_EQ(real("_ub5.FORCE_SP.A_NAME"), 60.0f);
    EXPECT_EQ(real("_ub5.DEMAND.A_NAME"), 60.0f);
    // The end of the stroke: back to the readout at 1000 % per second,
    // 10 % per 10 ms pass.
    setCell("HP_DRIVER.STRK_LTCH.LATCH_R", 0);
    std::vector<float> demand;
    for (int pass = 0; pass < 40; ++pass) {
        runPasses(R10, 1);
        demand.push_back(real("_ub5.DEMAND.A_NAME"));
    }
    size_t i = 0;
    while (i < demand.size() && demand[i] == 60.0f) ++i;
    ASSERT_LE(i + 4, demand.size());
    EXPECT_FLOAT_EQ(demand[i], 50.0f);
    EXPECT_FLOAT_EQ(demand[i + 1], 40.0f);
    EXPECT_FLOAT_EQ(demand[i + 2], 30.0f);
    EXPECT_FLOAT_EQ(demand[i + 3], 30.0f);
    EXPECT_EQ(boolean("_ub5.ACT_FORCE.FRC"), 0u);
}

TEST_F(ActuatorChannel, StrokingIsInhibitedOutsideCalibrationMode) {
    start();
    setCell("_ub5.FUNCT.IN", 4);
    setCell("_ub5.RO_FUNCT.IN", 2);
    setCell("MPU.TURB_SPD.A_NAME", 30.0);
    sampleConfiguration();
    setCell("CALMODE.NOTCALMODE.B_NAME", 1);
    setCell("HP_DRIVER.STRK_LTCH.LATCH_R", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("_ub5.ACT_FORCE.FRC"), 0u);
    EXPECT_FLOAT_EQ(real("_ub5.DEMAND.A_NAME"), 30.0f);
}

struct PowerCase {
    const char* name;
    int selfPowered, tunable, driversSd;
    uint32_t sd;
};

class ActuatorPower : public OutputRig, public ::testing::WithParamInterface<PowerCase> {};

TEST_P(ActuatorPower, ShutdownOfTheDriver) {
    configureActuator(1, 20.0, 160.0);
    start();
    setCell("IFACE_IN_VLV.SELF_PWACT.B_NAME", GetParam().selfPowered);
    setCell("CNFG_ACT.SELFPWR_SW.NO", GetParam().tunable);
    setCell("DRVR_SCALE.SD_DVR_BRK.ZMINUS1_B", GetParam().driversSd);
    setCell("CNFG_OPERATE.TRIP_ACTS.B_NAME", GetParam().driversSd);
    runPasses(R160, 1);  // the self-powered flag reaches the 10 ms group at a frame boundary
    runPasses(R10, 1);
    EXPECT_EQ(boolean("_ub5.HP_SD.B_NAME"), GetParam().sd);
    EXPECT_EQ(boolean("_ub5.SD.B_NAME"), GetParam().sd);
}

INSTANTIATE_TEST_SUITE_P(Cases, ActuatorPower,
                         ::testing::Values(PowerCase{"self_powered_tunable_on", 1, 1, 0, 1},
                                           PowerCase{"self_powered_tunable_off", 1, 0, 1, 0},
                                           PowerCase{"drivers_shut_down", 0, 1, 1, 1},
                                           PowerCase{"drivers_running", 0, 1, 0, 0}),
                         [](const ::testing::TestParamInfo<PowerCase>& i) { return std::string(i.param.name); });

TEST_F(ActuatorChannel, SimulationDrivesZeroPercent) {
    configureActuator(1, 20.0, 160.0);
    start();
    hpDemand(50.0);
    setCell("SPEED_SIM.SIM_MODE_ACTS.B_NAME", 1);
    runPasses(R160, 2);
    EXPECT_EQ(real("CNFG_ACT.SIM_MODE1.A_SW"), 0.0f);
    EXPECT_FLOAT_EQ(stZarnActData[6].MaDemand, 20.0f);
}

TEST_F(ActuatorChannel, DitherReachesTheDriver) {
    configureActuator(1, 20.0, 160.0);
    start();
    hpDemand(50.0);
    setCell("_ub5.ACT_DITHER.IN", 5.0);
    runPasses(R160, 2);
    float lo = 1e9f, hi = -1e9f;
    for (int i = 0; i < 4; ++i) {
        runPasses(R10, 1);
        lo = std::min(lo, stZarnActData[6].MaDemandwDither);
        hi = std::max(hi, stZarnActData[6].MaDemandwDither);
    }
    EXPECT_FLOAT_EQ(hi - lo, 10.0f);
}

}  // namespace
}  // namespace ao_test

namespace ao_test {
namespace {

// A drive shutdown reaches the actuator driver in the 10 ms pass in which
// the drive-shutdown condition is raised, not one pass later.
TEST_F(ActuatorChannel, DriveShutdownDisablesTheDriverInTheSamePass) {
    configureActuator(1, 20.0, 160.0);
    start();
    hpDemand(50.0);
    setCell("CNFG_OPERATE.TRIP_ACTS.B_NAME", 1);
    runPasses(R160, 2);
    ASSERT_EQ(boolean("DRVR_SCALE.N_SD_DRVRS.AND"), 0u);
    ASSERT_EQ(stZarnActData[6].Shutdown, 0u);
    setCell("DRVR_SCALE.SD_DVR_BRK.ZMINUS1_B", 1);
    runPasses(R10, 1);
    EXPECT_EQ(boolean("DRVR_SCALE.N_SD_DRVRS.AND"), 1u);
    EXPECT_EQ(boolean("CNFG_ACT.SELFPWR_SW.B_SW"), 1u);
    EXPECT_EQ(boolean("_ub5.SD.B_NAME"), 1u);
    EXPECT_EQ(stZarnActData[6].Shutdown, 1u);
    // And it lets go in the pass the condition clears.
    setCell("DRVR_SCALE.SD_DVR_BRK.ZMINUS1_B", 0);
    runPasses(R10, 1);
    EXPECT_EQ(stZarnActData[6].Shutdown, 0u);
}

}  // namespace
}  // namespace ao_test

namespace ao_test {
namespace {

// On the whole program: the actuator carries the HP demand of the speed
// control from the start to in control, scaled onto its configured range of
// the driver; shut down in calibration mode, the stroke enable of the
// service tool hands the channel's force setpoint to the HP driver logic,
// whose demand comes back to the channel; leaving calibration mode ends the
// stroke and the forcing.
class ActuatorProgram : public OutputProgram {};

TEST_F(ActuatorProgram, CarriesTheHpDemandAndIsStrokedInCalibrationMode) {
    startConfigured({{"CNFG_ACT.ACT_FRC_RATE.IN", 20.0}});
    EXPECT_EQ(text("_ub5.FUNCT_STRG.S_NAME"), "HP Demand");
    EXPECT_EQ(text("_ub5.ACT_FUNC_SEL_STRG.I_TO_STR"), "HP Demand");
    EXPECT_EQ(integer("_ub5.RANGE.I_NAME"), 0);
    EXPECT_EQ(real("_ub5.MA_0.A_NAME"), 4.0f);
    EXPECT_EQ(real("_ub5.MA_100.A_NAME"), 20.0f);
    EXPECT_EQ(text("_ub5.ENG_UNITS_SW.S_SW"), "%");
    startToInControl();
    turbine::setLoad(0.3);
    runPasses(ref_test::R160, 20);
    const float demand = real("_ub5.HP_DMD.A_NAME");
    EXPECT_GT(demand, 0.0f);
    EXPECT_EQ(boolean("_ub5.SD.B_NAME"), 0u);
    EXPECT_EQ(stZarnActData[6].Shutdown, 0u);
    EXPECT_FLOAT_EQ(real("_ub5.DEMAND.A_NAME"), demand);
    EXPECT_NEAR(stZarnActData[6].MaDemand, 4.0f + 0.16f * demand, 1e-3f);

    // Stroking is inhibited outside calibration mode.
    shutDown();
    pulse("IFACE_IN_VLV.HP_STRK_ENBL.IN", ref_test::R160);
    runPasses(ref_test::R160, 3);
    EXPECT_EQ(boolean("HP_DRIVER.STRK_LTCH.LATCH_R"), 0u);
    EXPECT_EQ(boolean("_ub5.ACT_FORCE.FRC"), 0u);

    calibration(true);
    pulse("IFACE_IN_VLV.HP_STRK_ENBL.IN", ref_test::R160);
    runPasses(ref_test::R160, 2);
    ASSERT_EQ(boolean("HP_DRIVER.STRK_LTCH.LATCH_R"), 1u);
    EXPECT_EQ(real("_ub5.ENTR_SETPT.TUNE"), 0.0f);
    EXPECT_EQ(boolean("_ub5.CNFG_AS_ACT.AND"), 1u);
    serviceWrite("_ub5.ENTR_SETPT.TUNE", 45.0);
    serviceWrite("_ub5.COMMANDS.IN_5", 1);
    runPasses(ref_test::R160, 20);
    EXPECT_EQ(real("_ub5.FORCE_SETPT.RAMP"), 45.0f);
    EXPECT_EQ(real("_ub5.FORCE_SP.A_NAME"), 45.0f);
    // The HP driver logic, stroking, returns the force setpoint as the HP
    // demand.
    EXPECT_EQ(real("_ub5.DEMAND.A_NAME"), 45.0f);
    EXPECT_NEAR(stZarnActData[6].MaDemand, 4.0f + 0.16f * 45.0f, 1e-3f);
    serviceWrite("_ub5.COMMANDS.IN_5", 0);
    // Raise and lower stop at their limits.
    const struct {
        const char* command;
        float end;
        const char* limit;
    } moves[] = {{"_ub5.COMMANDS.IN_1", 100.0f, "_ub5.FORCE_SETPT.P_LIM_2"},
                 {"_ub5.COMMANDS.IN_2", 0.0f, "_ub5.FORCE_SETPT.P_LIM_1"}};
    for (const auto& m : moves) {
        serviceWrite(m.command, 1);
        runPasses(ref_test::R160, 40);
        EXPECT_EQ(real("_ub5.FORCE_SETPT.RAMP"), m.end) << m.command;
        EXPECT_EQ(boolean(m.limit), 1u) << m.command;
        serviceWrite(m.command, 0);
    }

    calibration(false);
    EXPECT_EQ(boolean("HP_DRIVER.STRK_LTCH.LATCH_R"), 0u);
}

}  // namespace
}  // namespace ao_test
