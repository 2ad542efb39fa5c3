// Module _MASTER: the system-information cells that the master clock pass
// exchanges with the _SYS_INFO_ words (runtime/appmem.h).
#pragma once

#include "runtime/catalogue.h"

#define _MASTER_CELLS(X)                              \
    X(_SYS_INFO, SYS_FLT, B, RNone, PLAIN)            \
    X(_SYS_INFO, SYS_ALM, B, RNone, PLAIN)            \
    X(_SYS_INFO, S_PWD, B, RNone, PLAIN)              \
    X(_SYS_INFO, C_PWD, B, RNone, PLAIN)              \
    X(_SYS_INFO, EE_BUSY, B, RNone, PLAIN)            \
    X(_SYS_INFO, RG_SLIP, B, RNone, PLAIN)            \
    X(_SYS_INFO, ALM_RST, B, RNone, TUNE(false))
CAT_MODULE(_MASTER)
