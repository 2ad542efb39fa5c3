// Module OSPD, the parts computed with the speed reference: the
// overspeed-test flags, the reference-move flag (80 ms) and the held
// speed (40 ms).
#pragma once

#include "app/control/standin/speedref_rows_standin.h"
#include "runtime/catalogue.h"

#define OSPD_CELLS(X)                                \
    X(OR_OSPD, OR, B, R80, PLAIN, R160)              \
    X(OR_OSPD_OS, ONE_SHOT, B, R80, PLAIN)           \
    X(MV_REF, OR, B, R80, PLAIN, R160)               \
    X(SPEED_HOLD, HSS_BUS, A, R40, PLAIN)            \
    X(SPEED_HOLD, HI_LIM_I, B, R40, PLAIN)           \
    X(SPEED_HOLD, LO_LIM_I, B, R40, PLAIN)           \
    X(SPEED_HOLD, SEL_1, B, R40, PLAIN)              \
    X(SPEED_HOLD, SEL_2, B, R40, PLAIN)              \
    X(OSPD_DMD_INT, B_ACTION, B, R80, PLAIN)         \
    X(OSPD_DMD_OR, OR, B, R80, PLAIN)                \
    X(DISABLED, NOT, B, R80, PLAIN)                  \
    X(EXTERN_TEST, AND, B, R80, PLAIN)               \
    X(OSPD_ALM, B_NAME, B, R80, PLAIN, R40)          \
    X(OSPD_PLS, B_ACTION, B, R80, PLAIN)             \
    X(REDICE_OSPD_NOT, NOT, B, R80, PLAIN)           \
    X(NO_MV, NOT, B, R160, PLAIN)                    \
    X(DLY_NOMOV, DELAY, B, R160, PLAIN)              \
    X(DLY_NOMOV, R_TIME, I, R160, PLAIN)             \
    X(DLY_NOMOV, DLY_TIME, A, R160, TUNE(30.0, 0.0, 60.0)) \
    OSPD_STANDIN_ROWS(X)
CAT_MODULE(OSPD)

namespace r80 {
void OSPD_test_flags();   // _R80_TASK_16: OSPD_TEST_EN, OR_OSPD, OR_OSPD_OS, MV_REF
void OSPD_test_demand();  // _R80_TASK_22: the overspeed-test demand and its pulse
}
namespace r160 {
void OSPD_no_move();      // _R160_TASK_40: the no-move time-out and the entered rate
}
namespace r40 {
void OSPD_speed_hold();   // _R40_TASK_5: the held speed and the moving flags
}
