// Function configuration settings and checks in the running program (its
// own slice table), driven only through its inputs: the option lists taken
// over only while the I/O is locked or at power-up, the level-switch check
// of relay 4 and the relay errors, the controlled-stop settings, the remote
// speed setpoint's limits and range check, and, with the turbine model, the
// speed-sensor difference alarm and the controlled stop's latch reset.
#include <functional>
#include <string>

#include "host/turbine_model.h"
#include "tests/config/config_rig.h"
#include "tests/support/ref_rig.h"

namespace cfg_test {
namespace {

class FunctionConfig : public ConfigRig {
protected:
    // Settings entered as the service tool enters them.
    void set(std::initializer_list<std::pair<const char*, double>> settings) {
        for (const auto& [name, value] : settings) serviceWrite(name, value);
    }
};

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
    // The list's first entry has no setting: the window holds it at 0 (no
    // input of the program sets it otherwise).
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
    serviceWrite("_ub23.USE_LVL_SW.IN", 1);
    for (const auto& r : rows) {
        serviceWrite("_ub23.LVL_SW_FUNCT.IN", r.function);
        settle();
        EXPECT_EQ(integer("_ub23.OUT_LVL_SW_FUNCT.I_NAME"), r.function);
        EXPECT_EQ(boolean("CNFG_CHECK_BO.RLY4ER.B_NAME"), r.error_without) << r.function;
        EXPECT_EQ(boolean("CNFG_CHECK_BO.BO_04_LVL_SW.AND"), r.error_without) << r.function;
        if (r.feature) {
            serviceWrite(r.feature, 1);
            settle();
            EXPECT_EQ(boolean("CNFG_CHECK_BO.RLY4ER.B_NAME"), 0u) << r.function;
            serviceWrite(r.feature, 0);
        }
    }
    // Not used as a level switch: its level function is not checked.
    serviceWrite("_ub23.LVL_SW_FUNCT.IN", 4);
    serviceWrite("_ub23.USE_LVL_SW.IN", 0);
    settle();
    EXPECT_EQ(boolean("CNFG_CHECK_BO.BO_04_LVL_SW.AND"), 0u);
    EXPECT_EQ(boolean("CNFG_CHECK_BO.BO_04_LVL_CNFG_ERR.NOT"), 1u);
    // The other relay errors are the relays' own checks and the tunable.
    EXPECT_EQ(boolean("CNFG_CHECK_BO.RLY2ER.B_NAME"), boolean("CNFG_CHECK_BO.BO_02_ERR.OR"));
    EXPECT_EQ(boolean("CNFG_CHECK_BO.RLY3ER.B_NAME"), boolean("CNFG_CHECK_BO.BO_03_ERR.OR"));
    // Relays 2 and 3 on the remote speed setpoint, which is not configured.
    serviceWrite("_ub21.RLY_FUNCT.IN", 6);
    serviceWrite("_ub22.RLY_FUNCT.IN", 6);
    settle();
    EXPECT_EQ(boolean("CNFG_CHECK_BO.RLY2ER.B_NAME"), 1u);
    EXPECT_EQ(boolean("CNFG_CHECK_BO.RLY3ER.B_NAME"), 1u);
    serviceWrite("CNFG_CHECK_BO.RLY1ER.IN", 1);
    settle();
    EXPECT_EQ(boolean("CNFG_CHECK_BO.RLY1ER.B_NAME"), 1u);
}

TEST_F(FunctionConfig, ControlledStopSettings) {
    start();
    runPasses(R160, 2);
    EXPECT_EQ(boolean("CNTRL_STOP.USE_STOP.B_NAME"), 1u);
    EXPECT_EQ(boolean("CNTRL_STOP.NOT_USED.NOT"), 0u);
    serviceWrite("CNTRL_STOP.USE_STOP.IN", 0);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("CNTRL_STOP.NOT_USED.NOT"), 1u);
}

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
    for (int n = 1; n <= 10; ++n) serviceWrite(entry("IN_", n), n % 3 != 0 ? 1 : 0);
    settle();
    for (int n = 1; n <= 10; ++n) EXPECT_EQ(boolean(entry("LIST_", n)), 0u) << "unlocked: " << n;
    for (const auto& [n, mode] : modes) EXPECT_EQ(boolean(mode), 0u) << mode;
    lock();
    settle();
    for (int n = 1; n <= 10; ++n) EXPECT_EQ(boolean(entry("LIST_", n)), n % 3 != 0 ? 1u : 0u) << "locked: " << n;
    for (const auto& [n, mode] : modes) EXPECT_EQ(boolean(mode), n % 3 != 0 ? 1u : 0u) << mode;
    // Every entry follows its own setting both ways while locked.
    for (int n = 1; n <= 10; ++n) serviceWrite(entry("IN_", n), n % 3 != 0 ? 0 : 1);
    settle();
    for (int n = 1; n <= 10; ++n) EXPECT_EQ(boolean(entry("LIST_", n)), n % 3 != 0 ? 0u : 1u) << "inverted: " << n;
    for (const auto& [n, mode] : modes) EXPECT_EQ(boolean(mode), n % 3 != 0 ? 0u : 1u) << mode;
    for (int n = 1; n <= 10; ++n) serviceWrite(entry("IN_", n), n % 3 != 0 ? 1 : 0);
    settle();
    unlock();
    runPasses(R160, 15);  // the window outlasts the lock by 2.0 s
    ASSERT_EQ(boolean("MASTER.IO_LOCK_OR_PWR.B_NAME"), 0u);
    for (int n = 1; n <= 10; ++n) serviceWrite(entry("IN_", n), n % 3 != 0 ? 0 : 1);
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
    serviceWrite("CNFG_SPEED.CONFIG_B.IN_1", 1);
    settle();
    for (size_t k = 0; k < 4; ++k) EXPECT_EQ(boolean(used[k]), off[k]) << "unlocked: " << used[k];
    lock();
    settle();
    for (size_t k = 0; k < 4; ++k) EXPECT_EQ(boolean(used[k]), 1u - off[k]) << "locked: " << used[k];
    serviceWrite("CNFG_SPEED.CONFIG_B.IN_1", 0);
    settle();
    for (size_t k = 0; k < 4; ++k) EXPECT_EQ(boolean(used[k]), off[k]) << "cleared: " << used[k];
}

