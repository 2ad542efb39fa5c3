// Pieces shared by the milliamp input stages (controller and remote node):
// the 4/20 mA line kept for its last settings, and the delayed band latch.
#pragma once

#include <cstdint>

// The line mapping 4 mA to lo and 20 mA to hi, recomputed only when the
// settings change; both stored settings start at 0.
struct MaLine {
    float last_lo, last_hi;
    float slope, intercept;

    void update(float lo, float hi) {
        if (last_lo != lo || last_hi != hi) {
            last_lo = lo;
            last_hi = hi;
            slope = (last_hi - last_lo) * 0.0625f;
            intercept = last_hi - 20.0f * slope;
        }
    }
    float map(float mA) const { return mA * slope + intercept; }
};

// One band check with its delay: the timer compares before it grows, so a
// delay of 0 latches on the first pass that sees the condition. A latch
// clears only on the reset once its condition is gone.
inline void ma_band_check(bool condition, float& timer, uint32_t& latch, float delay_ms, uint32_t reset) {
    constexpr float kTimerStepMs = 20.0f;
    if (condition) {
        if (timer >= delay_ms) latch = 1;
        else timer += kTimerStepMs;
    } else {
        timer = 0.0f;
        if (reset != 0) latch = 0;
    }
}
