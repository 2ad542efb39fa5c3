// The speed reference road through a chosen set of slices (the sequence
// chart, the ramp and its rates, the start, stop, remote and idle/rated
// logic) in simulated time, with a plant whose speed follows the reference
// (or holds where a test puts it). Kept only for what no input of the
// program reaches (the held speed's reset and speeds no shaft turns at);
// ref_rig.h runs the whole program from its inputs alone.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/support/app_harness.h"

#include "tests/support/ref_rig.h"

namespace ref_test {

class SliceRig : public RefBase {
protected:
    void SetUp() override;
    // Starts the application with the configuration above; `idle_rated`
    // configures the idle/rated function, `auto_start` an automatic start.
    void start(bool idle_rated, bool auto_start);

    // A command cell at 1 for one pass of its group, then 0.
    void pulse(const std::string& cell, int group);
    // The start command of the service tool, given for one pass.
    void startCommand() { pulse("START.START.IN_3", R80); }
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