// The remote speed setpoint's limits, the actuator's function and the start
// settings on the whole program: the governor range and the remote input's
// range (the controller's analog input 1 on the remote speed setpoint) come
// from their settings, taken over in the configuration window.
class RemoteSetpointLimits : public FunctionConfig {
protected:
    // The governor range and the remote input's range.
    void ranges(double min_gov, double max_gov, double input_min, double input_max) {
        set({{"CNFG_SETPT.QT_MIN_GOV.IN", min_gov},
             {"CNFG_SETPT.QT_MAX_GOV.IN", max_gov},
             {"_ub6.RANGE_LO.IN", input_min},
             {"_ub6.RANGE_HI.IN", input_max}});
    }
};

// The limits sampled at power-up from the narrower of the two ranges, then
// held in the governor range; in configure mode the hold opens and every
// sample pulse takes the ranges again, and the range check compares the
// remote input's range with the sampled limits.
TEST_F(RemoteSetpointLimits, SampledFromTheNarrowerRangeAndCheckedAgainstTheRemoteInput) {
    start();
    // Entered while the controller powers up.
    serviceWrite("_ub6.FUNCT.IN", 2);
    ranges(1000, 3800, 900, 3700);
    runPasses(R160, 16);
    ASSERT_EQ(boolean("MASTER.IO_LOCK_OR_PWR.B_NAME"), 0u);
    ASSERT_EQ(real("AI_MUX.RMT_SPD_MAX.A_NAME"), 3700.0f);
    ASSERT_EQ(real("AI_MUX.RMT_SPD_MIN.A_NAME"), 900.0f);
    EXPECT_EQ(real("RMT_SETPT.MAX_REMOTE.A_MIN"), 3700.0f);
    EXPECT_EQ(real("RMT_SETPT.MIN_REMOTE.A_MAX"), 1000.0f);
    EXPECT_EQ(real("RMT_SETPT.MAX_SPD.SAMP_TUNE"), 3700.0f);
    EXPECT_EQ(real("RMT_SETPT.MIN_SPD.SAMP_TUNE"), 1000.0f);
    EXPECT_EQ(boolean("RMT_SETPT.MIN_SPD.LIMITED"), 1u) << "at the lower hold limit";
    EXPECT_EQ(real("RMT_SETPT.MAX_SPD.LO_LIM_OUT"), 1000.0f);
    EXPECT_EQ(real("RMT_SETPT.MAX_SPD.HI_LIM_OUT"), 3800.0f);
    EXPECT_EQ(boolean("RMT_SETPT.MAX_SPD.EN_ENT_OUT"), 0u);
    // A tuned value outside the governor range is held at its edge.
    serviceWrite("RMT_SETPT.MAX_SPD.TUNE", 3900);
    runPasses(R160, 1);
    EXPECT_EQ(real("RMT_SETPT.MAX_SPD.SAMP_TUNE"), 3800.0f);
    EXPECT_EQ(boolean("RMT_SETPT.MAX_SPD.LIMITED"), 1u);
    serviceWrite("RMT_SETPT.MAX_SPD.TUNE", 3500);
    runPasses(R160, 1);
    EXPECT_EQ(real("RMT_SETPT.MAX_SPD.SAMP_TUNE"), 3500.0f);
    EXPECT_EQ(boolean("RMT_SETPT.MAX_SPD.LIMITED"), 0u);
    // With the I/O locked the hold limits open and the configuration
    // window samples the ranges again.
    lock();
    serviceWrite("CNFG_SETPT.QT_MIN_GOV.IN", 800);
    settle();
    EXPECT_EQ(real("RMT_SETPT.MIN_CAS_SP_HOLD.A_SW"), -1e38f);
    EXPECT_EQ(real("RMT_SETPT.MAX_GOV_HOLD.A_SW"), 1e38f);
    EXPECT_EQ(real("RMT_SETPT.MAX_SPD.SAMP_TUNE"), 3700.0f);
    EXPECT_EQ(real("RMT_SETPT.MIN_SPD.SAMP_TUNE"), 900.0f);
    EXPECT_EQ(boolean("RMT_SETPT.MIN_SPD.LIMITED"), 0u);

    // The range check, the input in use: its top more than 1 rpm above the
    // sampled maximum (here the governor's maximum) is an error, its bottom
    // more than 1 rpm below the sampled minimum (the governor's minimum).
    ASSERT_EQ(boolean("AI_MUX.RMT_SPD_USED.B_NAME"), 1u);
    const struct {
        float input_max, sampled_max;
        uint32_t too_high;
    } rows[] = {{3601.0f, 3600.0f, 1}, {3600.5f, 3600.0f, 0}, {3700.0f, 3699.0f, 1}, {3700.0f, 3699.5f, 0}};
    for (const auto& r : rows) {
        ranges(1200, r.sampled_max, 1199.5, r.input_max);
        settle();
        ASSERT_EQ(real("RMT_SETPT.MAX_SPD.SAMP_TUNE"), r.sampled_max) << r.input_max;
        ASSERT_EQ(real("RMT_SETPT.MIN_SPD.SAMP_TUNE"), 1200.0f) << r.input_max;
        EXPECT_EQ(boolean("CNFG_CHECK_RMT.MAX_2HI.A_COMPARE"), r.too_high) << r.input_max;
        EXPECT_EQ(boolean("CNFG_CHECK_RMT.RANG_ERR.AND"), r.too_high) << r.input_max;
    }
    serviceWrite("_ub6.RANGE_LO.IN", 1199);
    settle();
    EXPECT_EQ(boolean("CNFG_CHECK_RMT.MIN_2LO.A_COMPARE"), 1u);
    EXPECT_EQ(boolean("CNFG_CHECK_RMT.RANG_ERR.AND"), 1u);
    serviceWrite("_ub6.RANGE_LO.IN", 1199.5);
    settle();
    EXPECT_EQ(boolean("CNFG_CHECK_RMT.MIN_2LO.A_COMPARE"), 0u);
    EXPECT_EQ(boolean("CNFG_CHECK_RMT.RANG_WRNG.OR"), 0u);
    // The remote setpoint configured without its input.
    serviceWrite("CNFG_SETPT.CONFIG_B.IN_2", 1);
    settle();
    ASSERT_EQ(boolean("CNFG_SETPT.USE_RMTSPD.B_NAME"), 1u);
    EXPECT_EQ(boolean("CNFG_CHECK_RMT.REMSPD_CFG.B_NAME"), 0u);
    serviceWrite("_ub6.FUNCT.IN", 1);
    settle();
    ASSERT_EQ(boolean("AI_MUX.RMT_SPD_USED.B_NAME"), 0u);
    EXPECT_EQ(boolean("CNFG_CHECK_RMT.REMSPD_CFG.B_NAME"), 1u);
    EXPECT_EQ(boolean("CNFG_CHECK_RMT.RANG_ERR.AND"), 0u) << "no range error without the input";
    serviceWrite("CNFG_SETPT.CONFIG_B.IN_2", 0);
    settle();
    EXPECT_EQ(boolean("CNFG_CHECK_RMT.REMSPD_CFG.B_NAME"), 0u);
}

