// STAND-IN until the Modbus link, function-key, cascade entry, Modbus scaling
// and critical-speed modules
// land: the inputs of the first block of the 160 ms group's unit delays and
// their delay outputs. The real modules keep these rows.
#pragma once

#include "app/interface/MOD_links.rows.h"
#include "app/interface/standin/MOD_coils_standin.rows.h"
#include "runtime/catalogue.h"

#define MOD_LNK_STAT_CELLS(X) \
    X(LNK_ERR, AND, B, R160, PLAIN)  \
    X(LNK2_ERR, AND, B, R160, PLAIN) \
    X(LNK3_ERR, AND, B, R160, PLAIN) \
    X(SIO_LNK1_ALM, B_NAME, B, R160, PLAIN, R40) \
    X(LNK2_ALM, B_NAME, B, R160, PLAIN, R40) \
    X(LNK3_ALM, B_NAME, B, R160, PLAIN, R40) \
    X(ALL_LNK_FAIL, B_NAME, B, R160, PLAIN, R80)
CAT_MODULE(MOD_LNK_STAT)

#define MOD_CELLS(X) \
    X(LNK1_ERR_Z, ZMINUS1_B, B, R160, PLAIN) \
    X(LNK2_ERR_Z, ZMINUS1_B, B, R160, PLAIN) \
    X(LNK3_ERR_Z, ZMINUS1_B, B, R160, PLAIN) \
    MOD_LINK_ROWS(X) \
    MOD_COILS_STANDIN_ROWS(X)
CAT_MODULE(MOD)

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
    X(OPC_AW2_Z, ZMINUS1, A, R160, PLAIN)
CAT_MODULE(CASC_ENTRD)


#define MOD_SCALE_CELLS(X) \
    X(CASC_MOD1, DIVIDE, A, R160, PLAIN)  \
    X(CASC_SCALE, A_NAME, A, R160, PLAIN) \
    X(LAST_CASC, ZMINUS1, A, R160, PLAIN)
CAT_MODULE(MOD_SCALE)

#include "app/control/CRIT_SPD.cells.h"
#include "app/interface/COND_MON.cells.h"
