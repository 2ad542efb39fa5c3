// Function configuration settings and checks in the running program: the
// option lists taken over only while the I/O is locked or at power-up, the
// level-switch check of relay 4 and the relay errors, the speed-sensor
// difference alarm, the controlled-stop settings, and the remote speed
// setpoint's limits and range check.
#include <string>

#include "app/config/config_slices.h"
#include "app/interface/interface_slices.h"
#include "runtime/sysinfo.h"
#include "tests/config/config_rig.h"

namespace cfg_test {
namespace {

class FunctionConfig : public ConfigRig {};

TEST_F(FunctionConfig, OptionsAndStartSetpointsChangeOnlyWhileTheIoIsLocked) {
    start();
    runPasses(R160, 2);  // the power-up window takes the defaults
    EXPECT_EQ(boolean("CNFG_OPERATE.RST_CLRS_TRIP.B_NAME"), 0u);
    EXPECT_EQ(boolean("CNFG_OPERATE.EXT_TRIPS_RELAY.B_NAME"), 1u);
    EXPECT_EQ(boolean("CNFG_OPERATE.TRIP_ACTS.B_NAME"), 1u);
    EXPECT_EQ(boolean("CNFG_OPERATE.CSD_TRIP.B_NAME"), 1u);
    EXPECT_EQ(boolean("CNTRL_STOP.CSD_TRIP.B_NAME"), 1u);
    EXPECT_EQ(boolean("CNFG_DRIVER.USE_HP1_FLT_SD.B_NAME"), 1u);
    runPasses(R160, 15);
    ASSERT_EQ(boolean("MASTER.IO_LOCK_OR_PWR.B_NAME"), 0u);
    set({{"CNFG_OPERATE.CONFIG_B.IN_3", 1},
         {"CNFG_OPERATE.CONFIG_B.IN_5", 0},
         {"CNFG_OPERATE.CONFIG_B.LIST_1", 1},  // taken back to 0 when the window opens
         {"CNFG_DRIVER.CONFIG_B.IN_1", 1},
         {"CNFG_DRIVER.CONFIG_B.IN_2", 0},
         {"CNFG_DRIVER.CONFIG_A.IN_1", 42},
         {"CNFG_START.CONFIG_A.IN_1", 900},
         {"CNFG_START.CONFIG_A.IN_2", 3000}});
    settle();
    EXPECT_EQ(real("CNFG_START.IDLE_1_SP.A_NAME"), 1000.0f);  // the defaults taken at power-up
    EXPECT_EQ(real("CNFG_START.IR_RATED_SP.A_NAME"), 3600.0f);
    EXPECT_EQ(boolean("CNFG_OPERATE.RST_CLRS_TRIP.B_NAME"), 0u);
    EXPECT_EQ(boolean("CNFG_OPERATE.CSD_TRIP.B_NAME"), 1u);
    EXPECT_EQ(boolean("CNFG_DRIVER.INVERT.B_NAME"), 0u);
    EXPECT_EQ(boolean("IFACE_IN_VLV.INVERT_DMD.B_NAME"), 0u);
    EXPECT_EQ(boolean("CNFG_DRIVER.USE_HP1_FLT_SD.B_NAME"), 1u);
    EXPECT_EQ(real("CNFG_DRIVER.CONFIG_A.LIST_1"), 0.0f);
    lock();
    settle();
    EXPECT_EQ(boolean("CNFG_OPERATE.RST_CLRS_TRIP.B_NAME"), 1u);
    EXPECT_EQ(boolean("CNFG_OPERATE.CSD_TRIP.B_NAME"), 0u);
    EXPECT_EQ(boolean("CNTRL_STOP.CSD_TRIP.B_NAME"), 0u);
    EXPECT_EQ(boolean("CNFG_OPERATE.CONFIG_B.LIST_1"), 0u);
    EXPECT_EQ(boolean("CNFG_DRIVER.INVERT.B_NAME"), 1u);
    EXPECT_EQ(boolean("IFACE_IN_VLV.INVERT_DMD.B_NAME"), 1u);
    EXPECT_EQ(boolean("CNFG_DRIVER.USE_HP1_FLT_SD.B_NAME"), 0u);
    EXPECT_EQ(real("CNFG_DRIVER.CONFIG_A.LIST_1"), 42.0f);
    EXPECT_EQ(real("CNFG_START.IDLE_1_SP.A_NAME"), 900.0f);
    EXPECT_EQ(real("IFACE_IN_SPEED.IDLE_1.A_NAME"), 900.0f);
    EXPECT_EQ(real("CNFG_START.IR_RATED_SP.A_NAME"), 3000.0f);
    EXPECT_EQ(boolean("CNFG_DRIVER.CONFIG_B.LIST_3"), boolean("CNFG_DRIVER.ACT1_HP2.EQ"));
}

TEST_F(FunctionConfig, RelayFourLevelSwitchNeedsItsFeature) {
    startPastPowerUp();
    const struct {
        int function;
        const char* feature;  // the setting that brings it (nullptr: none needed)
        uint32_t error_without;
    } rows[] = {
        {1, nullptr, 0}, {4, "CNFG_CASC.CONFIG_B.IN_1", 1}, {5, "CNFG_CASC.CONFIG_B.IN_1", 1},
        {6, nullptr, 0}, {12, nullptr, 0},
    };
    lock();
    setCell("_ub23.USE_LVL_SW.IN", 1);
    for (const auto& r : rows) {
        setCell("_ub23.LVL_SW_FUNCT.IN", r.function);
        settle();
        EXPECT_EQ(integer("_ub23.OUT_LVL_SW_FUNCT.I_NAME"), r.function);
        EXPECT_EQ(boolean("CNFG_CHECK_BO.RLY4ER.B_NAME"), r.error_without) << r.function;
        EXPECT_EQ(boolean("CNFG_CHECK_BO.BO_04_LVL_SW.AND"), r.error_without) << r.function;
        if (r.feature) {
            setCell(r.feature, 1);
            settle();
            EXPECT_EQ(boolean("CNFG_CHECK_BO.RLY4ER.B_NAME"), 0u) << r.function;
            setCell(r.feature, 0);
        }
    }
    // Not used as a level switch: its level function is not checked.
    setCell("_ub23.LVL_SW_FUNCT.IN", 4);
    setCell("_ub23.USE_LVL_SW.IN", 0);
    settle();
    EXPECT_EQ(boolean("CNFG_CHECK_BO.BO_04_LVL_SW.AND"), 0u);
    EXPECT_EQ(boolean("CNFG_CHECK_BO.BO_04_LVL_CNFG_ERR.NOT"), 1u);
    // The other relay errors are the relays' own checks and the tunable.
    EXPECT_EQ(boolean("CNFG_CHECK_BO.RLY2ER.B_NAME"), boolean("CNFG_CHECK_BO.BO_02_ERR.OR"));
    EXPECT_EQ(boolean("CNFG_CHECK_BO.RLY3ER.B_NAME"), boolean("CNFG_CHECK_BO.BO_03_ERR.OR"));
    // Relays 2 and 3 on the remote speed setpoint, which is not configured.
    setCell("_ub21.RLY_FUNCT.IN", 6);
    setCell("_ub22.RLY_FUNCT.IN", 6);
    settle();
    EXPECT_EQ(boolean("CNFG_CHECK_BO.RLY2ER.B_NAME"), 1u);
    EXPECT_EQ(boolean("CNFG_CHECK_BO.RLY3ER.B_NAME"), 1u);
    setCell("CNFG_CHECK_BO.RLY1ER.IN", 1);
    settle();
    EXPECT_EQ(boolean("CNFG_CHECK_BO.RLY1ER.B_NAME"), 1u);
}

TEST_F(FunctionConfig, ControlledStopSettings) {
    start();
    runPasses(R160, 2);
    EXPECT_EQ(boolean("CNTRL_STOP.USE_STOP.B_NAME"), 1u);
    EXPECT_EQ(boolean("CNTRL_STOP.NOT_USED.NOT"), 0u);
    setCell("CNTRL_STOP.USE_STOP.IN", 0);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("CNTRL_STOP.NOT_USED.NOT"), 1u);
}

// The settings slices alone, so that the remote input's range, the speed
// sensors' readings and the actuator's function can be set directly.
// The start-mode list is taken from its settings only while the I/O is
// locked (or the controller powers up); the start modes follow the list.
TEST_F(FunctionConfig, StartModeListTakenOnlyWhileLocked) {
    startPastPowerUp();
    const std::pair<int, const char*> modes[] = {{2, "CNFG_START.AUTO_START.B_NAME"},
                                                 {2, "CNFG_START.IDLE_RATED_SEQ.B_NAME"},
                                                 {2, "CONF_VAL_1.IDLE_RTD.B_NAME"},
                                                 {2, "IFACE_IN_START.AUTO_START.B_NAME"},
                                                 {1, "IFACE_IN_START.MANUAL_START.B_NAME"},
                                                 {9, "CNFG_START.AUTO_HALT_AT_IDLE.B_NAME"},
                                                 {10, "CNFG_START.USE_RATED.B_NAME"}};
    auto entry = [](const char* field, int n) { return std::string("CNFG_START.CONFIG_B.") + field + std::to_string(n); };
    for (int n = 1; n <= 10; ++n) setCell(entry("IN_", n), n % 3 != 0 ? 1 : 0);
    settle();
    for (int n = 1; n <= 10; ++n) EXPECT_EQ(boolean(entry("LIST_", n)), 0u) << "unlocked: " << n;
    for (const auto& [n, mode] : modes) EXPECT_EQ(boolean(mode), 0u) << mode;
    lock();
    settle();
    for (int n = 1; n <= 10; ++n) EXPECT_EQ(boolean(entry("LIST_", n)), n % 3 != 0 ? 1u : 0u) << "locked: " << n;
    for (const auto& [n, mode] : modes) EXPECT_EQ(boolean(mode), n % 3 != 0 ? 1u : 0u) << mode;
    // Every entry follows its own setting both ways while locked.
    for (int n = 1; n <= 10; ++n) setCell(entry("IN_", n), n % 3 != 0 ? 0 : 1);
    settle();
    for (int n = 1; n <= 10; ++n) EXPECT_EQ(boolean(entry("LIST_", n)), n % 3 != 0 ? 0u : 1u) << "inverted: " << n;
    for (const auto& [n, mode] : modes) EXPECT_EQ(boolean(mode), n % 3 != 0 ? 0u : 1u) << mode;
    for (int n = 1; n <= 10; ++n) setCell(entry("IN_", n), n % 3 != 0 ? 1 : 0);
    settle();
    unlock();
    runPasses(R160, 15);  // the window outlasts the lock by 2.0 s
    ASSERT_EQ(boolean("MASTER.IO_LOCK_OR_PWR.B_NAME"), 0u);
    for (int n = 1; n <= 10; ++n) setCell(entry("IN_", n), n % 3 != 0 ? 0 : 1);
    settle();
    for (int n = 1; n <= 10; ++n) EXPECT_EQ(boolean(entry("LIST_", n)), n % 3 != 0 ? 1u : 0u) << "kept: " << n;
}

// The speed-sensor list (sensor 2 used) likewise: taken only while locked,
// and the sensor's use follows it.
TEST_F(FunctionConfig, SecondSpeedSensorUseTakenOnlyWhileLocked) {
    startPastPowerUp();
    const char* const used[] = {"CNFG_SPEED.CONFIG_B.LIST_1", "CNFG_SPEED.SPD2_USED.B_NAME", "CONF_VAL_1.USE_MPU2.B_NAME",
                                "CONF_VAL_2.NO_MPU2.NOT"};
    const uint32_t off[] = {0, 0, 0, 1};
    setCell("CNFG_SPEED.CONFIG_B.IN_1", 1);
    settle();
    for (size_t k = 0; k < 4; ++k) EXPECT_EQ(boolean(used[k]), off[k]) << "unlocked: " << used[k];
    lock();
    settle();
    for (size_t k = 0; k < 4; ++k) EXPECT_EQ(boolean(used[k]), 1u - off[k]) << "locked: " << used[k];
    setCell("CNFG_SPEED.CONFIG_B.IN_1", 0);
    settle();
    for (size_t k = 0; k < 4; ++k) EXPECT_EQ(boolean(used[k]), off[k]) << "cleared: " << used[k];
}

class RemoteSetpointLimits : public tc_test::AppHarness {
protected:
    void start() {
        useSlices(R160, {_R160_TASK_7, _R160_TASK_28, _R160_TASK_29});
        startApp();
        setCell("CALMODE.CAL_PERM.AND", 0);
        setCell("IFACE_IN_SPEED.MAX_GOV.A_NAME", 3800);
        setCell("CNFG_SETPT.MIN_GOV.A_NAME", 1000);
        setCell("AI_MUX.RMT_SPD_MAX.A_NAME", 3700);
        setCell("AI_MUX.RMT_SPD_MIN.A_NAME", 900);
    }
};

TEST_F(RemoteSetpointLimits, SampledFromTheNarrowerRangeAtPowerUp) {
    start();
    runPasses(R160, 16);
    EXPECT_EQ(real("RMT_SETPT.MAX_REMOTE.A_MIN"), 3700.0f);
    EXPECT_EQ(real("RMT_SETPT.MIN_REMOTE.A_MAX"), 1000.0f);
    EXPECT_EQ(real("RMT_SETPT.MAX_SPD.SAMP_TUNE"), 3700.0f);
    EXPECT_EQ(real("RMT_SETPT.MIN_SPD.SAMP_TUNE"), 1000.0f);
    EXPECT_EQ(boolean("RMT_SETPT.MIN_SPD.LIMITED"), 1u) << "at the lower hold limit";
    EXPECT_EQ(real("RMT_SETPT.MAX_SPD.LO_LIM_OUT"), 1000.0f);
    EXPECT_EQ(real("RMT_SETPT.MAX_SPD.HI_LIM_OUT"), 3800.0f);
    EXPECT_EQ(boolean("RMT_SETPT.MAX_SPD.EN_ENT_OUT"), 0u);
    // A tuned value outside the governor range is held at its edge.
    setCell("RMT_SETPT.MAX_SPD.TUNE", 3900);
    runPasses(R160, 1);
    EXPECT_EQ(real("RMT_SETPT.MAX_SPD.SAMP_TUNE"), 3800.0f);
    EXPECT_EQ(boolean("RMT_SETPT.MAX_SPD.LIMITED"), 1u);
    setCell("RMT_SETPT.MAX_SPD.TUNE", 3500);
    runPasses(R160, 1);
    EXPECT_EQ(real("RMT_SETPT.MAX_SPD.SAMP_TUNE"), 3500.0f);
    EXPECT_EQ(boolean("RMT_SETPT.MAX_SPD.LIMITED"), 0u);
    // With the I/O locked the hold limits open and the configuration
    // window samples the range again.
    _SYS_INFO_C_PWD = 1;
    setCell("CNFG_SETPT.MIN_GOV.A_NAME", 800);
    runPasses(R160, 3);
    EXPECT_EQ(real("RMT_SETPT.MIN_CAS_SP_HOLD.A_SW"), -1e38f);
    EXPECT_EQ(real("RMT_SETPT.MAX_GOV_HOLD.A_SW"), 1e38f);
    EXPECT_EQ(real("RMT_SETPT.MAX_SPD.SAMP_TUNE"), 3700.0f);
    EXPECT_EQ(real("RMT_SETPT.MIN_SPD.SAMP_TUNE"), 900.0f);
    EXPECT_EQ(boolean("RMT_SETPT.MIN_SPD.LIMITED"), 0u);
    _SYS_INFO_C_PWD = 0;
}

TEST_F(RemoteSetpointLimits, RangeCheckAgainstTheRemoteInput) {
    start();
    runPasses(R160, 16);
    setCell("AI_MUX.RMT_SPD_USED.B_NAME", 1);
    setCell("RMT_SETPT.MIN_SPD.TUNE", 1200);
    setCell("AI_MUX.RMT_SPD_MIN.A_NAME", 1199.5);
    const struct {
        float input_max, sampled_max;
        uint32_t too_high;
    } rows[] = {{3601.0f, 3600.0f, 1}, {3600.5f, 3600.0f, 0}, {3700.0f, 3699.0f, 1}, {3700.0f, 3699.5f, 0}};
    for (const auto& r : rows) {
        setCell("AI_MUX.RMT_SPD_MAX.A_NAME", r.input_max);
        setCell("RMT_SETPT.MAX_SPD.TUNE", r.sampled_max);
        runPasses(R160, 1);
        EXPECT_EQ(boolean("CNFG_CHECK_RMT.MAX_2HI.A_COMPARE"), r.too_high)
            << r.input_max;
        EXPECT_EQ(boolean("CNFG_CHECK_RMT.RANG_ERR.AND"), r.too_high) << r.input_max;
    }
    setCell("AI_MUX.RMT_SPD_MIN.A_NAME", 1199);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("CNFG_CHECK_RMT.MIN_2LO.A_COMPARE"), 1u);
    EXPECT_EQ(boolean("CNFG_CHECK_RMT.RANG_ERR.AND"), 1u);
    setCell("AI_MUX.RMT_SPD_MIN.A_NAME", 1199.5);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("CNFG_CHECK_RMT.MIN_2LO.A_COMPARE"), 0u);
    EXPECT_EQ(boolean("CNFG_CHECK_RMT.RANG_WRNG.OR"), 0u);
    // Remote setpoint configured without its input.
    setCell("CNFG_SETPT.USE_RMTSPD.B_NAME", 1);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("CNFG_CHECK_RMT.REMSPD_CFG.B_NAME"), 0u);
    setCell("AI_MUX.RMT_SPD_USED.B_NAME", 0);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("CNFG_CHECK_RMT.REMSPD_CFG.B_NAME"), 1u);
    setCell("CNFG_SETPT.USE_RMTSPD.B_NAME", 0);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("CNFG_CHECK_RMT.REMSPD_CFG.B_NAME"), 0u);
}

