// The speed reference crossing the first critical band: at no less than the
// critical rate, and never coming to rest inside it.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <utility>

#include "tests/support/ref_rig.h"

using namespace ref_test;

namespace {

constexpr double kLow = 1500.0, kHigh = 2000.0;

// The band, its use and its rate (400 rpm/s) entered from the service tool
// while the controller powers up, with the idle/rated start.
class CriticalCrossing : public RefRig {
protected:
    void startWithBand(bool used) {
        start(true, true,
              {{"CNFG_SETPT.QT_CRIT_SPD_1_MIN.IN", kLow},
               {"CNFG_SETPT.QT_CRIT_SPD_1_MAX.IN", kHigh},
               {"CNFG_SETPT.CONFIG_B.IN_1", used ? 1.0 : 0.0},
               {"CNFG_SETPT.QT_CRIT_SPD_RATE.IN", 400.0}});
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
    startWithBand(true);
    startCommand();
    ASSERT_TRUE(runUntil([&] { return step("A02_STEP"); }, 500));
    pulse("IFACE_IN_START.IR_EN.IN", R160);
    const Crossing c = crossToRated([&] { return ref(); }, [&] { runPasses(R40, 1); });
    EXPECT_NEAR(c.slowest, 400.0 * 0.04, 1e-2);
    EXPECT_LE(c.seconds, (kHigh - kLow) / 400.0 + 0.12);
    EXPECT_EQ(boolean("CRIT_SPD.CRIT_BAND.OR"), 0u);
    ASSERT_TRUE(runUntil([&] { return step("A08_STEP"); }, 2000));
    EXPECT_FLOAT_EQ(ref(), static_cast<float>(kRated));
}

TEST_F(CriticalCrossing, WithoutTheBandTheReferenceCrossesAtTheStartRate) {
    startWithBand(false);
    startCommand();
    ASSERT_TRUE(runUntil([&] { return step("A02_STEP"); }, 500));
    pulse("IFACE_IN_START.IR_EN.IN", R160);
    const Crossing c = crossToRated([&] { return ref(); }, [&] { runPasses(R40, 1); });
    EXPECT_NEAR(c.slowest, kRateMin * 0.04, 1e-2);
    EXPECT_GT(c.seconds, (kHigh - kLow) / kRateMin - 0.2);
}
