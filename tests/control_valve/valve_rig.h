// The valve limiter, critical band, control messages, overspeed test,
// speed-sensor override and site identification through real passes of the
// rate-group runtime in simulated time. Each test names the slices it runs;
// the first 10 ms frame loads the tunable defaults and initialises the
// charts, as start-up does.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/app_harness.h"

namespace valve_test {

constexpr int R10 = 0, R20 = 1, R40 = 2, R80 = 3, R160 = 4;

class ValveRig : public tc_test::AppHarness {
protected:
    void SetUp() override;
    // The slices of the groups (the start-up step goes first in R10).
    void run(std::vector<SliceFn> r10, std::vector<SliceFn> r40, std::vector<SliceFn> r80,
             std::vector<SliceFn> r160);
    // A cell at `value` for one pass of `group`, then back to 0.
    void pulse(const std::string& cell, int group);
    // Seconds of 160 ms passes.
    void seconds(double s) { runPasses(R160, static_cast<uint32_t>(s / 0.16 + 0.5)); }
};

}  // namespace valve_test
