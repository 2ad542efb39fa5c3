// The operator interface through real passes in simulated time.
// IfaceProgram runs the whole program (its own slice table) driven only
// through its inputs: settings and link writes as the service side makes
// them, keys and contacts on the board model, the turbine model behind the
// speed sensors. IfaceRig runs only the interface's slices, with the
// tunables at their defaults from the first frame on; it is kept for the
// cases that no input of the program reaches.
#pragma once

#include "app/control/unit_delays_r80.h"
#include <string>

#include "app/interface/interface_slices.h"
#include "app/control/control_slices.h"
#include "app/discrete/discrete_slices.h"
#include "host/board.h"
#include "host/hostkernel.h"
#include "runtime/catalogue_tables.h"
#include "runtime/dbug.h"
#include "tests/support/app_harness.h"
#include "tests/support/ref_rig.h"

namespace iface_test {

inline bool g_defaultsLoaded = false;

class IfaceRig : public tc_test::AppHarness {
protected:
    static constexpr int R10 = 0, R20 = 1, R40 = 2, R80 = 3, R160 = 4;
    static void defaultsInFirstFrame() {
        if (g_defaultsLoaded) return;
        g_defaultsLoaded = true;
        tc_test::loadTunableDefaults();
    }
    // The group's unit delays, stored and committed at its end.
    static void unitDelays80() {
        r80::unit_delays_store();
        r80::unit_delays_commit();
    }
    void SetUp() override {
        AppHarness::SetUp();
        board::reset();  // keys released, E-stop and backlight as at power-up
        g_defaultsLoaded = false;
        useSlices(R10, {defaultsInFirstFrame});
        useSlices(R80, {_R80_TASK_1, _R80_TASK_2, _R80_TASK_19, _R80_TASK_22, unitDelays80});
        useSlices(R160, {_R160_TASK_10, _R160_TASK_40});
    }
    // Passes of `group` until `cell` reads `value`, at most `limit`; 0 when
    // it never does.
    int passesUntil(int group, const std::string& cell, uint32_t value, int limit) {
        for (int k = 1; k <= limit; ++k) {
            runPasses(group, 1);
            if (boolean(cell) == value) return k;
        }
        return 0;
    }
};

// The whole program from its inputs.
class IfaceProgram : public ref_test::RefRig {
protected:
    static constexpr int R10 = 0, R20 = 1, R40 = 2, R80 = 3, R160 = 4;
    void TearDown() override {
        hk::runTask([] { board::releaseAllKeys(); });
        RefRig::TearDown();
    }
    // The range of a real or integer tunable; false for any other cell.
    static bool tuneRange(const std::string& name, double& lo, double& hi) {
        const DbugTables t = app_dbug_tables();
        const DbugVar* v = dbug_find_in(t, name.c_str());
        if (v == nullptr) return false;
        const CellRef ref = dbug_cell_of(t, *v);
        for (uint32_t a = 0; a < t.num_an_tune; ++a) {
            if (t.an_tune[a].cell != ref) continue;
            lo = t.an_tune[a].min;
            hi = t.an_tune[a].max;
            return true;
        }
        for (uint32_t a = 0; a < t.num_int_tune; ++a) {
            if (t.int_tune[a].cell != ref) continue;
            lo = t.int_tune[a].min;
            hi = t.int_tune[a].max;
            return true;
        }
        return false;
    }
    // A setting or a link write, as the service side makes it (a value
    // outside the tunable's range fails the test: the service path refuses it).
    void tune(const std::string& name, double value) { serviceWrite(name, value); }
    // A key of the front panel (word, bit of the keypad registers).
    void key(int word, int bit, bool pressed) {
        hk::runTask([=] { board::setKey(word, bit, pressed); });
    }
    // Passes of `group` until `cell` reads `value`, at most `limit`; 0 when
    // it never does.
    int passesUntil(int group, const std::string& cell, uint32_t value, int limit) {
        for (int k = 1; k <= limit; ++k) {
            runPasses(group, 1);
            if (boolean(cell) == value) return k;
        }
        return 0;
    }
};

}  // namespace iface_test
