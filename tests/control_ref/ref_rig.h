// The speed reference road through real passes of the rate-group runtime in
// simulated time: the slices of the sequence chart, the ramp and its rates,
// the start, stop, remote and idle/rated logic, with a plant whose speed
// follows the reference (or holds where a test puts it).
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/support/app_harness.h"

namespace ref_test {

constexpr int R10 = 0, R20 = 1, R40 = 2, R80 = 3, R160 = 4;

// The configured speeds and rates of the scenarios.
constexpr double kIdle = 1000.0, kMinGov = 3000.0, kMaxGov = 3800.0, kRated = 3600.0;
constexpr double kRateIdle = 50.0, kRateMin = 100.0;

class RefRig : public tc_test::AppHarness {
protected:
    void SetUp() override;
    // Starts the application with the configuration above; `idle_rated`
    // configures the idle/rated function, `auto_start` an automatic start.
    void start(bool idle_rated, bool auto_start);

    bool step(const std::string& s) { return boolean("SPDC." + s + ".SFC_STEP") != 0; }
    float ref() { return real("IFACE_OUT_SPEED.SPEED_REF.A_NAME"); }
    // A command cell at 1 for one pass of its group, then 0.
    void pulse(const std::string& cell, int group);
    // 80 ms passes until `done`, at most `max`; false when it never came.
    bool runUntil(const std::function<bool()>& done, int max);
    // The reference's change over one second of 40 ms passes.
    double slopeOverOneSecond();
    // From a start command to the speed controller in control (A08).
    void startToInControl();
    // An automatic start to idle, then rated selected: in control at rated.
    void startToRated();

    // The plant: while `follow`, the speed is the reference.
    static void setFollow(bool follow);
    // First thing of the first 10 ms frame: the tunable defaults and the
    // charts' block initialisation (once per start).
    static void startUpInFirstFrame();
};

}  // namespace ref_test