TEST_F(RemoteSetpointLimits, ActuatorFunctionComparedWithTheSecondHpValve) {
    start();
    const struct {
        int32_t f;
        uint32_t gt, eq, lt;
    } rows[] = {{2, 0, 0, 1}, {3, 0, 1, 0}, {4, 1, 0, 0}};
    for (const auto& r : rows) {
        setCell("_ub5.FUNCT_INT.I_NAME", r.f);
        runPasses(R160, 1);
        EXPECT_EQ(boolean("CNFG_DRIVER.ACT1_HP2.GT"), r.gt) << r.f;
        EXPECT_EQ(boolean("CNFG_DRIVER.ACT1_HP2.EQ"), r.eq) << r.f;
        EXPECT_EQ(boolean("CNFG_DRIVER.ACT1_HP2.LT"), r.lt) << r.f;
        EXPECT_EQ(boolean("CNFG_DRIVER.CONFIG_B.LIST_3"), r.eq) << "taken over in the power-up window";
    }
}

TEST_F(RemoteSetpointLimits, SpeedSensorDifferenceAlarmAfterItsDelay) {
    start();
    _SYS_INFO_C_PWD = 0;
    setCell("CNFG_SPEED.TSS_01.MPU_ZARN", 3000);
    setCell("CNFG_SPEED.TSS_02.MPU_ZARN", 3060);
    setCell("CONF_VAL_1.USE_MPU2.B_NAME", 1);
    runPasses(R160, 1);
    EXPECT_EQ(real("CNFG_SPEED.ABS_ERR.ABSOLUTE"), 60.0f);
    EXPECT_EQ(boolean("CNFG_SPEED.SPDSIG_DIFF.AND"), 1u);
    int passes = 0;
    while (boolean("CNFG_SPEED.DIFF_ALM.B_NAME") == 0 && passes < 40) {
        runPasses(R160, 1);
        ++passes;
    }
    EXPECT_GE(passes, 18);  // 3 s
    EXPECT_LE(passes, 20);
    // Each of the conditions alone ends it: a sensor failed, an override, the
    // second sensor unused, a difference below the setpoint.
    const struct {
        const char* cell;
        double bad, good;
    } rows[] = {{"ALM_LOGIC.SS2_FLT.AND", 1, 0},
                {"MPU_OVRD.SS1_FLD.B_SW", 1, 0},
                {"MPU_OVRD.OVRD1_OR.OR", 1, 0},
                {"CONF_VAL_1.USE_MPU2.B_NAME", 0, 1},
                {"CNFG_SPEED.TSS_02.MPU_ZARN", 3049.9, 3060},
                {"CNFG_SPEED.TSS_01.MPU_ZARN", 3010.1, 3000}};
    for (const auto& r : rows) {
        setCell(r.cell, r.bad);
        runPasses(R160, 2);
        EXPECT_EQ(boolean("CNFG_SPEED.DIFF_ALM.B_NAME"), 0u) << r.cell;
        setCell(r.cell, r.good);
        runPasses(R160, 21);
        EXPECT_EQ(boolean("CNFG_SPEED.DIFF_ALM.B_NAME"), 1u) << r.cell;
    }
    setCell("CNFG_SPEED.TSS_02.MPU_ZARN", 2950);  // the difference either way
    runPasses(R160, 1);
    EXPECT_EQ(real("CNFG_SPEED.MPU_DIFF.SUBTRACT"), 50.0f);
    EXPECT_EQ(boolean("CNFG_SPEED.SPD_DIFF.A_COMPARE"), 1u);
    setCell("CNFG_SPEED.SPD1_MAXSPD.A_NAME", 6000);
    setCell("CNFG_SPEED.SPD2_MAXSPD.A_NAME", 5000);
    runPasses(R160, 1);
    EXPECT_EQ(real("CNFG_SPEED.SPD1_MINSPD.DIVIDE"), 120.0f);
    EXPECT_EQ(real("CNFG_SPEED.SPD2_MINSPD.DIVIDE"), 100.0f);
}

