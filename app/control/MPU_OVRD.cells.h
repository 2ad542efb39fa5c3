// Module MPU_OVRD: speed-sensor overrides and failure detection. The 10 ms
// group computes the override ORs and the failed flags; the override
// outputs, delays and minimum detection speeds come from the 160 ms group.
#pragma once

#include "app/control/standin/speed_rows_standin.h"
#include "app/protection/standin/protection_rows_standin.h"
#include "runtime/catalogue.h"

#define MPU_OVRD_CELLS(X) \
    X(OVRD1_OR, OR, B, R10, PLAIN, R160)            \
    X(SPD1_FLD, A_COMPARE, B, R10, PLAIN)     \
    X(SPD1_FLD, A_EQUAL, B, R10, PLAIN)       \
    X(INHIB_MIN1, IN_1, B, R10, TUNE(false))  \
    X(INHIB_MIN1, AND, B, R10, PLAIN)         \
    X(SPD1FLD, OR, B, R10, PLAIN)             \
    X(SS1_FLD, B_SW, B, R10, PLAIN, R40)      \
    X(OVRD_MPU2, OR, B, R10, PLAIN)           \
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
    X(OR_NOTSTRP, OR, B, R10, PLAIN)          \
    X(NOT_SD_Z, ZMINUS1_B, B, R10, PLAIN)     \
    X(OVRD_MPU_1, B_SW, B, R160, PLAIN, R10)  \
    X(OVRD_MPU_2, B_SW, B, R160, PLAIN, R10)  \
    X(RDWN_DLY, DELAY, B, R160, PLAIN, R10)   \
    X(DLY_CTRL1, DELAY, B, R160, PLAIN, R10)  \
    X(DLY_CTRL2, DELAY, B, R160, PLAIN, R10)  \
    X(MIN_SPD_1, A_NAME, A, R160, PLAIN, R10) \
    X(MIN_SPD_2, A_NAME, A, R160, PLAIN, R10)  \
    MPU_OVRD_STANDIN_ROWS(X) \
    MPU_OVRD_PROT_STANDIN_ROWS(X)
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
