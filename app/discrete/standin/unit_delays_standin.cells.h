// STAND-IN until the Modbus link, function-key, cascade entry, Modbus scaling
// and critical-speed modules
// land: the inputs of the first block of the 160 ms group's unit delays and
// their delay outputs. The real modules keep these rows.
#pragma once

#include "runtime/catalogue.h"

#include "app/interface/MOD.cells.h"

#define CASC_ENTRD_CELLS(X) \
    X(INVALID_SP, OR, B, R160, PLAIN)          \
    X(SMPL_M1, OR, B, R160, PLAIN)             \
    X(SAMPLEMOD1, ZMINUS1_B, B, R160, PLAIN)   \
    X(RST_M1, OR, B, R160, PLAIN)              \
    X(RST_M1_Z, ZMINUS1_B, B, R160, PLAIN)     \
    X(LIMITED, DELAY, B, R160, PLAIN)          \
    X(SAMPLE_Z, ZMINUS1_B, B, R160, PLAIN)     \
    X(RST_ENTR, OR, B, R160, PLAIN)            \
    X(RST_ENTR_Z, ZMINUS1_B, B, R160, PLAIN)   \
    X(SMPL_OPC, OR, B, R160, PLAIN)            \
    X(SAMPLEOPC, ZMINUS1_B, B, R160, PLAIN)    \
    X(RST_OPC, OR, B, R160, PLAIN)             \
    X(RST_OPC_Z, ZMINUS1_B, B, R160, PLAIN)    \
    X(M1_AW3_Z, ZMINUS1, A, R160, PLAIN)       \
    X(ENTR_CASC_SP_A_SW, A_SW, A, R160, PLAIN) \
    X(ENTR_SP_Z, ZMINUS1, A, R160, PLAIN)      \
    X(OPC_AW2_Z, ZMINUS1, A, R160, PLAIN)      \
    X(M1_SMP_TUN, SAMP_TUNE, A, R160, PLAIN)
CAT_MODULE(CASC_ENTRD)



#include "app/control/CRIT_SPD.cells.h"
#include "app/interface/COND_MON.cells.h"
