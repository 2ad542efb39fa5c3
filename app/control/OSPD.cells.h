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
    X(SPEED_HOLD, HSS_BUS, A, R40, PLAIN, R160)       \
    X(SPEED_HOLD, HI_LIM_I, B, R40, PLAIN)           \
    X(SPEED_HOLD, LO_LIM_I, B, R40, PLAIN)           \
    X(SPEED_HOLD, SEL_1, B, R40, PLAIN)              \
    X(SPEED_HOLD, SEL_2, B, R40, PLAIN)              \
    OSPD_STANDIN_ROWS(X)
CAT_MODULE(OSPD)

namespace r80 {
void OSPD_test_flags();   // _R80_TASK_16: OSPD_TEST_EN, OR_OSPD, OR_OSPD_OS, MV_REF
}
namespace r40 {
void OSPD_speed_hold();   // _R40_TASK_5: the held speed and the moving flags
}
