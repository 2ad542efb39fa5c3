// The valve limiter, critical band, control messages, overspeed test,
// speed-sensor override and site identification through real passes of the
// rate-group runtime in simulated time. Each test names the slices it runs;
// the first 10 ms frame loads the tunable defaults and initialises the
// charts, as start-up does.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
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

// The program's own slice table, driven only through its inputs: the
// contacts and the speed sensors of the board, the turbine model where a
// case closes the loop, and settings and commands as the service tool
// writes them.
class ProgramRig : public tc_test::AppHarness {
protected:
    // Controller contacts (board inputs 12 .. 19 are BI01 .. BI08) with the
    // functions they carry by default.
    static constexpr int kTripContact = 14, kStartContact = 15, kResetContact = 16;

    void SetUp() override;
    void TearDown() override;
    using Settings = std::initializer_list<std::pair<const char*, double>>;
    // Starts the program, enters a manual start's speeds and rates and then
    // `extra` while it powers up (the window in which the configuration
    // lists take them), and waits until the window has closed: the unit
    // comes up tripped, its trip contact still open.
    void powerUp(Settings extra = {});
    // The settings powerUp() enters right after the start.
    void enterSettings(Settings extra = {});
    // powerUp(), then clearTrips().
    void powerUpReady(Settings extra = {});
    // The trip contact closed and the trips reset: ready to start.
    void clearTrips();
    void contact(int input, bool closed);
    // The reset contact closed for three 160 ms passes.
    void resetTrips();
    // A service-tool command input at 1 for one pass of `group`, then 0.
    void command(const std::string& cell, int group);
    // The service tool's start command.
    void startCommand() { command("START.START.IN_3", R80); }
    // Both speed sensors at `rpm` (60-tooth wheels), the turbine model off.
    void sensorsAt(double rpm);
    // 80 ms passes until `done`, at most `max`; false when it never came.
    bool runUntil(const std::function<bool()>& done, int max);
    void seconds(double s) { runPasses(R160, static_cast<uint32_t>(s / 0.16 + 0.5)); }
    bool tripped() { return boolean("SHUTDOWNS.ANY_SD.B_NAME") != 0; }
};

}  // namespace valve_test
