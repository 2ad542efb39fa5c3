// The actuator channel template on the whole program: function and range
// sampling, readout scaling, stroking with the force setpoint and the
// return from it, and the shutdown by function and self-powered actuator.
#include <algorithm>
#include <functional>
#include <vector>

#include "app/analog/ACT_CHANNEL.cells.h"
#include "drivers/zarn_regs.h"
#include "tests/analog_outputs/output_rig.h"

namespace ao_test {
namespace {

class ActuatorProgram : public OutputProgram {};

// Hardware range numbers beyond the 1 and 2 the service tool enters,
// written to their cell to show the channel's own guard against them (the
// service path refuses them), in configure mode: above 2 is the high range
// (its currents of 0 and 100 % at their defaults), 0 the low range.
TEST_F(ActuatorProgram, HardwareRangeNumbersBeyondTheirLimitsSelectTheCurrents) {
    startConfigured();
    shutDown();
    enterConfigureMode();
    const struct {
        int hwRange, range;
        float ma0, ma100;
    } cases[] = {{3, 1, 0.0f, 200.0f}, {0, 0, 4.0f, 20.0f}};
    for (const auto& c : cases) {
        pokeTunable("_ub5.HW_RANGE.IN", c.hwRange);  // not 1 or 2: refused by the tool
        sampleInConfigureMode();
        EXPECT_EQ(integer("_ub5.RANGE.I_NAME"), c.range) << c.hwRange;
        EXPECT_EQ(real("_ub5.MA_0.A_NAME"), c.ma0) << c.hwRange;
        EXPECT_EQ(real("_ub5.MA_100.A_NAME"), c.ma100) << c.hwRange;
        EXPECT_EQ(text("_ub5.ENG_UNITS_SW.S_SW"), "%") << c.hwRange;
    }
}

}  // namespace
}  // namespace ao_test

