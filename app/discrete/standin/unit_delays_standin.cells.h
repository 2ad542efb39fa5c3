// STAND-IN until the Modbus link, function-key, Modbus scaling
// and critical-speed modules
// land: the inputs of the first block of the 160 ms group's unit delays and
// their delay outputs. The real modules keep these rows.
#pragma once

#include "app/interface/MOD_SCALE_casc.rows.h"
#include "app/interface/MOD_links.rows.h"
#include "app/interface/standin/MOD_coils_standin.rows.h"
#include "runtime/catalogue.h"
#include "app/control/CASC_ENTRD.cells.h"

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
    MOD_COILS_STANDIN_ROWS(X) \
    MOD_AW_DLY_ROWS(X)
CAT_MODULE(MOD)



#define MOD_SCALE_CELLS(X) \
    X(CASC_MOD1, DIVIDE, A, R160, PLAIN)  \
    MOD_SCALE_CASC_ROWS(X)
CAT_MODULE(MOD_SCALE)

#include "app/control/CRIT_SPD.cells.h"
#include "app/interface/COND_MON.cells.h"
