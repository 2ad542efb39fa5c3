// The trip and alarm block of the protection logic: a condition, an
// override (0 = armed), a delay and the common reset give B_ALARM, with
// LIGHT and HORN equal to it. The shutdowns use it without delay, the alarms
// with one; the hidden timer lives in the module's block object.
#pragma once

#include <cstdint>

namespace bk {

struct TripOut {
    uint32_t& b_alarm;
    uint32_t& light;
    uint32_t& horn;
};

// One pass. The timer grows by the period T in each pass that waits for the
// delay; the block latches in the first pass in which it has reached it.
inline void TRIP(float& timer, const TripOut& o, uint32_t cond, uint32_t ovrd, float delay, uint32_t reset, float T) {
    if (ovrd == 1 || cond == 0) {
        timer = 0.0f;
        if (reset != 0) {
            o.b_alarm = 0;
            o.light = 0;
            o.horn = 0;
        }
    } else if (o.b_alarm == 0) {
        if (timer >= delay) {
            o.b_alarm = 1;
            o.light = 1;
            o.horn = 1;
        } else {
            timer += T;
        }
    }
}

}  // namespace bk
