// The speed reference crossing the first critical band: at no less than the
// critical rate, and never coming to rest inside it.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <utility>

#include "tests/control_ref/slice_rig.h"

using namespace ref_test;

namespace {

constexpr double kLow = 1500.0, kHigh = 2000.0;

class CriticalCrossing : public SliceRig {
protected:
    // The band's ends and its use as the configuration lists hold them (this
    // rig's 160 ms group copies them on to the band's settings).
    void configureBand(bool used) {
        for (const auto& [name, v] : {std::pair<const char*, double>{"CNFG_SETPT.QT_CRIT_SPD_1_MIN.IN", kLow},
                                      {"CNFG_SETPT.CONFIG_A.LIST_8", kLow},
                                      {"CNFG_SETPT.QT_CRIT_SPD_1_MAX.IN", kHigh},
                                      {"CNFG_SETPT.CONFIG_A.LIST_7", kHigh},
                                      {"CNFG_SETPT.CONFIG_B.IN_1", used ? 1.0 : 0.0},
                                      {"CNFG_SETPT.CONFIG_B.LIST_1", used ? 1.0 : 0.0}})
            setCell(name, v);
    }
};

// From idle to rated: the seconds the reference spends rising inside the
// band and its slowest 40 ms step there after the first.
struct Crossing {
    double seconds = 0.0, slowest = 1e9;
};

Crossing crossToRated(const std::function<float()>& ref, const std::function<void()>& pass) {
    Crossing c;
    float last = ref();
    for (int k = 0; k < 5000; ++k) {
        pass();
        const float r = ref();
        // The band is judged on the held setpoint, one pass old: the first
        // step into the band is still at the old rate.
        if (last > kLow + 5.0 && r <= kHigh && r > last) {
            c.seconds += 0.04;
            if (r < kHigh) c.slowest = std::min(c.slowest, static_cast<double>(r - last));
        }
        last = r;
        if (r >= kRated) break;
    }
    return c;
}

}  // namespace

TEST_F(CriticalCrossing, WithTheBandUsedTheReferenceCrossesAtTheCriticalRate) {
    start(true, true);
    configureBand(true);
    setCell("CNFG_SETPT.QT_CRIT_SPD_RATE.IN", 400.0);
    setCell("CNFG_SETPT.CONFIG_A.LIST_6", 400.0);  // the rate as configured
    runPasses(R160, 2);
    startCommand();
    ASSERT_TRUE(runUntil([&] { return step("A02_STEP"); }, 500));
    pulse("IFACE_IN_START.IR_EN.B_NAME", R160);
    const Crossing c = crossToRated([&] { return ref(); }, [&] { runPasses(R40, 1); });
    EXPECT_NEAR(c.slowest, 400.0 * 0.04, 1e-2);
    EXPECT_LE(c.seconds, (kHigh - kLow) / 400.0 + 0.12);
    EXPECT_EQ(boolean("CRIT_SPD.CRIT_BAND.OR"), 0u);
    ASSERT_TRUE(runUntil([&] { return step("A08_STEP"); }, 2000));
    EXPECT_FLOAT_EQ(ref(), static_cast<float>(kRated));
}

TEST_F(CriticalCrossing, WithoutTheBandTheReferenceCrossesAtTheStartRate) {
    start(true, true);
    configureBand(false);
    setCell("CNFG_SETPT.QT_CRIT_SPD_RATE.IN", 400.0);
    setCell("CNFG_SETPT.CONFIG_A.LIST_6", 400.0);  // the rate as configured
    runPasses(R160, 2);
    startCommand();
    ASSERT_TRUE(runUntil([&] { return step("A02_STEP"); }, 500));
    pulse("IFACE_IN_START.IR_EN.B_NAME", R160);
    const Crossing c = crossToRated([&] { return ref(); }, [&] { runPasses(R40, 1); });
    EXPECT_NEAR(c.slowest, kRateMin * 0.04, 1e-2);
    EXPECT_GT(c.seconds, (kHigh - kLow) / kRateMin - 0.2);
}
