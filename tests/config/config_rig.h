// Runs the running program's own slice table (app/group_slices.cpp) through
// real passes of the rate-group runtime in simulated time, with the I/O lock
// taken and released through the platform's entry points.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "app/analog/AI_CHANNEL.cells.h"
#include "app/analog/CNFG_ACT.cells.h"
#include "app/analog/CNFG_AO.cells.h"
#include "app/control/CNFG_SPEED.cells.h"
#include "host/board.h"
#include "host/speed_sensor_model.h"
#include "platform/vkiobus.h"
#include "runtime/rgtask.h"
#include "runtime/sysinfo.h"
#include "runtime/tune_side_effects.h"
#include "tests/support/app_harness.h"
#include "tests/support/tune_defaults.h"

namespace cfg_test {

constexpr int R10 = 0, R20 = 1, R80 = 3, R160 = 4;

// The program's slice table as it stands before any fixture replaces it.
inline const std::array<std::vector<SliceFn>, kNumRateGroups>& programSlices() { return tc_test::programSliceTable(); }

// The start-up the loader does before the groups run: the tunables at their
// defaults (as the tunables file gives them) and the modules' block
// initialisation steps, as the first thing of the first 10 ms frame.
inline bool g_started = false;
inline void startUpInFirstFrame() {
    if (g_started) return;
    g_started = true;
    tc_test::loadTuneDefaults();
    AI_CHANNEL_init_blks();
    CNFG_AO_init_blks();
    CNFG_ACT_init_blks();
    CNFG_SPEED_init_blks();
}

class ConfigRig : public tc_test::AppHarness {
protected:
    void SetUp() override {
        const auto& program = programSlices();
        AppHarness::SetUp();
        // Its settings go in while the control runs, in larger steps than the
        // service tool accepts then: not yet entered in the tool's steps or in
        // configure mode.
        checkSteps(false);
        board::reset();
        g_started = false;
        UnAssert_IOLOCK();
        std::vector<SliceFn> r10 = {startUpInFirstFrame};
        r10.insert(r10.end(), program[R10].begin(), program[R10].end());
        useSlices(R10, r10);
        for (int g = 1; g < kNumRateGroups; ++g) useSlices(g, program[g]);
    }
    void TearDown() override {
        AppHarness::TearDown();
        UnAssert_IOLOCK();
    }

    // The turbine turning at `rpm` on both speed sensors (60-tooth wheels).
    void turn(double rpm) {
        speedsensor::install();
        speedsensor::setShaftSpeed(0, rpm, 60);
        speedsensor::setShaftSpeed(1, rpm, 60);
    }
    void start() {
        startApp();
        ASSERT_TRUE(g_started);
    }
    // Starts and waits until the power-up window has closed.
    void startPastPowerUp() {
        start();
        runPasses(R160, 15);
        ASSERT_EQ(boolean("MASTER.IO_LOCK_OR_PWR.B_NAME"), 0u);
    }
    // The I/O lock taken from the service side. While the unit is shut down
    // (the calibration permissive) it enters configure mode, which takes the
    // lock again through the supervision task until configure mode is left.
    // The platform refuses the lock until the master clock pass has
    // published that permissive (a few passes after the start).
    void lock() {
        for (int p = 0; p < 100 && _SYS_INFO_LOCK_PER != 1; ++p) runPasses(R10, 1);
        Assert_IOLOCK();
        ASSERT_EQ(Query_IOLOCK(), 1u) << "the lock permissive never came";
    }
    // Leaves configure mode as the service tool does, with the exit command,
    // then releases the lock.
    void unlock() {
        serviceWrite("MASTER.COMMANDS.IN_3", 1);
        for (int p = 0; p < 8 && boolean("MASTER.LOCK_IO.LATCH") != 0; ++p) pass160();
        ASSERT_EQ(boolean("MASTER.LOCK_IO.LATCH"), 0u) << "configure mode not left";
        UnAssert_IOLOCK();
    }
    // One 160 ms pass; rigs that feed the bus each pass override it.
    virtual void pass160() { runPasses(R160, 1); }
    // Enough 160 ms passes for a change entered while the window is open to
    // be sampled, routed and checked.
    void settle() { runPasses(R160, 5); }

    // Sets each (cell, value) pair.
    void set(std::initializer_list<std::pair<const char*, double>> cells) {
        for (const auto& [name, value] : cells) setCell(name, value);
    }
};

}  // namespace cfg_test