// In configure mode: the actuator's function compared with the second HP
// valve's; the start modes and the start settings follow their sources.
TEST_F(RemoteSetpointLimits, ActuatorFunctionStartModesAndSettingsFollowTheirSources) {
    startPastPowerUp();
    lock();
    const struct {
        int32_t f;
        uint32_t gt, eq, lt;
    } rows[] = {{2, 0, 0, 1}, {3, 0, 1, 0}, {4, 1, 0, 0}};
    for (const auto& r : rows) {
        serviceWrite("_ub5.FUNCT.IN", r.f);
        settle();
        ASSERT_EQ(integer("_ub5.FUNCT_INT.I_NAME"), r.f);
        EXPECT_EQ(boolean("CNFG_DRIVER.ACT1_HP2.GT"), r.gt) << r.f;
        EXPECT_EQ(boolean("CNFG_DRIVER.ACT1_HP2.EQ"), r.eq) << r.f;
        EXPECT_EQ(boolean("CNFG_DRIVER.ACT1_HP2.LT"), r.lt) << r.f;
        EXPECT_EQ(boolean("CNFG_DRIVER.CONFIG_B.LIST_3"), r.eq) << "taken over in the configuration window";
    }
    const char* const modes[][2] = {
        {"CNFG_START.CONFIG_B.IN_1", "CNFG_START.MAN_START.B_NAME"},
        {"CNFG_START.CONFIG_B.IN_3", "CNFG_START.SEMIAUTO_START.B_NAME"},
        {"CNFG_START.CONFIG_B.IN_6", "CNFG_START.AUTO_SEQ.B_NAME"},
        {"CNFG_START.CONFIG_B.IN_7", "CNFG_START.KEYPAD_CNFRM.B_NAME"},
    };
    for (const auto& on : modes) {
        for (const auto& m : modes) serviceWrite(m[0], &m == &on ? 1 : 0);
        settle();
        for (const auto& m : modes) EXPECT_EQ(boolean(m[1]), &m == &on ? 1u : 0u) << on[0] << " -> " << m[1];
    }
    const char* const settings[][2] = {
        {"CNFG_START.HOT_START_MULT.IN", "CNFG_START.HOT_START_MULT.A_NAME"},
        {"CNFG_START.RATE_IDL_SPD.IN", "CNFG_START.RATE_IDL_SPD.A_NAME"},
        {"CNFG_START.RATE_MIN_SPD.IN", "CNFG_START.RATE_MIN_SPD.A_NAME"},
        {"CNFG_START.VLV_LIM_RATE.IN", "CNFG_START.VLV_LIM_RATE.A_NAME"},
        {"CNFG_SETPT.RMT_SPD_SP_MAX_RT.IN", "CNFG_SETPT.RMT_SPD_SP_MAX_RT.A_NAME"},
        {"CNFG_START.CONFIG_A.IN_1", "IFACE_IN_SPEED.IDLE_1.A_NAME"},
    };
    double value = 1.5;
    for (const auto& s : settings) serviceWrite(s[0], value += 1.0);
    settle();
    value = 1.5;
    for (const auto& s : settings) EXPECT_EQ(real(s[1]), static_cast<float>(value += 1.0)) << s[1];
    EXPECT_EQ(real("CNFG_START.IDLE_1_SP.A_NAME"), 7.5f);
}

