// The whole program's block initialisation seen from its first passes: a
// restart from a tunables file saved while every service command was on and
// with the lag time constants changed. The commands stay off, the time
// constants and the control identifier come back from the file, and the
// force setpoints, the fast/slow preference and the condition counters start
// where the program starts them.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "host/hostkernel.h"
#include "host/speed_sensor_model.h"
#include "platform/vkiobus.h"
#include "runtime/appinit.h"
#include "runtime/appmain.h"
#include "runtime/catalogue_tables.h"
#include "runtime/sysinfo.h"
#include "service/TwControl.h"
#include "storage/eefile.h"
#include "tests/support/app_harness.h"

namespace {

class BlockInit : public tc_test::AppHarness {
protected:
    void SetUp() override {
        const auto& program = tc_test::programSliceTable();
        AppHarness::SetUp();
        for (int g = 0; g < kNumRateGroups; ++g) useSlices(g, program[g]);
    }
    // Every directory name "MODULE.BLOCK.FIELD" of the given access and type.
    static std::vector<std::string> names(char access, char type) {
        std::vector<std::string> v;
        for (uint32_t h = 1; h + 1 < num_dbug_hdr; ++h)
            for (uint32_t r = _dbug_hdr[h].first; r <= _dbug_hdr[h].last; ++r)
                if (_dbug_var[r].access == access && _dbug_var[r].type == type)
                    v.push_back(std::string(_dbug_hdr[h].name) + "." + _dbug_var[r].name);
        return v;
    }
    void TearDown() override {
        UnAssert_IOLOCK();
        AppHarness::TearDown();
    }
    // The I/O lock taken as the service tool takes it (the control stopped),
    // once the master clock pass has published its permissive.
    void lockIo() {
        for (int p = 0; p < 100 && _SYS_INFO_LOCK_PER != 1; ++p) runPasses(0, 1);
        Assert_IOLOCK();
        ASSERT_EQ(Query_IOLOCK(), 1u) << "the lock permissive never came";
    }
    void saveAndRestart() {
        hk::runTask([] { update_ee(); });
        stopApp();
        startApp();
    }
};

TEST_F(BlockInit, RestartFromAFileSavedWithEveryCommandOn) {
    struct Lag {
        const char* tau;
        float stored;
    };
    const Lag lags[] = {
        {"HP_LIMTER.RAMP_LAG.LAG_TAU", 3.0f},  {"RMT_CAS.RMT_CASC_L.LAG_TAU", 4.0f},
        {"CASC_CTRL.CASC_LAG.LAG_TAU", 5.0f},  {"SPD_SETPT.SPD_TRK_LG.LAG_TAU", 6.0f},
        {"MPU.SPD_MONTOR.LAG_TAU", 7.0f},
    };
    const std::vector<std::string> commands = names('S', 'B');
    ASSERT_EQ(commands.size(), 89u);
    EXPECT_EQ(names('S', 'A').size(), 5u);

    startApp();
    for (const std::string& in : commands) serviceWrite(in, 1);
    // The time constants, far from their defaults, with the control stopped.
    lockIo();
    for (const Lag& l : lags) serviceWrite(l.tau, l.stored);
    UnAssert_IOLOCK();
    std::strcpy(ee_ControlID, "Unit 7 governor");
    saveAndRestart();

    // The stored inputs came back, and the first pass of each group ended
    // them: no command output was ever on.
    for (const std::string& in : commands) {
        const std::string out = in.substr(0, in.rfind(".IN_")) + ".OUT_" + in.substr(in.rfind('_') + 1);
        EXPECT_EQ(boolean(in), 0u) << in;
        EXPECT_EQ(boolean(out), 0u) << out;
    }
    for (const Lag& l : lags) EXPECT_EQ(real(l.tau), l.stored) << l.tau;
    EXPECT_STREQ(ram_ControlID, "Unit 7 governor");
    runPasses(3, 1);
    EXPECT_EQ(text("IFACE_MODE.TALLWIRE.CONTROL_ID"), "Unit 7 governor");

    // Force setpoints: the analog outputs at their live zero, the actuator
    // closed; the fast/slow preference in the middle of its range.
    for (const char* ub : {"_ub10", "_ub11", "_ub12", "_ub41", "_ub42"})
        EXPECT_EQ(real(std::string(ub) + ".FORCE_SETPT.RAMP"), 4.0f) << ub;
    EXPECT_EQ(real("_ub5.FORCE_SETPT.RAMP"), 0.0f);
    EXPECT_EQ(real("SPD_CTRL.FAST_SLOW.A_NAME"), 50.0f);
    // The condition counters start at 0 until the reload after power-up; the
    // data-log file counter at 0 until its first print (so the first print
    // gives file 1).
    for (const char* c : {"START_TURB", "SD_CNT", "SDWLOAD1_CNT", "SDWLOAD2_CNT", "OSPD_CNT"})
        EXPECT_EQ(real(std::string("COND_MON.") + c + ".COUNTER"), 0.0f) << c;
    EXPECT_EQ(real("DATALOG.COUNTER.COUNTER"), 0.0f);

    // The speed tracking lag runs with the stored time constant of 6 s: a
    // step of the shaft speed is about two thirds through after 6 s.
    speedsensor::install();
    speedsensor::setShaftSpeed(0, 1000, 60);
    speedsensor::setShaftSpeed(1, 1000, 60);
    runPasses(3, 75);
    EXPECT_EQ(real("IFACE_IN_SPEED.SPEED.A_NAME"), 1000.0f);
    EXPECT_GT(real("SPD_SETPT.SPD_TRK_LG.LAG_2"), 500.0f);
    EXPECT_LT(real("SPD_SETPT.SPD_TRK_LG.LAG_2"), 700.0f);

    // A command written after the start runs for its time as usual.
    serviceWrite("IFACE_MODE.QT_OI_LOCAL.IN_1", 1);
    runPasses(4, 1);
    EXPECT_EQ(boolean("IFACE_MODE.QT_OI_LOCAL.OUT_1"), 1u);
    serviceWrite("COND_MON.REWRITE_NV_CMD.IN_1", 1);
    runPasses(4, 1);
    EXPECT_EQ(boolean("COND_MON.REWRITE_NV_CMD.OUT_1"), 1u);
    runPasses(4, 8);
    EXPECT_EQ(boolean("COND_MON.REWRITE_NV_CMD.OUT_1"), 0u);  // 1.0 s
}

// The remote cascade limits, sampled over tunables of the operator
// interface's module, and the speed step, sampled over its module's step
// amount, start from the stored tunables: restarted with no block logic
// running, they show what block initialisation gave them.
TEST_F(BlockInit, RemoteCascadeLimitsStartFromTheirStoredTunables) {
    startApp();
    lockIo();
    serviceWrite("IFACE_IN_CASC.QT_RMT_SP_MIN.A_NAME", -50.0);
    serviceWrite("IFACE_IN_CASC.QT_RMT_SP_MAX.A_NAME", 70.0);
    serviceWrite("IFACE_IN_SPEED.QT_STEP_AMOUNT.I_NAME", 7.0);
    UnAssert_IOLOCK();
    for (int g = 0; g < kNumRateGroups; ++g) useSlices(g, {});
    saveAndRestart();
    ASSERT_EQ(real("IFACE_IN_CASC.QT_RMT_SP_MIN.A_NAME"), -50.0f);
    EXPECT_EQ(real("RMT_CAS.RMT_CAS_MN.SAMP_TUNE"), -50.0f);
    EXPECT_EQ(real("RMT_CAS.RMT_CAS_MX.SAMP_TUNE"), 70.0f);
    EXPECT_EQ(integer("IFACE_IN_SPEED.SP_STEP.SAMP_ITUNE"), 7);
}

// Stops soon after a start, on a fresh root and on the next start: the
// tunables the program sets itself at its first passes are no change the
// stop loses, a value entered is. A stop that comes while a save asked for
// runs waits for it: the file holds the value, no temporary file is left,
// and nothing is said to be lost.
TEST_F(BlockInit, AStopSoonAfterTheStartOrDuringASaveLosesNothingUntold) {
    for (int run = 1; run <= 2; ++run) {
        startApp();
        runPasses(4, 12);  // about 2 s
        ASSERT_NE(DATA_LOG_M_MEMORY_START, nullptr);
        stopApp();
        EXPECT_EQ(ee_unsaved_changes(), 0) << "stop " << run;
        EXPECT_EQ(DATA_LOG_M_MEMORY_START, nullptr) << "the stop gives the data log's block back";
        EXPECT_EQ(ApplicationRunning, 0u) << "a stopped application is no longer running";
    }
    startApp();
    runPasses(4, 12);
    serviceWrite("CNFG_START.CONFIG_B.IN_1", 1);
    stopApp();
    EXPECT_EQ(ee_unsaved_changes(), 1) << "a value entered is a change";

    startApp();
    runPasses(4, 40);  // the start's own save has run
    ASSERT_EQ(boolean("CNFG_START.CONFIG_B.IN_1"), 0u);
    serviceWrite("CNFG_START.CONFIG_B.IN_1", 1);
    _TWCommandUpdateEE = 1;
    ASSERT_TRUE(hk::runUntil([] { return _SYS_INFO_EE_BUSY == 1; }, 200));
    stopApp();
    EXPECT_FALSE(std::filesystem::exists(root_ + "/9902-4411_e.ee.tmp"));
    EXPECT_EQ(ee_unsaved_changes(), 0);
    startApp();
    EXPECT_EQ(boolean("CNFG_START.CONFIG_B.IN_1"), 1u) << "the save ended before the stop";
}

}  // namespace
