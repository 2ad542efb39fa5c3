// Runs the protection slices (trips and the shutdown list at 10 ms, alarms
// and the alarm list at 40 ms, settings, texts and LEDs at 160 ms) through
// real passes of the rate-group runtime in simulated time. Conditions of
// modules outside the protection logic are set on their cells.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/control/ORVEX12_IO.cells.h"
#include "app/control/control_slices.h"
#include "app/discrete/discrete_slices.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "app/protection/protection_slices.h"
#include "platform/CLOCK.h"
#include "tests/support/app_harness.h"
#include "tests/support/tune_defaults.h"

namespace pr_test {

constexpr int R10 = 0, R20 = 1, R40 = 2, R80 = 3, R160 = 4;

inline bool g_started = false;
inline void startUpInFirstFrame() {
    if (g_started) return;
    g_started = true;
    tc_test::loadTuneDefaults();
}
// The clock block and the "External Trip 1" latch of the second slice,
// without the contact routing (the tests set the contacts' cells).
inline void clockAndTrip1() {
    r10::ORVEX12_IO_clock();
    r10::SHUTDOWNS_external_trip_1();
}

class ProtectionRig : public tc_test::AppHarness {
protected:
    void SetUp() override {
        AppHarness::SetUp();
        g_started = false;
        useSlices(R10, {startUpInFirstFrame, _R10_TASK_1, clockAndTrip1, _R10_TASK_3, _R10_TASK_4, _R10_TASK_8,
                        _R10_TASK_9, _R10_TASK_10, _R10_TASK_11});
        useSlices(R40, {_R40_TASK_1, _R40_TASK_2, _R40_TASK_3});
        useSlices(R160, {_R160_TASK_11, _R160_TASK_48});
        set_zone(0.0f);
        dst_mode = 0;
        dst_is_active = 0;
    }

    // Starts with the external trip contacts 2 .. 5 closed and runs past
    // the power-up windows.
    void start(bool pastPowerUp = true) {
        startApp();
        ASSERT_TRUE(g_started);
        for (int k = 15; k <= 18; ++k) setCell("BI_MUX.CONT_MUX.OUT_" + std::to_string(k), 1);
        if (pastPowerUp) runPasses(R10, 150);
    }
    // Both resets: the trip blocks' (80 ms) and the list's (20 ms), held for
    // a few passes and released.
    void resetShutdowns() {
        setCell("RESET.RESET.B_NAME", 1);
        setCell("SHUTDOWNS.DLY_SDREAC.B_ACTION", 1);
        runPasses(R80, 2);
        setCell("RESET.RESET.B_NAME", 0);
        setCell("SHUTDOWNS.DLY_SDREAC.B_ACTION", 0);
        runPasses(R80, 1);
    }
    // Trip 4's condition through its inputs: speed probe 1 failed (its
    // minimum, a 160 ms setting, above the speed) and probe 2 not used; the
    // unit not shut down, through a unit delay, is left to the caller.
    void armProbeFailure() {
        setCell("MPU_OVRD.MIN_SPD_1.A_NAME", 1e6);
        setCell("CONF_VAL_2.NO_MPU2.NOT", 1);
        setCell("IFACE_IN_START.NOT_SD.B_NAME", 0);
        runPasses(R160, 1);
    }
    void probesFailed(bool failed) {
        if (failed) armProbeFailure();
        setCell("MPU_OVRD.MIN_SPD_1.A_NAME", failed ? 1e6 : 0.0);
        setCell("IFACE_IN_START.NOT_SD.B_NAME", failed ? 1 : 0);
    }
    // A trip condition by its cell, or trip 4's by kProbesFailed.
    // The underspeed shutdown request is a 160 ms cell: the 10 ms trips
    // see it after its next copy into their group.
    void setCondition(const std::string& cell, bool on) {
        if (cell == kProbesFailed) {
            probesFailed(on);
        } else {
            setCell(cell, on ? 1 : 0);
            if (cell == kUnderspeed) runPasses(R160, 2);
        }
    }
    static constexpr const char* kUnderspeed = "SPDC.UDRSPD_SD.AND";
    // Set at the end of a 160 ms pass, the underspeed request reaches the
    // 10 ms trips so that trip 26 latches in the 16th 10 ms pass after.
    static constexpr int kUnderspeedLatchPass = 16;
    void raiseUnderspeedAtEndOf160() {
        runPasses(R160, 1);
        setCell(kUnderspeed, 1);
    }
    static constexpr const char* kProbesFailed = "all speed probes failed";
    std::string sd(int n, const char* field) {
        char b[40];
        std::snprintf(b, sizeof b, "SHUTDOWNS.SD_%02d.%s", n, field);
        return b;
    }
    std::string any(const char* field, int n) { return std::string("SHUTDOWNS.ANY.") + field + std::to_string(n); }
};

}  // namespace pr_test
