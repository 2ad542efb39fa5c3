// STAND-IN until the analog output channel template lands: the milliamp
// signal each controller output channel (_ub10 .. _ub12) hands to its
// hardware stage in CNFG_AO.
#pragma once

#include "runtime/catalogue.h"

#define _ub10_CELLS(X) X(MA_SIGNAL, A_NAME, A, R20, PLAIN)
CAT_USER_BLOCK(_ub10, "CNFG_AO.AO_01", CAT_NO_ALIASES)
#define _ub11_CELLS(X) X(MA_SIGNAL, A_NAME, A, R20, PLAIN)
CAT_USER_BLOCK(_ub11, "CNFG_AO.AO_02", CAT_NO_ALIASES)
#define _ub12_CELLS(X) X(MA_SIGNAL, A_NAME, A, R20, PLAIN)
CAT_USER_BLOCK(_ub12, "CNFG_AO.AO_03", CAT_NO_ALIASES)
