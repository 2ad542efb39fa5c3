// STAND-IN until the Modbus link, function-key, cascade entry, condition
// monitoring, cascade setpoint, Modbus scaling and critical-speed modules
// land: the inputs of the first block of the 160 ms group's unit delays and
// their delay outputs. The real modules keep these rows.
#pragma once

#include "runtime/catalogue.h"

#include "app/interface/MOD.cells.h"

#define F_KEY_CELLS(X) \
    X(BLINK_OFF, ONE_SHOT, B, R160, PLAIN) \
    X(Z1, ZMINUS1_B, B, R160, PLAIN)
CAT_MODULE(F_KEY)

#define CASC_ENTRD_CELLS(X) \
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
    X(WAIT_TMR_2, ZMINUS1, A, R160, PLAIN)    \
    X(STRT_TURB, A_NAME, A, R160, PLAIN)      \
    X(SD_NUM, A_NAME, A, R160, PLAIN)         \
    X(SDLOAD1_NUM, A_NAME, A, R160, PLAIN)    \
    X(SDLOAD2_NUM, A_NAME, A, R160, PLAIN)    \
    X(OSPD_NUM, A_NAME, A, R160, PLAIN)       \
    X(TRUNHRS, A_NAME, A, R160, PLAIN)        \
    X(TRUNLDHRS, A_NAME, A, R160, PLAIN)      \
    X(TRUNLD2HRS, A_NAME, A, R160, PLAIN)
CAT_MODULE(COND_MON)

#define CASC_SETPT_CELLS(X) \
    X(SETPT, RAMP, A, R80, PLAIN, R160) \
    X(SETPT_Z, ZMINUS1, A, R160, PLAIN)
CAT_MODULE(CASC_SETPT)


#include "app/control/CRIT_SPD.cells.h"