// The reduced overspeed option is cleared once by each rise of its disable
// (here the exit from configure mode, which ends the reduced level); chosen
// again while the disable stays (the exit's half-second pulse, then the
// pulse of the option switched off), it holds, also when the disable falls.
TEST_F(RemoteSetpointLimits, ReducedOverspeedOptionClearedByTheRiseOfItsDisable) {
    startPastPowerUp();
    serviceWrite("CNFG_SETPT.USE_REDUC_OSPD.TUNE", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("CNFG_SETPT.USE_REDUC_OSPD.SAMP_BTUNE"), 1u);
    ASSERT_EQ(boolean("OSPD.REDICE_OSPD_NOT.NOT"), 0u) << "the reduced level in use";
    auto configureModeEntered = [&] {
        lock();
        settle();
        unlock();
        // Configure mode ends once the lock's hold has run out.
        for (int p = 0; p < 40 && boolean("IFACE_MODE.CONFIGURE.B_NAME") != 0; ++p) runPasses(R160, 1);
        ASSERT_EQ(boolean("IFACE_MODE.CONFIGURE.B_NAME"), 0u);
        runPasses(R160, 2);
    };
    configureModeEntered();
    ASSERT_EQ(boolean("OSPD.REDICE_OSPD_NOT.NOT"), 1u);
    EXPECT_EQ(boolean("CNFG_SETPT.USE_REDUC_OSPD.TUNE"), 0u);
    EXPECT_EQ(boolean("CNFG_SETPT.USE_REDUC_OSPD.SAMP_BTUNE"), 0u);
    serviceWrite("CNFG_SETPT.USE_REDUC_OSPD.TUNE", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("CNFG_SETPT.USE_REDUC_OSPD.TUNE"), 1u);
    EXPECT_EQ(boolean("CNFG_SETPT.USE_REDUC_OSPD.SAMP_BTUNE"), 1u);
    ASSERT_EQ(boolean("OSPD.REDICE_OSPD_NOT.NOT"), 1u) << "the disable no longer stays";
    for (int p = 0; p < 20 && boolean("OSPD.REDICE_OSPD_NOT.NOT") != 0; ++p) runPasses(R160, 1);
    ASSERT_EQ(boolean("OSPD.REDICE_OSPD_NOT.NOT"), 0u) << "the disable never fell";
    runPasses(R160, 2);
    EXPECT_EQ(boolean("CNFG_SETPT.USE_REDUC_OSPD.TUNE"), 1u);
    EXPECT_EQ(boolean("CNFG_SETPT.USE_REDUC_OSPD.SAMP_BTUNE"), 1u);
    configureModeEntered();
    ASSERT_EQ(boolean("OSPD.REDICE_OSPD_NOT.NOT"), 1u);
    EXPECT_EQ(boolean("CNFG_SETPT.USE_REDUC_OSPD.SAMP_BTUNE"), 0u);
}

