// STAND-IN until the condition-monitoring module COND_MON lands: the cells of
// its NV log block that the NV log task reads and writes.
#pragma once

#include "runtime/catalogue.h"

#define COND_MON_CELLS(X)                          \
    X(NV_MEM_LOG, B_ENABLE, B, R80, TUNE(false))   \
    X(NV_MEM_LOG, COUNT, I, R80, PLAIN)            \
    X(NV_MEM_LOG, OUT_1, A, R80, PLAIN)            \
    X(NV_MEM_LOG, OUT_2, A, R80, PLAIN)            \
    X(NV_MEM_LOG, OUT_3, A, R80, PLAIN)            \
    X(NV_MEM_LOG, OUT_4, A, R80, PLAIN)            \
    X(NV_MEM_LOG, OUT_5, A, R80, PLAIN)            \
    X(NV_MEM_LOG, OUT_6, A, R80, PLAIN)            \
    X(NV_MEM_LOG, OUT_7, A, R80, PLAIN)            \
    X(NV_MEM_LOG, OUT_8, A, R80, PLAIN)            \
    X(NV_MEM_LOG, OUT_9, A, R80, PLAIN)            \
    X(NV_MEM_LOG, OUT_10, A, R80, PLAIN)           \
    X(NV_MEM_LOG, OUT_11, A, R80, PLAIN)
CAT_MODULE(COND_MON)
