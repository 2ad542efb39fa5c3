// The configuration window and sample pulses in the running program: the
// power-up window, the I/O lock with its 2.0 s hold, the pulses, and the
// channels taking their entered configuration only inside the window.
#include <string>
#include <vector>

#include "tests/config/config_rig.h"

namespace cfg_test {
namespace {

class ConfigWindow : public ConfigRig {
protected:
    // The window in each of the next n 160 ms passes.
    std::vector<uint32_t> window(int n, const char* cell = "MASTER.IO_LOCK_OR_PWR.B_NAME") {
        std::vector<uint32_t> w;
        for (int k = 0; k < n; ++k) {
            runPasses(R160, 1);
            w.push_back(boolean(cell));
        }
        return w;
    }
    // The turbine turns above the low-speed check (lowered to 10 rpm), so
    // calibration is not permitted and a lock does not enter configure
    // mode, which would hold the lock.
    void aboveTheCalibrationSpeed() {
        turn(500.0);
        setCell("CNFG_SPEED.SPD1_LOW_SP.IN", 10.0);
        setCell("CNFG_SPEED.SPD2_LOW_SP.IN", 10.0);
        runPasses(R160, 2);
        ASSERT_EQ(boolean("CALMODE.CALPERM.B_NAME"), 0u);
    }
    static int ones(const std::vector<uint32_t>& w) {
        int n = 0;
        for (uint32_t v : w) n += v != 0;
        return n;
    }
};

TEST_F(ConfigWindow, OpenForTheFirstTwoSecondsAfterStart) {
    start();
    EXPECT_EQ(boolean("MASTER.IO_LOCK_OR_PWR.B_NAME"), 1u);
    EXPECT_EQ(integer("MASTER.PWR_UP_RST_ONE_SHOT.R_TIME"), 1);
    const std::vector<uint32_t> w = window(20);
    EXPECT_EQ(integer("MASTER.PWR_UP_RST_ONE_SHOT.R_TIME"), 0);
    // The first pass ran inside startApp: 13 passes of 0.16 s in all.
    EXPECT_EQ(ones(w) + 1, 13);
    for (size_t k = 0; k + 1 < w.size(); ++k) EXPECT_GE(w[k], w[k + 1]) << "pass " << k;
    EXPECT_EQ(boolean("MASTER.PWR_UP_RST_ONE_SHOT.ONE_SHOT"), 0u);
}

TEST_F(ConfigWindow, LockOpensAtOnceAndUnlockHoldsTwoSeconds) {
    startPastPowerUp();
    aboveTheCalibrationSpeed();
    lock();
    runPasses(R160, 1);
    EXPECT_EQ(boolean("MASTER.IO_LOCK.B_NAME"), 1u);
    EXPECT_EQ(boolean("MASTER.IO_LOCK_OR_PWR.B_NAME"), 1u);
    runPasses(R160, 3);
    EXPECT_EQ(integer("MASTER.DLY_OFFDSP.R_TIME"), 0);
    unlock();
    runPasses(R160, 1);
    EXPECT_EQ(integer("MASTER.DLY_OFFDSP.R_TIME"), 1);
    const std::vector<uint32_t> w = window(15);
    EXPECT_EQ(ones(w) + 1, 13);
    EXPECT_EQ(w.back(), 0u);
    EXPECT_EQ(boolean("MASTER.IO_LOCK.B_NAME"), 0u);
}

// The lock is taken at standstill (its permissive), so it enters configure
// mode; leaving that with the exit command and releasing the lock closes
// the window.
TEST_F(ConfigWindow, PulsesOnEverySecondPassOnlyInsideTheWindow) {
    startPastPowerUp();
    EXPECT_EQ(ones(window(6, "CALMODE.CFG_SAMPL_OK.B_NAME")), 0);
    EXPECT_EQ(ones(window(6, "CNFG_CAN2.SAMPL_LIVE.AND")), 0);
    lock();
    runPasses(R160, 1);
    const std::vector<uint32_t> w = window(6, "CALMODE.CFG_SAMPL_OK.B_NAME");
    EXPECT_EQ(ones(w), 3);
    for (size_t k = 0; k + 1 < w.size(); ++k) EXPECT_NE(w[k], w[k + 1]) << "pass " << k;
    EXPECT_EQ(ones(window(6, "CNFG_CAN2.SAMPL_LIVE.AND")), 3);
    unlock();
    runPasses(R160, 14);
    // Live configuration opens the remote nodes' gate without the lock.
    setCell("CNFG_CAN2.CNFG_LIVE.IN", 1);
    EXPECT_EQ(ones(window(6, "CNFG_CAN2.SAMPL_LIVE.AND")), 3);
    EXPECT_EQ(ones(window(6, "CALMODE.CFG_SAMPL_OK.B_NAME")), 0);
}

TEST_F(ConfigWindow, AServiceLockWhileShutDownEntersConfigureModeWhichOnlyTheExitCommandLeaves) {
    startPastPowerUp();
    ASSERT_EQ(boolean("CALMODE.CALPERM.B_NAME"), 1u) << "shut down at standstill: calibration permitted";
    lock();
    runPasses(R160, 1);
    EXPECT_EQ(boolean("MASTER.LOCK_IO.LATCH"), 1u);
    // Released without leaving configure mode: the program takes the lock
    // again once its command follows configure mode.
    UnAssert_IOLOCK();
    runPasses(R160, 20);
    EXPECT_EQ(boolean("MASTER.IOLOCK_CMD.B_NAME"), 1u);
    EXPECT_EQ(Query_IOLOCK(), 1u);
    EXPECT_EQ(boolean("MASTER.LOCK_IO.LATCH"), 1u);
    EXPECT_EQ(boolean("MASTER.EE_UPDATE.B_NAME"), 0u);
    // The exit command leaves it and asks for the tunables to be saved.
    serviceWrite("MASTER.COMMANDS.IN_3", 1);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("MASTER.LOCK_IO.LATCH"), 0u);
    EXPECT_EQ(boolean("MASTER.EE_UPDATE.B_NAME"), 1u);
    UnAssert_IOLOCK();
    runPasses(R160, 60);
    EXPECT_EQ(boolean("MASTER.IOLOCK_CMD.B_NAME"), 0u);
    EXPECT_EQ(Query_IOLOCK(), 0u);
    EXPECT_EQ(boolean("MASTER.LOCK_IO.LATCH"), 0u);
}

// An entered setting and the sampled value the program uses.
struct Taken {
    const char* entered;
    const char* sampled;
    int value, expect;
};

TEST_F(ConfigWindow, EnteredConfigurationIsTakenOnlyInsideTheWindow) {
    const Taken cases[] = {
        {"_ub6.FUNCT.IN", "_ub6.FUN_NUM.SAMP_ITUNE", 3, 3},           // controller analog input
        {"_ub7.FUNCT.IN", "_ub7.FUN_NUM.SAMP_ITUNE", 25, 20},         // clamped to 1 .. 20
        {"_ub35.FUNCT.IN", "_ub35.FUN_NUM.SAMP_ITUNE", 9, 9},         // remote analog input
        {"_ub17.FUNCT.IN", "_ub17.FUNCT_INT.I_NAME", 11, 11},         // controller discrete input
        {"_ub59.FUNCT.IN", "_ub59.FUNCT_INT.I_NAME", 19, 19},         // remote discrete input
        {"_ub21.RLY_FUNCT.IN", "_ub21.FUNCT_INT.I_NAME", 9, 9},       // relay 2
        {"_ub10.FUNCT.IN", "_ub10.FUNCT_INT.I_NAME", 8, 8},           // analog output 1
    };
    startPastPowerUp();
    std::vector<int> before;
    for (const Taken& c : cases) {
        before.push_back(integer(c.sampled));
        setCell(c.entered, c.value);
    }
    settle();
    for (size_t k = 0; k < std::size(cases); ++k) EXPECT_EQ(integer(cases[k].sampled), before[k]) << cases[k].entered;
    lock();
    settle();
    for (const Taken& c : cases) EXPECT_EQ(integer(c.sampled), c.expect) << c.entered;
}

TEST_F(ConfigWindow, EntriesMadeInThePowerUpWindowAreTaken) {
    start();
    setCell("_ub8.FUNCT.IN", 13);
    setCell("_ub8.RANGE_HI.IN", 250.0);
    settle();
    EXPECT_EQ(integer("_ub8.FUN_NUM.SAMP_ITUNE"), 13);
    EXPECT_EQ(real("AI_MUX.SIG_MON_1_MAX.A_NAME"), 250.0f);
    EXPECT_EQ(boolean("AI_MUX.SIG_MON_1_USED.B_NAME"), 1u);
}

}  // namespace
}  // namespace cfg_test
