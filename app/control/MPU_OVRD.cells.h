// Module MPU_OVRD: speed-sensor overrides and failure detection. The 10 ms
// group computes the override ORs and the failed flags; the override
// outputs, delays and minimum detection speeds come from the 160 ms group.
#pragma once

#include "runtime/catalogue.h"

#define MPU_OVRD_CELLS(X) \
    X(OVRD1_OR, OR, B, R10, PLAIN, R160, R80)  \
    X(SPD1_FLD, A_COMPARE, B, R10, PLAIN)     \
    X(SPD1_FLD, A_EQUAL, B, R10, PLAIN)       \
    X(INHIB_MIN1, IN_1, B, R10, TUNE(false))  \
    X(INHIB_MIN1, AND, B, R10, PLAIN)         \
    X(SPD1FLD, OR, B, R10, PLAIN)             \
    X(SS1_FLD, B_SW, B, R10, PLAIN, R40, R160)      \
    X(OVRD_MPU2, OR, B, R10, PLAIN, R160)     \
    X(SPD2_FLD, A_COMPARE, B, R10, PLAIN)     \
    X(SPD2_FLD, A_EQUAL, B, R10, PLAIN)       \
    X(INHIB_MIN2, IN_1, B, R10, TUNE(false))  \
    X(INHIB_MIN2, AND, B, R10, PLAIN)         \
    X(SPD2FLD, OR, B, R10, PLAIN)             \
    X(SS2_FLD, B_SW, B, R10, PLAIN)           \
    X(MPU2_SD_L, OR, B, R10, PLAIN)           \
    X(SELFPWRED, B_SW, B, R10, PLAIN)         \
    X(S_PWRACT_O, ZMINUS1_B, B, R10, PLAIN)   \
    X(MPU_COMP, A_COMPARE, B, R10, PLAIN)     \
    X(MPU_COMP, A_EQUAL, B, R10, PLAIN)       \
    X(OR_NOTSTRP, OR, B, R10, PLAIN, R160)    \
    X(NOT_SD_Z, ZMINUS1_B, B, R10, PLAIN)     \
    X(OVRD_MPU_1, B_SW, B, R160, PLAIN, R10)  \
    X(OVRD_MPU_2, B_SW, B, R160, PLAIN, R10)  \
    X(RDWN_DLY, DELAY, B, R160, PLAIN, R10)   \
    X(RDWN_DLY, R_TIME, I, R160, PLAIN)       \
    X(DLY_CTRL1, DELAY, B, R160, PLAIN, R10)  \
    X(DLY_CTRL1, R_TIME, I, R160, PLAIN)      \
    X(DLY_CTRL2, DELAY, B, R160, PLAIN, R10)  \
    X(DLY_CTRL2, R_TIME, I, R160, PLAIN)      \
    X(MIN_SPD_1, A_NAME, A, R160, PLAIN, R10) \
    X(MIN_SPD_2, A_NAME, A, R160, PLAIN, R10)  \
    /* when the failure detections are overridden (160 ms) */ \
    X(MIN_SPD_HYS, IN, A, R160, TUNE(100.0, 0.0, 10000.0)) \
    X(MIN_SPD_HYS, A_NAME, A, R160, PLAIN)    \
    X(MIN_LVL_1, ADD, A, R160, PLAIN, R80)    \
    X(MIN_LVL_2, ADD, A, R160, PLAIN)         \
    X(OVRD_OFF_1, A_COMPARE, B, R160, PLAIN)  \
    X(OVRD_OFF_1, A_EQUAL, B, R160, PLAIN)    \
    X(OVRD_OFF_2, A_COMPARE, B, R160, PLAIN)  \
    X(OVRD_OFF_2, A_EQUAL, B, R160, PLAIN)    \
    X(SPD1LTMIN, NOT, B, R160, PLAIN)         \
    X(SPD2LTMIN, NOT, B, R160, PLAIN)         \
    X(SPD1LT_MIN, DELAY, B, R160, PLAIN)      \
    X(SPD1LT_MIN, R_TIME, I, R160, PLAIN)     \
    X(SPD2LT_MIN, DELAY, B, R160, PLAIN)      \
    X(SPD2LT_MIN, R_TIME, I, R160, PLAIN)     \
    X(OR_ATMIN, OR, B, R160, PLAIN)           \
    X(CSTOPOVRD1, AND, B, R160, PLAIN)        \
    X(CSTOPOVRD2, AND, B, R160, PLAIN)        \
    X(OVRD_OFF_P, AND, B, R160, PLAIN)        \
    X(OVD2_OFF_P, AND, B, R160, PLAIN)        \
    X(OVRD_1, LATCH, B, R160, PLAIN)          \
    X(OVRD_2, LATCH, B, R160, PLAIN)          \
    X(N_TIME_1, NOT, B, R160, PLAIN)          \
    X(EN_OVRD_1, AND, B, R160, PLAIN)         \
    X(EN_OVRD_2, AND, B, R160, PLAIN)         \
    X(USE_TMR, OR, B, R160, PLAIN)            \
    X(BELOWMIN, SUBTRACT, A, R160, PLAIN)     \
    X(A_MIN, A_MIN, A, R160, PLAIN)           \
    X(ROLLDWN, A_COMPARE, B, R160, PLAIN)     \
    X(ROLLDWN, A_EQUAL, B, R160, PLAIN)       \
    X(SPD_GE_MGOV, A_COMPARE, B, R160, PLAIN) \
    X(SPD_GE_MGOV, A_EQUAL, B, R160, PLAIN)   \
    X(GT_MINGOV, LATCH, B, R160, PLAIN)       \
    X(EN_RDWN_OVRD, AND, B, R160, PLAIN)      \
    X(IN_PCT, MULTIPLY, A, R160, PLAIN, R10)  \
    X(NOSD, NOT, B, R160, PLAIN)              \
    X(NSTR_SH, ONE_SHOT, B, R160, PLAIN, R10) \
    X(NSTR_SH, R_TIME, I, R160, PLAIN)        \
    X(MPU2_OVRD, B_SW, B, R160, PLAIN)        \
    X(OVRD_TIME, A_NAME, A, R160, PLAIN)      \
    X(STRT_DLY_1, DELAY, B, R160, PLAIN)      \
    X(STRT_DLY_1, R_TIME, I, R160, PLAIN)     \
    X(B_MPUS_FLD, AND, B, R10, PLAIN)
CAT_MODULE(MPU_OVRD)

// Overrides and failure detection of sensors 1 and 2 (pieces of _R10_TASK_1).
namespace r10 {
void MPU_OVRD_override_1();
void MPU_OVRD_failed_1();
void MPU_OVRD_override_2();
void MPU_OVRD_failed_2();
// The self-powered actuator check (piece of _R10_TASK_8).
void MPU_OVRD_self_powered();
}
namespace r160 {
// When each sensor's failure detection is overridden: from a start, near
// idle in a controlled stop and at roll-down (_R160_TASK_46).
void MPU_OVRD_overrides();
}

namespace r160 {
// The second sensor's override shown, and the override time counted from the
// run command (piece of _R160_TASK_41).
void MPU_OVRD_start_timer();
}  // namespace r160
