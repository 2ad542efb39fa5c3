// Module MOD_SPD_SP: the selection among the entered speed setpoints
// (160 ms).
#pragma once

#include "app/control/standin/speedref_rows_standin.h"
#include "runtime/catalogue.h"

#define MOD_SPD_SP_CELLS(X)                            \
    X(ENTRD_MUX, INT_SEL, I, R160, PLAIN)              \
    X(ENTRD_MUX, A_MUX_HSS, A, R160, PLAIN, R40)       \
    X(ENTRD_MUX, SEL_4, B, R160, TUNE(false))          \
    MOD_SPD_SP_STANDIN_ROWS(X)
CAT_MODULE(MOD_SPD_SP)

namespace r160 {
void MOD_SPD_SP_select();
}
