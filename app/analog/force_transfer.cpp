// Force transfer of the output channel templates.
#include "app/analog/force_transfer.h"

#include <cmath>

float force_transfer(ForceTransferState& s, uint32_t& frc, bool forcing, float forced, float computed, float step) {
    if (forcing) {
        frc = 1;
        s.tracked = forced;
        s.direction = 0;
        return s.tracked;
    }
    if (frc == 1) {
        const float difference = s.tracked - computed;
        const uint32_t sign = difference > 0.0f ? 1u : 2u;
        if (s.direction == 0) s.direction = sign;
        if (std::fabs(step) >= std::fabs(difference)) {
            frc = 0;
            s.tracked = computed;
        } else if (sign != s.direction) {
            s.tracked = computed;
        } else {
            s.tracked += difference > 0.0f ? -std::fabs(step) : std::fabs(step);
        }
    }
    if (frc == 0) s.tracked = computed;
    return s.tracked;
}
