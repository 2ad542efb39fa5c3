// The protection logic on the whole program: the program's own slice table
// through real passes in simulated time, driven only through its inputs:
// settings and commands written as the service tool writes them, contacts,
// keys and current loops on the board model, the turbine model behind the
// speed sensors, and the I/O lock taken through the platform's entry point.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "host/board.h"
#include "host/hostkernel.h"
#include "host/turbine_model.h"
#include "platform/vkiobus.h"
#include "runtime/sysinfo.h"
#include "tests/support/ref_rig.h"

namespace pr_test {

// The front panel's keys by (word, bit) of the keypad registers.
struct Key {
    int word, bit;
};
constexpr Key kTripKey{0, 7};

class WholeRig : public ref_test::RefRig {
public:
    void tune(const std::string& name, double value) { serviceWrite(name, value); }
    void run10(int n) { runPasses(ref_test::R10, n); }
    void run80(int n) { runPasses(ref_test::R80, n); }
    void run160(int n) { runPasses(ref_test::R160, n); }
    bool on(const std::string& name) { return boolean(name) != 0; }

protected:
    void TearDown() override {
        hk::runTask([] { board::releaseAllKeys(); });
        UnAssert_IOLOCK();
        RefRig::TearDown();
    }
    // Ready to start at standstill (a manual start configured), nothing
    // latched, with `extra` entered from the service tool while the
    // controller powers up.
    void ready(const Settings& extra = {}) {
        start(false, false, extra);
        waitResetOver();
    }
    // The reset over (its pulse and the list's delayed reset): a trip given
    // while it lasts is wiped by it.
    void waitResetOver() {
        ASSERT_TRUE(runUntil(
            [&] { return boolean("RESET.RESET.B_NAME") == 0 && boolean("SHUTDOWNS.DLY_SDREAC.B_ACTION") == 0; }, 100));
        run160(2);
    }

    // A key of the front panel pressed or released.
    void key(Key k, bool pressed) { hk::runTask([k, pressed] { board::setKey(k.word, k.bit, pressed); }); }

    // The I/O lock taken as the service tool takes it; the platform grants
    // it while the unit is shut down, once the master clock pass has
    // published that permissive.
    void lockIo() {
        for (int p = 0; p < 100 && _SYS_INFO_LOCK_PER != 1; ++p) run10(1);
        Assert_IOLOCK();
        ASSERT_EQ(Query_IOLOCK(), 1u) << "the lock permissive never came";
    }
    // Configure mode left with the service tool's exit command, then the
    // lock released.
    void unlockIo() {
        serviceWrite("MASTER.COMMANDS.IN_3", 1);
        for (int p = 0; p < 8 && boolean("MASTER.LOCK_IO.LATCH") != 0; ++p) run160(1);
        ASSERT_EQ(boolean("MASTER.LOCK_IO.LATCH"), 0u) << "configure mode not left";
        UnAssert_IOLOCK();
    }

    // 10 ms passes until the cell reads 1 (or 0 when `set` is false), at
    // most `max`; -1 when never.
    int passesUntil(const std::string& name, int max, bool set = true) {
        for (int k = 0; k <= max; ++k) {
            if (on(name) == set) return k;
            run10(1);
        }
        return -1;
    }
    std::string sd(int n, const char* field) {
        char b[40];
        std::snprintf(b, sizeof b, "SHUTDOWNS.SD_%02d.%s", n, field);
        return b;
    }
    std::string any(const char* field, int n) { return std::string("SHUTDOWNS.ANY.") + field + std::to_string(n); }
    std::string alm(int n) {
        char b[40];
        std::snprintf(b, sizeof b, "ALARMS.ALM_%03d.B_ALARM", n);
        return b;
    }
};

}  // namespace pr_test
