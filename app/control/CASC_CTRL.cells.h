// Module CASC_CTRL: the output cell of the cascade PID block CASC_PID. The
// rest of the cascade module's cells join this row.
#pragma once

#include "app/interface/standin/MOD_map_rows_standin.h"
#include "runtime/catalogue.h"

#define CASC_CTRL_CELLS(X)                               \
    X(CASC_PID, PID_2, A, R80, PLAIN) \
    X(PROC_MULT, MULTIPLY, A, R80, PLAIN) \
    X(SP_MULT, MULTIPLY, A, R80, PLAIN) \
    X(CAS_TO_SPD, ADD, A, R80, PLAIN, R40) \
    CASC_CTRL_MAP_STANDIN_ROWS(X)
CAT_MODULE(CASC_CTRL)
