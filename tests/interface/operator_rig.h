// The operator-interface slices of the 80 ms and 160 ms groups through real
// passes, with every tunable at its default from the first 10 ms frame.
#pragma once

#include <gtest/gtest.h>

#include "app/control/unit_delays_r80.h"
#include "app/discrete/discrete_slices.h"
#include "app/interface/interface_slices.h"
#include "runtime/tune_side_effects.h"
#include "tests/support/app_harness.h"

namespace op_test {

constexpr int R10 = 0, R20 = 1, R40 = 2, R80 = 3, R160 = 4;

class OperatorRig : public tc_test::AppHarness {
protected:
    void start() {
        defaultsLoaded() = false;
        useSlices(R10, {loadDefaultsOnce});
        useSlices(R80, {_R80_TASK_1, _R80_TASK_2, _R80_TASK_22, unitDelays80});
        // With the group's unit delays, stored and committed at its end.
        useSlices(R160, {_R160_TASK_10, _R160_TASK_81, _R160_TASK_82});
        startApp();
    }
    // A service write as the server makes it: the cell, then the
    // after-write hook.
    void serviceWrite(const std::string& name, double value) {
        setCell(name, value);
        special_case_tune(cell(name));
    }

private:
    // The group's unit delays, stored and committed at its end.
    static void unitDelays80() {
        r80::unit_delays_store();
        r80::unit_delays_commit();
    }
    static bool& defaultsLoaded() {
        static bool loaded = false;
        return loaded;
    }
    static void loadDefaultsOnce() {
        if (defaultsLoaded()) return;
        defaultsLoaded() = true;
        tc_test::loadTunableDefaults();
    }
};

}  // namespace op_test
