// Module _MASTER: the system-information cells that the master clock pass
// exchanges with the _SYS_INFO_ words (runtime/sysinfo.h) and the load
// figures it computes. No rate group computes them.
#pragma once

#include "runtime/catalogue.h"

#define _MASTER_CELLS(X)                              \
    X(_SYS_INFO, SYS_FLT, B, RNone, PLAIN)            \
    X(_SYS_INFO, SYS_ALM, B, RNone, PLAIN)            \
    X(_SYS_INFO, S_PWD, B, RNone, PLAIN)              \
    X(_SYS_INFO, C_PWD, B, RNone, PLAIN)              \
    X(_SYS_INFO, EE_BUSY, B, RNone, PLAIN)            \
    X(_SYS_INFO, RG_SLIP, B, RNone, PLAIN)            \
    X(_SYS_INFO, ALM_RST, B, RNone, TUNE(false))      \
    X(_SYS_INFO, RG160_LOAD, I, RNone, PLAIN)         \
    X(_SYS_INFO, RG80_LOAD, I, RNone, PLAIN)          \
    X(_SYS_INFO, RG40_LOAD, I, RNone, PLAIN)          \
    X(_SYS_INFO, RG20_LOAD, I, RNone, PLAIN)          \
    X(_SYS_INFO, RG10_LOAD, I, RNone, PLAIN)          \
    X(_SYS_INFO, RG5_LOAD, I, RNone, PLAIN)           \
    X(_SYS_INFO, RG1_LOAD, I, RNone, PLAIN)           \
    X(_SYS_INFO, M_TOT_LOAD, I, RNone, PLAIN)         \
    X(_SYS_INFO, M_TOT_LOAD_C2, I, RNone, PLAIN)      \
    X(_SYS_INFO, SYS_LOAD, I, RNone, PLAIN)           \
    X(_SYS_INFO, IDLE_TIME, I, RNone, PLAIN)
CAT_MODULE(_MASTER)
