// Module IFACE_OUT_VLV at 10 ms: copies of the HP driver's low-signal-select
// state.
#pragma once

#include "runtime/catalogue.h"

#define IFACE_OUT_VLV_CELLS(X) \
    X(LSS_OUT, A_NAME, A, R10, PLAIN, R160) \
    X(ACT_LSS_HI_LIM_I, B_NAME, B, R10, PLAIN, R160) \
    X(ACT_LSS_SEL_1, B_NAME, B, R10, PLAIN, R160, R80)\
    X(ACT_LSS_SEL_2, B_NAME, B, R10, PLAIN, R80, R160) \
    X(ACT_LSS_SEL_3, B_NAME, B, R10, PLAIN, R80, R160) \
    X(VALVE_LMT, A_NAME, A, R80, PLAIN)        \
    X(HP_DMD, A_NAME, A, R10, PLAIN)           \
    X(INVALID_SP, B_NAME, B, R80, PLAIN)       \
    X(ENTRD_RATE, A_NAME, A, R160, PLAIN)
CAT_MODULE(IFACE_OUT_VLV)

namespace r10 {
// The high-limit copy; the two selection copies.
void IFACE_OUT_VLV_high_limit();
void IFACE_OUT_VLV_selections();
}  // namespace r10
namespace r80 {
// The limiter's invalid-setpoint copy (piece of _R80_TASK_20).
void IFACE_OUT_VLV_invalid_setpoint();
}

namespace r160 {
// The entered valve limiter rate shown (piece of _R160_TASK_41).
void IFACE_OUT_VLV_entered_rate();
}  // namespace r160
