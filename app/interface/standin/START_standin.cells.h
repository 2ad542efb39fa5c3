// STAND-IN until the start sequence (module START) lands: the cells the data-log
// control reads and writes, the start inhibits the start-inhibit display
// reads, and the display's rows (START_ALM_DSPL_ROWS, the real module keeps them).
#pragma once

#include "app/protection/START_ALM_DSPL.h"
#include "runtime/catalogue.h"

#define START_CELLS(X) \
    X(STARTED, LATCH, B, R160, PLAIN) \
    X(STRT_IH, SEL_1, B, R80, PLAIN, R160) \
    X(STRT_IH, SEL_2, B, R80, PLAIN, R160) \
    X(STRT_IH, SEL_3, B, R80, PLAIN, R160) \
    X(STRT_IH, SEL_4, B, R80, PLAIN, R160) \
    X(STRT_IH, SEL_5, B, R80, PLAIN, R160) \
    X(STRT_IH, SEL_6, B, R80, PLAIN, R160) \
    X(OR_STARTED, OR, B, R80, PLAIN, R160) \
    START_ALM_DSPL_ROWS(X)
CAT_MODULE(START)