TEST_F(RemoteSetpointLimits, ControlledStopLatchResetFollowsTheLimiterAfterOneSecond) {
    start();
    setCell("CNTRL_STOP.Z_HPRPLIM.ZMINUS1_B", 1);
    runPasses(R160, 7);
    EXPECT_EQ(boolean("CNTRL_STOP.RST_LTCH.DELAY"), 0u);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("CNTRL_STOP.RST_LTCH.DELAY"), 1u);
    setCell("CNTRL_STOP.Z_HPRPLIM.ZMINUS1_B", 0);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("CNTRL_STOP.RST_LTCH.DELAY"), 0u);
}

TEST_F(RemoteSetpointLimits, StartModesAndSettingsFollowTheirSources) {
    start();
    const char* const modes[][2] = {
        {"CNFG_START.CONFIG_B.LIST_1", "CNFG_START.MAN_START.B_NAME"},
        {"CNFG_START.CONFIG_B.LIST_3", "CNFG_START.SEMIAUTO_START.B_NAME"},
        {"CNFG_START.CONFIG_B.LIST_6", "CNFG_START.AUTO_SEQ.B_NAME"},
        {"CNFG_START.CONFIG_B.LIST_7", "CNFG_START.KEYPAD_CNFRM.B_NAME"},
    };
    for (const auto& on : modes) {
        for (const auto& m : modes) setCell(m[0], &m == &on ? 1 : 0);
        runPasses(R160, 1);
        for (const auto& m : modes) EXPECT_EQ(boolean(m[1]), &m == &on ? 1u : 0u) << on[0] << " -> " << m[1];
    }
    const char* const settings[][2] = {
        {"CNFG_START.HOT_START_MULT.IN", "CNFG_START.HOT_START_MULT.A_NAME"},
        {"CNFG_START.RATE_IDL_SPD.IN", "CNFG_START.RATE_IDL_SPD.A_NAME"},
        {"CNFG_START.RATE_MIN_SPD.IN", "CNFG_START.RATE_MIN_SPD.A_NAME"},
        {"CNFG_START.VLV_LIM_RATE.IN", "CNFG_START.VLV_LIM_RATE.A_NAME"},
        {"CNFG_SETPT.RMT_SPD_SP_MAX_RT.IN", "CNFG_SETPT.RMT_SPD_SP_MAX_RT.A_NAME"},
        {"CNFG_START.IDLE_1_SP.A_NAME", "IFACE_IN_SPEED.IDLE_1.A_NAME"},
    };
    double value = 1.5;
    for (const auto& s : settings) setCell(s[0], value += 1.0);
    runPasses(R160, 1);
    value = 1.5;
    for (const auto& s : settings) EXPECT_EQ(real(s[1]), static_cast<float>(value += 1.0)) << s[1];
}