namespace ao_test {
namespace {

// The readout function entered from the service tool in configure mode,
// one after the other, the speed (the shaft held at a low speed) read out
// first: its text, the entry it selects from the output selection list (the
// spare entries 15 .. 17 entered from the service tool, entry 20 reads zero,
// a function beyond the list keeps the last selection) and the readout in
// percent of the range 0 .. 100; then every readout function's text.
TEST_F(ActuatorProgram, ReadoutFunctionSelectsAndNames) {
    Settings settings = {{"_ub5.RO_FUNCT.IN", 2}};
    for (int n = 15; n <= 17; ++n) settings.push_back({kSpareEntry[n - 15], 60.0 + n});
    startConfigured(settings);
    holdShaftAt(200.0);
    runPasses(ref_test::R160, 6);
    const float speed = real("MPU.TURB_SPD.A_NAME");
    ASSERT_GT(speed, 100.0f);
    ASSERT_EQ(real("_ub5.SEL.A_MUX_N_1"), speed);
    // Shut down at that speed (below the calibration permissive's limit).
    trip();
    ASSERT_TRUE(runUntil([&] { return boolean("SHUTDOWNS.ANY_SD.B_NAME") == 1u; }, 50));
    enterConfigureMode();
    constexpr float kTheSpeed = -1.0f;
    const struct {
        int function;
        const char* text;
        float selected;  // kTheSpeed: the speed
    } cases[] = {{17, "Valve Limiter Setpoint", 77.0f},
                 {20, "HP2 Valve Demand", 0.0f},
                 {2, "Actual Shaft Speed", kTheSpeed},
                 {21, "Inlet Pressure Input", kTheSpeed},  // beyond the list: kept
                 {42, "Spare 42", kTheSpeed}};
    for (const auto& c : cases) {
        serviceWrite("_ub5.RO_FUNCT.IN", c.function);
        sampleInConfigureMode();
        ASSERT_EQ(real("MPU.TURB_SPD.A_NAME"), speed);
        const float selected = c.selected == kTheSpeed ? speed : c.selected;
        EXPECT_EQ(integer("_ub5.RO_FUNCTION.SAMP_ITUNE"), c.function);
        EXPECT_EQ(text("_ub5.ACT_RO_FUNCT_STRG.I_TO_STR"), c.text);
        EXPECT_EQ(real("_ub5.SEL.A_MUX_N_1"), selected) << c.function;
        EXPECT_FLOAT_EQ(real("_ub5.OUTPUT.CALCULATE"), selected) << c.function;  // range 0 .. 100
    }
    // Every readout function's text.
    static const char* const texts[] = {"--- Not Used ---",
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
    for (int f = 1; f <= 42; ++f) {
        serviceWrite("_ub5.RO_FUNCT.IN", f);
        sampleInConfigureMode();
        const std::string expected = f <= 36 ? texts[f - 1] : "Spare " + std::to_string(f);
        EXPECT_EQ(text("_ub5.ACT_RO_FUNCT_STRG.I_TO_STR"), expected) << f;
    }
}

// The wizard's proposal for the actuator (the demand, and the speed as its
// readout) is shown with the outputs' wizard functions in
// output_channel_test.cpp (OutputProgramChannel.TheWizardChoosesTheFunctions).

// On the whole program with the actuator on its high range (20 .. 160 mA,
// saved and started again, for the range reaches the driver only at
// start-up), trips acting on the actuators: the driver is shut down by the
// drive shutdown in the very 10 ms pass its condition is raised, and let go
// in the pass it clears; a self-powered actuator's shutdown is its own
// setting instead. Shut down in calibration mode and stroked to 45 %, the
// driver carries 45 % of the high range; the speed simulation switched on
// from the service tool drives it at 0 %, the 0 % current.
TEST_F(ActuatorProgram, DriveShutdownSelfPoweredActuatorAndSimulationOnTheHighRange) {
    startConfiguredAndRestart({{"_ub5.HW_RANGE.IN", 2},
                               {"_ub5.MA_AT_0_RNG1.IN", 20.0},
                               {"_ub5.MA_AT_100_RNG1.IN", 160.0},
                               {"CNFG_OPERATE.CONFIG_B.IN_4", 1},
                               {"CNFG_ACT.ACT_FRC_RATE.IN", 20.0}});
    ZarnActChannel& driver = stZarnActData[6];
    ASSERT_EQ(integer("_ub5.RANGE.I_NAME"), 1);
    ASSERT_EQ(driver.Command, 1u) << "the high range in the driver";
    EXPECT_EQ(real("_ub5.MA_0.A_NAME"), 20.0f);
    EXPECT_EQ(real("_ub5.MA_100.A_NAME"), 160.0f);
    ASSERT_EQ(boolean("CNFG_OPERATE.TRIP_ACTS.B_NAME"), 1u);

    // In every 10 ms pass the driver is shut down by the drive shutdown of
    // that same pass (not self-powered, trips acting, neither reversed nor
    // in calibration mode), whose condition is the shutdown relay's state
    // the pass before (the unit delay committed at the end of a pass); the
    // passes in which the driver's shutdown was raised and cleared.
    int raised = 0, cleared = 0;
    const auto watchUntil = [&](const std::function<bool()>& done, int max) {
        for (int p = 0; p < max && !done(); ++p) {
            const uint32_t before = driver.Shutdown;
            const uint32_t condition = boolean("DRVR_SCALE.SD_DVR_BRK.ZMINUS1_B");
            runPasses(ref_test::R10, 1);
            ASSERT_EQ(boolean("DRVR_SCALE.N_SD_DRVRS.AND"), condition) << p;
            ASSERT_EQ(boolean("CNFG_ACT.SELFPWR_SW.B_SW"), condition) << p;
            ASSERT_EQ(boolean("_ub5.SD.B_NAME"), condition) << p;
            ASSERT_EQ(driver.Shutdown, condition) << p;
            raised += before == 0 && driver.Shutdown == 1;
            cleared += before == 1 && driver.Shutdown == 0;
        }
    };
    // The shutdown of the driver once the self-powered flag has reached the
    // 10 ms group (at a frame boundary).
    const auto expectShutdown = [&](const char* name, int selfPowered, int setting, uint32_t sd) {
        serviceWrite("IFACE_IN_VLV.SELF_PWACT.IN", selfPowered);
        serviceWrite("CNFG_ACT.SELFPWR_SW.NO", setting);
        runPasses(ref_test::R160, 2);
        runPasses(ref_test::R10, 1);
        EXPECT_EQ(boolean("_ub5.HP_SD.B_NAME"), sd) << name;
        EXPECT_EQ(boolean("_ub5.SD.B_NAME"), sd) << name;
        EXPECT_EQ(driver.Shutdown, sd) << name;
    };
    expectShutdown("drivers_running", 0, 1, 0);
    trip();
    watchUntil([&] { return boolean("SHUTDOWNS.ANY_SD.B_NAME") == 1u && driver.Shutdown == 1u; }, 200);
    EXPECT_EQ(raised, 1);
    expectShutdown("drivers_shut_down", 0, 1, 1);
    expectShutdown("self_powered_setting_off", 1, 0, 0);
    expectShutdown("drivers_shut_down_again", 0, 1, 1);
    contact(ref_test::kTripContact, true);
    watchUntil([] { return false; }, 16 * 8);  // past the trip's one-shot
    contact(ref_test::kResetContact, true);
    watchUntil([&] { return driver.Shutdown == 0u; }, 16 * 6);
    contact(ref_test::kResetContact, false);
    watchUntil([] { return false; }, 16 * 2);
    EXPECT_EQ(cleared, 1);
    ASSERT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 0u);
    expectShutdown("self_powered_setting_on", 1, 1, 1);
    serviceWrite("IFACE_IN_VLV.SELF_PWACT.IN", 0);

    // Stroked to 45 % in calibration mode, then the speed simulation.
    shutDown();
    calibration(true);
    pulse("IFACE_IN_VLV.HP_STRK_ENBL.IN", ref_test::R160);
    runPasses(ref_test::R160, 2);
    ASSERT_EQ(boolean("HP_DRIVER.STRK_LTCH.LATCH_R"), 1u);
    actuatorGoTo(45.0, 20);
    ASSERT_EQ(real("_ub5.DEMAND.A_NAME"), 45.0f);
    EXPECT_EQ(real("CNFG_ACT.SIM_MODE1.A_SW"), 45.0f);
    EXPECT_NEAR(driver.MaDemand, 20.0f + 1.4f * 45.0f, 1e-3f);
    serviceWrite("IFACE_MODE.CNFG_OR_ABOV.IN_3", 1);
    pulse("SPEED_SIM.INTERNAL_SIM.IN_1", ref_test::R160);
    runPasses(ref_test::R160, 2);
    ASSERT_EQ(boolean("SPEED_SIM.SIM_MODE_ACTS.B_NAME"), 1u);
    EXPECT_EQ(real("_ub5.DEMAND.A_NAME"), 45.0f);
    EXPECT_EQ(real("CNFG_ACT.SIM_MODE1.A_SW"), 0.0f);
    EXPECT_FLOAT_EQ(driver.MaDemand, 20.0f);
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
    // The dither entered from the service tool reaches the driver: a square
    // wave of its amplitude around the demand.
    serviceWrite("_ub5.ACT_DITHER.IN", 1.0);
    runPasses(ref_test::R160, 2);
    float lo = 1e9f, hi = -1e9f;
    for (int i = 0; i < 4; ++i) {
        runPasses(ref_test::R10, 1);
        const float centre = stZarnActData[6].MaDemand;
        lo = std::min(lo, stZarnActData[6].MaDemandwDither - centre);
        hi = std::max(hi, stZarnActData[6].MaDemandwDither - centre);
    }
    EXPECT_FLOAT_EQ(hi, 1.0f);
    EXPECT_FLOAT_EQ(lo, -1.0f);
    serviceWrite("_ub5.ACT_DITHER.IN", 0.0);

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
    actuatorGoTo(45.0, 20);
    EXPECT_EQ(real("_ub5.FORCE_SETPT.RAMP"), 45.0f);
    EXPECT_EQ(real("_ub5.FORCE_SP.A_NAME"), 45.0f);
    // The HP driver logic, stroking, returns the force setpoint as the HP
    // demand.
    EXPECT_EQ(real("_ub5.DEMAND.A_NAME"), 45.0f);
    EXPECT_NEAR(stZarnActData[6].MaDemand, 4.0f + 0.16f * 45.0f, 1e-3f);
    // A new 0 % current alone, taken in calibration mode, rescales the drive.
    serviceWrite("_ub5.MA_AT_0_RNG0.IN", 3.6);
    runPasses(ref_test::R160, 4);
    EXPECT_NEAR(stZarnActData[6].MaDemand, 3.6f + 0.164f * 45.0f, 1e-3f);
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

namespace ao_test {
namespace {

// The actuator's function on the whole program, entered from the service
// tool while the controller powers up, at rest with the shaft held: its
// text, the shutdown of a channel not used, and the demand: the HP demand
// (none at rest), the HP2 demand (none, not configured) or the readout of
// the speed as a percentage of the readout range.
struct ProgramFunctionCase {
    const char* name;
    int function;
    const char* text;
    uint32_t sd;
    double roLow, roHigh, rpm;
    float demand;
};

class ActuatorProgramFunction : public OutputProgram, public ::testing::WithParamInterface<ProgramFunctionCase> {};

TEST_P(ActuatorProgramFunction, DemandAndShutdownFollowTheFunction) {
    const ProgramFunctionCase& p = GetParam();
    startConfigured({{"_ub5.FUNCT.IN", p.function},
                     {"_ub5.RO_FUNCT.IN", 2},
                     {"_ub5.RO_LOW.IN", p.roLow},
                     {"_ub5.RO_HI.IN", p.roHigh}});
    holdShaftAt(p.rpm);
    runPasses(ref_test::R160, 6);
    ASSERT_EQ(real("MPU.TURB_SPD.A_NAME"), static_cast<float>(p.rpm));
    EXPECT_EQ(text("_ub5.ACT_FUNC_SEL_STRG.I_TO_STR"), p.text);
    EXPECT_EQ(text("_ub5.FUNCT_STRG.S_NAME"), p.text);
    EXPECT_EQ(boolean("_ub5.SD.B_NAME"), p.sd);
    EXPECT_FLOAT_EQ(real("_ub5.DEMAND.A_NAME"), p.demand);
    EXPECT_EQ(stZarnActData[6].Shutdown, p.sd);
    if (p.sd == 1) {
        EXPECT_EQ(board::pwmOutput(ZARN_ACT6_COUNT), 0);
        EXPECT_EQ(board::controlRegister() & ZARN_CTRL_ACT6_ENABLE, 0);
    }
    if (p.function == 4) {
        EXPECT_EQ(integer("_ub5.RANGE.I_NAME"), 0);
        EXPECT_EQ(real("_ub5.MA_0.A_NAME"), 4.0f);
        EXPECT_EQ(real("_ub5.MA_100.A_NAME"), 20.0f);
        EXPECT_EQ(text("_ub5.ENG_UNITS_SW.S_SW"), "Eng Units");
        EXPECT_EQ(text("_ub5.ACT_RO_FUNCT_STRG.I_TO_STR"), "Actual Shaft Speed");
        EXPECT_FLOAT_EQ(real("_ub5.OUTPUT.CALCULATE"), p.demand);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Functions, ActuatorProgramFunction,
    ::testing::Values(ProgramFunctionCase{"not_used", 1, "Not Used", 1, 0, 5000, 1250, 0.0f},
                      ProgramFunctionCase{"hp_demand", 2, "HP Demand", 0, 0, 5000, 1250, 0.0f},
                      ProgramFunctionCase{"hp2_demand", 3, "HP2 Demand (Split Valve)", 0, 0, 5000, 1250, 0.0f},
                      ProgramFunctionCase{"readout", 4, "Readout", 0, 0, 5000, 1250, 25.0f},
                      ProgramFunctionCase{"readout_of_an_offset_range", 4, "Readout", 0, 1000, 3000, 2000, 50.0f},
                      ProgramFunctionCase{"zero_readout_span_gives_zero", 4, "Readout", 0, 1000, 1000, 1000, 0.0f}),
    [](const ::testing::TestParamInfo<ProgramFunctionCase>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace ao_test

namespace ao_test {
namespace {

// The hardware range entered from the service tool while the controller
// powers up selects the currents of 0 and 100 %.
struct ProgramRangeCase {
    const char* name;
    int hwRange, range;
    float ma0, ma100;
};

class ActuatorProgramRange : public OutputProgram, public ::testing::WithParamInterface<ProgramRangeCase> {};

TEST_P(ActuatorProgramRange, HardwareRangeSelectsTheCurrents) {
    startConfigured({{"_ub5.HW_RANGE.IN", GetParam().hwRange}});
    EXPECT_EQ(integer("_ub5.RANGE.I_NAME"), GetParam().range);
    EXPECT_EQ(real("_ub5.MA_0.A_NAME"), GetParam().ma0);
    EXPECT_EQ(real("_ub5.MA_100.A_NAME"), GetParam().ma100);
    EXPECT_EQ(text("_ub5.ENG_UNITS_SW.S_SW"), "%");
}

INSTANTIATE_TEST_SUITE_P(Ranges, ActuatorProgramRange,
                         ::testing::Values(ProgramRangeCase{"low", 1, 0, 4.0f, 20.0f},
                                           ProgramRangeCase{"high", 2, 1, 0.0f, 200.0f}),
                         [](const ::testing::TestParamInfo<ProgramRangeCase>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace ao_test

namespace ao_test {
namespace {

// A readout channel stroked on the whole program: the readout of the speed
// (standstill, 30 % of a range of -3000 .. 7000 rpm) is forced with the
// force setpoint itself while the stroke enable of the service tool holds
// in calibration mode, and not outside it; the end of the stroke (the
// stroke disable of the service tool) returns to the readout at 1000 % per
// second, 10 % per 10 ms pass.
TEST_F(ActuatorProgram, AReadoutChannelIsStrokedWithTheForceSetpointAndReturnsAtTheForceRate) {
    startConfigured({{"_ub5.FUNCT.IN", 4},
                     {"_ub5.RO_FUNCT.IN", 2},
                     {"_ub5.RO_LOW.IN", -3000.0},
                     {"_ub5.RO_HI.IN", 7000.0},
                     {"CNFG_ACT.ACT_FRC_RATE.IN", 20.0}});
    shutDown();
    // The speed reads 0 once the sensor has been without a tooth for about
    // 67 s (the absolute minimum of its two teeth per measurement).
    ASSERT_TRUE(runUntil([&] { return real("MPU.TURB_SPD.A_NAME") == 0.0f; }, 1000));
    runPasses(ref_test::R160, 2);
    EXPECT_FLOAT_EQ(real("_ub5.DEMAND.A_NAME"), 30.0f);
    pulse("IFACE_IN_VLV.HP_STRK_ENBL.IN", ref_test::R160);
    runPasses(ref_test::R160, 2);
    EXPECT_EQ(boolean("_ub5.ACT_FORCE.FRC"), 0u);
    EXPECT_FLOAT_EQ(real("_ub5.DEMAND.A_NAME"), 30.0f);

    calibration(true);
    pulse("IFACE_IN_VLV.HP_STRK_ENBL.IN", ref_test::R160);
    runPasses(ref_test::R160, 2);
    EXPECT_EQ(real("_ub5.ENTR_SETPT.TUNE"), 0.0f);
    runPasses(ref_test::R10, 2);
    ASSERT_EQ(boolean("_ub5.ACT_FORCE.FRC"), 1u);
    EXPECT_EQ(real("_ub5.DEMAND.A_NAME"), 0.0f);  // the force setpoint rests at 0 %
    actuatorGoTo(60.0, 25);
    EXPECT_EQ(real("_ub5.FORCE_SETPT.RAMP"), 60.0f);
    EXPECT_EQ(real("_ub5.FORCE_SP.A_NAME"), 60.0f);
    EXPECT_EQ(real("_ub5.DEMAND.A_NAME"), 60.0f);
    serviceWrite("IFACE_IN_VLV.HP_STRK_DISBL.IN", 1);
    std::vector<float> demand;
    for (int pass = 0; pass < 40; ++pass) {
        runPasses(ref_test::R10, 1);
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

}  // namespace
}  // namespace ao_test