// The speed sensors' difference alarm and the controlled stop's latch reset
// on the whole program with the turbine model: the sensors read the turbine
// through their own wheels (sensor 2's wheel geared so that it reads a
// little more or less than sensor 1), sensor 2's use taken in configure
// mode, the unit started and tripped from its contacts.
class SensorDifference : public ref_test::RefRig {
protected:
    // Sensor n's wheel geared `g` to the shaft (the program counts it as 1).
    static void gear(int n, double g) {
        turbine::Settings t = turbine::settings();
        t.gear[n - 1] = g;
        ASSERT_TRUE(turbine::configure(t));
    }
    bool alarm() { return boolean("CNFG_SPEED.DIFF_ALM.B_NAME") != 0; }
    void TearDown() override {
        RefRig::TearDown();
        UnAssert_IOLOCK();
    }
    // Sensor 2's use set in configure mode, entered and left with the
    // service tool's commands while shut down.
    void useSensorTwo(bool used) {
        serviceWrite("MASTER.COMMANDS.IN_2", 1);
        ASSERT_TRUE(runUntil([&] { return boolean("MASTER.IO_LOCK_OR_PWR.B_NAME") == 1u; }, 40))
            << "configure mode not entered";
        serviceWrite("MASTER.COMMANDS.IN_2", 0);
        serviceWrite("CNFG_SPEED.CONFIG_B.IN_1", used ? 1 : 0);
        runPasses(ref_test::R160, 5);
        // The exit command, then the lock released as the platform does
        // when configure mode is left.
        serviceWrite("MASTER.COMMANDS.IN_3", 1);
        ASSERT_TRUE(runUntil([&] { return boolean("MASTER.LOCK_IO.LATCH") == 0u; }, 10)) << "configure mode not left";
        UnAssert_IOLOCK();
        ASSERT_TRUE(runUntil([&] { return boolean("MASTER.IO_LOCK_OR_PWR.B_NAME") == 0u; }, 80))
            << "the configuration window stays open";
        serviceWrite("MASTER.COMMANDS.IN_3", 0);
        ASSERT_EQ(boolean("CONF_VAL_1.USE_MPU2.B_NAME"), used ? 1u : 0u);
    }
    // The trips reset and the unit started again to control. The
    // controlled stop's latch reset goes in the first 160 ms pass after the
    // valve limiter has left its lower end.
    void restart() {
        turbine::enable();
        clearTrip();
        ASSERT_TRUE(runUntil([&] { return ready(); }, 50));
        startCommand();
        for (int p = 0; p < 100 && boolean("CNTRL_STOP.Z_HPRPLIM.ZMINUS1_B") != 0; ++p) {
            EXPECT_EQ(boolean("CNTRL_STOP.RST_LTCH.DELAY"), 1u);
            runPasses(ref_test::R160, 1);
        }
        ASSERT_EQ(boolean("CNTRL_STOP.Z_HPRPLIM.ZMINUS1_B"), 0u) << "the valve limiter never opened";
        runPasses(ref_test::R160, 1);
        EXPECT_EQ(boolean("CNTRL_STOP.RST_LTCH.DELAY"), 0u);
        ASSERT_TRUE(runUntil([&] { return step("A08_STEP"); }, 5000)) << "never in control";
        runPasses(ref_test::R160, 25);
    }
};

