// Runs the remote-node and network slices (20, 80 and 160 ms) alone through
// real passes of the rate-group runtime, with the chassis task the 10 ms
// group starts, the host's in-memory network interface and the virtual CAN
// bus: for the few cases that need a state no input of the whole program
// reaches (each says why). Everything else runs on the whole program
// (program_rig.h, rtd_channels_test.cpp).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/interface/CNFG_ENET1.cells.h"
#include "app/discrete/discrete_slices.h"
#include "app/interface/interface_slices.h"
#include "app/remote_io/remote_io.h"
#include "host/board.h"
#include "host/canbus.h"
#include "host/hostnet.h"
#include "host/vkboard.h"
#include "tests/support/app_harness.h"
#include "tests/support/tune_defaults.h"

namespace rio_test {

constexpr int R10 = 0, R20 = 1, R40 = 2, R80 = 3, R160 = 4;

inline bool g_started = false;
// The tunables at their defaults, as the first thing of the first 10 ms frame.
inline void startUpInFirstFrame() {
    if (g_started) return;
    g_started = true;
    tc_test::loadTuneDefaults();
}

// The board, the network interface and the CAN bus at rest, and the
// start-up not yet run.
inline void platformAtRest() {
    board::reset();
    board::resetPlatform();
    hostnet::reset();
    hostcan::reset();
    g_started = false;
}

class RemoteRig : public tc_test::AppHarness {
protected:
    void SetUp() override {
        AppHarness::SetUp();
        platformAtRest();
        useSlices(R10, {startUpInFirstFrame});
        useSlices(R20, {_R20_TASK_19});
        useSlices(R80, {_R80_TASK_12, _R80_TASK_18});
        useSlices(R160, {_R160_TASK_28, _R160_TASK_29, _R160_TASK_34});
    }
    void TearDown() override {
        AppHarness::TearDown();
        hostcan::reset();
    }
    // A boolean cell switched on for one 80 ms frame or held.
    void set(const std::string& name, double v) { setCell(name, v); }
};

}  // namespace rio_test