// The reduced overspeed option is cleared once when its disable rises; chosen
// again while the disable stays, it holds.
TEST_F(RemoteSetpointLimits, ReducedOverspeedOptionClearedByTheRiseOfItsDisable) {
    start();
    setCell("CNFG_SETPT.USE_REDUC_OSPD.TUNE", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("CNFG_SETPT.USE_REDUC_OSPD.SAMP_BTUNE"), 1u);
    setCell("OSPD.REDICE_OSPD_NOT.NOT", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("CNFG_SETPT.USE_REDUC_OSPD.TUNE"), 0u);
    EXPECT_EQ(boolean("CNFG_SETPT.USE_REDUC_OSPD.SAMP_BTUNE"), 0u);
    setCell("CNFG_SETPT.USE_REDUC_OSPD.TUNE", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("CNFG_SETPT.USE_REDUC_OSPD.TUNE"), 1u);
    EXPECT_EQ(boolean("CNFG_SETPT.USE_REDUC_OSPD.SAMP_BTUNE"), 1u);
    setCell("OSPD.REDICE_OSPD_NOT.NOT", 0);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("CNFG_SETPT.USE_REDUC_OSPD.SAMP_BTUNE"), 1u);
    setCell("OSPD.REDICE_OSPD_NOT.NOT", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("CNFG_SETPT.USE_REDUC_OSPD.SAMP_BTUNE"), 0u);
}

}  // namespace
}  // namespace cfg_test
