// Pieces shared by the milliamp output stages (controller and remote node):
// the working current limits, re-derived only when the configured minimum or
// maximum changes.
#pragma once

// Both stored settings and both limits start at 0.
struct MaOutputClamps {
    float last_min, last_max;
    float lo, hi;

    // A minimum above the maximum gives no output at all; otherwise the
    // limits are the configured pair, kept within 0 .. top.
    void update(float min_cur, float max_cur, float top) {
        if (last_min != min_cur || last_max != max_cur) {
            last_min = min_cur;
            last_max = max_cur;
            if (last_min > last_max) {
                lo = 0.0f;
                hi = 0.0f;
            } else {
                lo = last_min > 0.0f ? last_min : 0.0f;
                hi = last_max < top ? last_max : top;
            }
        }
    }
};
