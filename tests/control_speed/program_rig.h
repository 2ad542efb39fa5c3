// Runs the program's own slice table through real passes of the rate-group
// runtime in simulated time, started the way the loader starts it, and
// drives it only through its inputs: the board and turbine models, the
// front-panel keys and contacts, and tunables written as the service tool
// writes them.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "host/board.h"
#include "host/hostkernel.h"
#include "host/speed_sensor_model.h"
#include "host/turbine_model.h"
#include "runtime/tune_side_effects.h"
#include "tests/support/app_harness.h"
#include "tests/support/ref_rig.h"

namespace sc_test {

constexpr int P10 = 0, P20 = 1, P40 = 2, P80 = 3, P160 = 4;

class ProgramRig : public ref_test::RefRig {
protected:
    // A tunable written by the service tool, with the program's reaction.
    void tune(const std::string& name, double value) { serviceWrite(name, value); }
    // A front-panel key (word, bit of the keypad registers).
    void key(int word, int bit, bool pressed) {
        hk::runTask([=] { board::setKey(word, bit, pressed); });
    }
    // A key pressed for one 80 ms pass and released.
    void tap(int word, int bit) {
        key(word, bit, true);
        runPasses(P80, 2);
        key(word, bit, false);
        runPasses(P80, 2);
    }
    static constexpr int kTripKey[2] = {0, 7};
    static constexpr int kResetKey[2] = {2, 4};
};

}  // namespace sc_test