TEST_F(SensorDifference, AlarmAfterItsDelayWhileBothSensorsAreGoodUsedAndNotOverridden) {
    using ref_test::R160;
    // The sensors' maximum speeds entered while the controller powers up;
    // the lowest measurable speed is a fiftieth of each.
    start(false, false, {{"CNFG_SPEED.SPD1_MAXSPD.IN", 6000}, {"CNFG_SPEED.SPD2_MAXSPD.IN", 5000}});
    EXPECT_EQ(real("CNFG_SPEED.SPD1_MINSPD.DIVIDE"), 120.0f);
    EXPECT_EQ(real("CNFG_SPEED.SPD2_MINSPD.DIVIDE"), 100.0f);
    ASSERT_EQ(real("CNFG_SPEED.MPU_DIFF_SP.A_NAME"), 50.0f);
    // Sensor 2 not used: no alarm, however far apart the sensors read.
    gear(2, 1.02);
    startToInControl();
    runPasses(R160, 25);
    ASSERT_GT(real("CNFG_SPEED.ABS_ERR.ABSOLUTE"), 55.0f);
    EXPECT_EQ(boolean("CNFG_SPEED.SPD_DIFF.A_COMPARE"), 1u);
    EXPECT_EQ(boolean("CNFG_SPEED.BOTH_GOOD.NOR"), 1u);
    EXPECT_EQ(boolean("CNFG_SPEED.OVRD_OFF.NOT"), 1u);
    EXPECT_FALSE(alarm()) << "sensor 2 not used";

    // The controlled stop's latch reset: 1 s after the valve limiter has
    // reached its lower end (seen one 80 ms pass later); gone as soon as
    // the limiter leaves it (see restart()).
    ASSERT_EQ(boolean("CNTRL_STOP.Z_HPRPLIM.ZMINUS1_B"), 0u);
    EXPECT_EQ(boolean("CNTRL_STOP.RST_LTCH.DELAY"), 0u);
    trip();
    int passes = 0;
    while (boolean("CNTRL_STOP.Z_HPRPLIM.ZMINUS1_B") == 0 && passes < 20) {
        runPasses(R160, 1);
        ++passes;
    }
    ASSERT_EQ(boolean("CNTRL_STOP.Z_HPRPLIM.ZMINUS1_B"), 1u);
    passes = 1;  // this pass saw it
    while (boolean("CNTRL_STOP.RST_LTCH.DELAY") == 0 && passes < 20) {
        runPasses(R160, 1);
        ++passes;
    }
    EXPECT_EQ(passes, 8);
    ASSERT_TRUE(runUntil([&] { return boolean("SHUTDOWNS.ANY_SD.B_NAME") == 1u; }, 10));
    holdShaftAt(0.0);
    runPasses(R160, 3);

    useSensorTwo(true);
    gear(2, 1.01);
    restart();
    EXPECT_EQ(boolean("CNTRL_STOP.Z_HPRPLIM.ZMINUS1_B"), 0u);
    EXPECT_EQ(boolean("CNTRL_STOP.RST_LTCH.DELAY"), 0u);
    ASSERT_LT(real("CNFG_SPEED.ABS_ERR.ABSOLUTE"), 45.0f);
    EXPECT_FALSE(alarm()) << "a difference below the setpoint";
    // The difference above the setpoint: the alarm after its 3 s delay.
    gear(2, 1.02);
    passes = 0;
    while (boolean("CNFG_SPEED.SPDSIG_DIFF.AND") == 0 && passes < 20) {
        runPasses(R160, 1);
        ++passes;
    }
    ASSERT_EQ(boolean("CNFG_SPEED.SPDSIG_DIFF.AND"), 1u);
    passes = 0;
    while (!alarm() && passes < 40) {
        runPasses(R160, 1);
        ++passes;
    }
    EXPECT_GE(passes, 18);  // 3 s
    EXPECT_LE(passes, 20);
    // Each of the conditions alone ends it: a sensor failed, a difference
    // below the setpoint from either sensor. (A sensor put right slews its
    // reading back over a few passes before the delay runs again.)
    const struct {
        const char* what;
        std::function<void()> bad, good;
        const char* cause;
        uint32_t cause_bad;
    } rows[] = {
        {"sensor 2 failed", [] { turbine::failSensor(1); }, [] { turbine::failSensor(1, false); },
         "ALM_LOGIC.SS2_FLT.AND", 1},
        {"sensor 1 failed", [] { turbine::failSensor(0); }, [] { turbine::failSensor(0, false); },
         "MPU_OVRD.SS1_FLD.B_SW", 1},
        {"sensor 2 closer", [] { gear(2, 1.01); }, [] { gear(2, 1.02); }, "CNFG_SPEED.SPD_DIFF.A_COMPARE", 0},
        {"sensor 1 closer", [] { gear(1, 1.01); }, [] { gear(1, 1.0); }, "CNFG_SPEED.SPD_DIFF.A_COMPARE", 0},
    };
    for (const auto& r : rows) {
        r.bad();
        runPasses(R160, 2);
        EXPECT_EQ(boolean(r.cause), r.cause_bad) << r.what;
        EXPECT_FALSE(alarm()) << r.what;
        r.good();
        runPasses(R160, 5);
        EXPECT_EQ(boolean(r.cause), 1u - r.cause_bad) << r.what;
        runPasses(R160, 21);
        EXPECT_TRUE(alarm()) << r.what;
    }
    // The difference either way.
    gear(2, 0.98);
    runPasses(R160, 25);
    EXPECT_GT(real("CNFG_SPEED.MPU_DIFF.SUBTRACT"), 55.0f);
    EXPECT_EQ(boolean("CNFG_SPEED.SPD_DIFF.A_COMPARE"), 1u);
    EXPECT_TRUE(alarm());
    // A difference equal to the setpoint counts as too far: the shaft held
    // so that the readings stand still, the setpoint raised (in steps, as
    // the service tool changes a setting while the unit runs) to the
    // difference, then just above it.
    holdShaftAt(shaft());
    runPasses(R160, 3);
    const float diff = real("CNFG_SPEED.ABS_ERR.ABSOLUTE");
    ASSERT_GT(diff, 59.0f);  // above the steps below
    ASSERT_LT(diff, 60.5f);
    for (const double step : {54.5, 59.0, static_cast<double>(diff)}) {
        serviceWrite("CNFG_SPEED.MPU_DIFF_SP.IN", step);
        runPasses(R160, 1);
    }
    runPasses(R160, 2);
    ASSERT_EQ(real("CNFG_SPEED.ABS_ERR.ABSOLUTE"), diff) << "the readings moved";
    EXPECT_EQ(boolean("CNFG_SPEED.SPD_DIFF.A_COMPARE"), 1u);
    EXPECT_TRUE(alarm());
    serviceWrite("CNFG_SPEED.MPU_DIFF_SP.IN", diff + 0.01);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("CNFG_SPEED.SPD_DIFF.A_COMPARE"), 0u);
    EXPECT_FALSE(alarm());
    for (const double step : {55.0, 50.0}) {
        serviceWrite("CNFG_SPEED.MPU_DIFF_SP.IN", step);
        runPasses(R160, 1);
    }
    turbine::enable();
    runPasses(R160, 22);
    EXPECT_TRUE(alarm());

    // A trip overrides the sensors: the alarm ends at once, the sensors
    // still apart; it comes back once the unit runs again.
    trip();
    ASSERT_TRUE(runUntil([&] { return boolean("MPU_OVRD.OVRD1_OR.OR") == 1u; }, 10));
    runPasses(R160, 2);
    ASSERT_GT(real("CNFG_SPEED.ABS_ERR.ABSOLUTE"), 50.0f);
    EXPECT_FALSE(alarm()) << "overridden";
    holdShaftAt(0.0);
    runPasses(R160, 3);
    gear(2, 1.02);
    restart();
    EXPECT_EQ(boolean("MPU_OVRD.OVRD1_OR.OR"), 0u);
    EXPECT_TRUE(alarm()) << "overridden";
}

}  // namespace
}  // namespace cfg_test
