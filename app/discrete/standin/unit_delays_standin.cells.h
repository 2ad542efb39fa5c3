// STAND-IN until the Modbus link, function-key, cascade entry, condition
// monitoring, Modbus scaling and critical-speed modules
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

// The run-time displays: the condition monitor's two run times and their
// calendar fields, computed by the configuration-check slice.
#define COND_MON_HMS_ROWS(X, B)                                                                    \
    X(B, YEAR, A, R160, PLAIN) X(B, MONTH, A, R160, PLAIN) X(B, DAY, A, R160, PLAIN)               \
    X(B, HOUR, A, R160, PLAIN) X(B, MIN, A, R160, PLAIN) X(B, SEC, A, R160, PLAIN)       \
    X(B, MICROSEC, A, R160, PLAIN)
#define COND_MON_RUN_TIME_ROWS(X)                                                                  \
    X(TRUNCVTBK, A_NAME, A, R160, PLAIN) X(TRUNLDTOTIME, T_NAME, T, R160, PLAIN)                   \
    X(TRUNTOTIME, T_NAME, T, R160, PLAIN) COND_MON_HMS_ROWS(X, TRUNLD_HMS)                         \
    COND_MON_HMS_ROWS(X, TRUN_HMS) X(TRUNLDMINS, A_NAME, A, R160, PLAIN) X(TRUNMINS, A_NAME, A, R160, PLAIN)
#define COND_MON_CELLS(X) \
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
    X(NV_MEM_LOG, OUT_10, A, R80, PLAIN)            \
    X(NV_MEM_LOG, OUT_11, A, R80, PLAIN)            \
    X(PWRUPOS, ONE_SHOT, B, R80, PLAIN, R160) \
    X(LOAD_LVL1, B_NAME, B, R160, PLAIN) \
    X(LOAD_LVL2, B_NAME, B, R160, PLAIN) \
    X(END, DELAY, B, R160, PLAIN)             \
    X(LAST, ZMINUS1_B, B, R160, PLAIN)        \
    X(RSTNVTRIG, A_COMPARE, B, R160, PLAIN)   \
    X(LOOP1, ZMINUS1_B, B, R160, PLAIN)       \
    X(START_TURB, COUNTER, A, R160, PLAIN)    \
    X(WAIT_CNT_1, ZMINUS1, A, R160, PLAIN)    \
    X(OSPD_CNT, COUNTER, A, R160, PLAIN)      \
    X(WAIT_CNT_11, ZMINUS1, A, R160, PLAIN)   \
    X(SD_CNT, COUNTER, A, R160, PLAIN)        \
    X(WAIT_CNT_3, ZMINUS1, A, R160, PLAIN)    \
    X(SDWLOAD1_CNT, COUNTER, A, R160, PLAIN)  \
    X(WAIT_CNT_4, ZMINUS1, A, R160, PLAIN)    \
    X(SDWLOAD2_CNT, COUNTER, A, R160, PLAIN)  \
    X(WAIT_CNT_5, ZMINUS1, A, R160, PLAIN)    \
    X(TRUNCALC, CALCULATE, A, R160, PLAIN)    \
    X(WAIT_TMR_1, ZMINUS1, A, R160, PLAIN)    \
    X(TRUNLD2CALC, CALCULATE, A, R160, PLAIN) \
    X(WAIT_TMR_3, ZMINUS1, A, R160, PLAIN)    \
    X(TRUNLDCALC, CALCULATE, A, R160, PLAIN)  \
    X(WAIT_TMR_2, ZMINUS1, A, R160, PLAIN)   \
    COND_MON_RUN_TIME_ROWS(X)
CAT_MODULE(COND_MON)

#define MOD_SCALE_CELLS(X) \
    X(CASC_MOD1, DIVIDE, A, R160, PLAIN)  \
    X(CASC_SCALE, A_NAME, A, R160, PLAIN) \
    X(LAST_CASC, ZMINUS1, A, R160, PLAIN)
CAT_MODULE(MOD_SCALE)

#include "app/control/CRIT_SPD.cells.h"
