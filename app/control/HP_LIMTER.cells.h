// Module HP_LIMTER: the HP valve limiter, an upper limit on the valve demand
// in percent of travel. Its maximum and the start logic run at 160 ms, the
// commands, the entered value and the ramp at 80 ms, the lag the maximum is
// compared with at 40 ms.
#pragma once

#include "runtime/catalogue.h"

#define HP_LIMTER_CELLS(X)                                       \
    /* maximum and start logic (160 ms) */                       \
    X(CP_MAX, A_COMPARE, B, R160, PLAIN)                         \
    X(CP_MAX, A_EQUAL, B, R160, PLAIN)                           \
    X(AT_MAX, OR, B, R160, PLAIN, R80)                           \
    X(SPDCTRL_MING, AND, B, R160, PLAIN)                         \
    X(SPDCTRL_IDL, AND, B, R160, PLAIN)                          \
    X(SW_MIN_CTRL, B_SW, B, R160, PLAIN)                         \
    X(CTRL_OK, LATCH, B, R160, PLAIN)                            \
    X(STRTMAX, NOT, B, R160, PLAIN)                              \
    X(ENA_STRTMAX, AND, B, R160, PLAIN)                          \
    X(MN_DMD, A_MIN, A, R160, PLAIN)                             \
    X(MAX_DMD, A_SW, A, R160, PLAIN, R80)                        \
    X(RAZ_LMT_OS, ONE_SHOT, B, R160, PLAIN, R80)                 \
    X(RAZ_LMT_OS, R_TIME, I, R160, PLAIN)                        \
    X(LWR_PLS, B_ACTION, B, R160, PLAIN, R80)                    \
    X(LWR_PLS, ACT_OUT, I, R160, PLAIN)                          \
    X(LWR_PLS, E_TIME, A, R160, PLAIN)                           \
    X(LWR_PLS, R_TIME, A, R160, PLAIN)                           \
    X(RSE_PLS, B_ACTION, B, R160, PLAIN, R80)                    \
    X(RSE_PLS, ACT_OUT, I, R160, PLAIN)                          \
    X(RSE_PLS, E_TIME, A, R160, PLAIN)                           \
    X(RSE_PLS, R_TIME, A, R160, PLAIN)                           \
    /* commands (80 ms) */                                       \
    X(OR_FRC, OR, B, R80, PLAIN)                                 \
    X(OR_FRC, IN_3, B, R80, TUNE(false))                         \
    X(CLOSE, OR, B, R80, PLAIN)                                  \
    X(CLOSE, IN_2, B, R80, TUNE(false))                          \
    X(DI_LWR_DLY, DELAY, B, R80, PLAIN)                          \
    X(DI_LWR_DLY, R_TIME, I, R80, PLAIN)                         \
    X(PLS_LW, B_ACTION, B, R80, PLAIN)                           \
    X(PLS_LW, ACT_OUT, I, R80, PLAIN)                            \
    X(PLS_LW, E_TIME, A, R80, PLAIN)                             \
    X(PLS_LW, R_TIME, A, R80, PLAIN)                             \
    X(CLS_LTCH_D, B_ACTION, B, R80, PLAIN)                       \
    X(CLS_LTCH_D, ACT_OUT, I, R80, PLAIN)                        \
    X(CLS_LTCH_D, E_TIME, A, R80, PLAIN)                         \
    X(CLS_LTCH_D, R_TIME, A, R80, PLAIN)                         \
    X(CLS_LTCH_D, RST_2, B, R80, TUNE(false))                    \
    X(VLV_LMT_CL, AND, B, R80, PLAIN)                            \
    X(CLS_LMTR, OR, B, R80, PLAIN, R160)                         \
    X(LOWER, OR, B, R80, PLAIN)                                  \
    X(OPEN, OR, B, R80, PLAIN)                                   \
    X(OPEN, IN_3, B, R80, TUNE(false))                           \
    X(PLS_RW, B_ACTION, B, R80, PLAIN)                           \
    X(PLS_RW, ACT_OUT, I, R80, PLAIN)                            \
    X(PLS_RW, E_TIME, A, R80, PLAIN)                             \
    X(PLS_RW, R_TIME, A, R80, PLAIN)                             \
    X(OPN_LTCH_D, B_ACTION, B, R80, PLAIN)                       \
    X(OPN_LTCH_D, ACT_OUT, I, R80, PLAIN)                        \
    X(OPN_LTCH_D, E_TIME, A, R80, PLAIN)                         \
    X(OPN_LTCH_D, R_TIME, A, R80, PLAIN)                         \
    X(OPN_LTCH_D, RST_2, B, R80, TUNE(false))                    \
    X(VLV_LMT_OP, AND, B, R80, PLAIN)                            \
    X(OPN_LMTR, OR, B, R80, PLAIN, R160)                         \
    X(SPD_IN_CTRL, B_ACTION, B, R80, PLAIN)                      \
    X(SPD_IN_CTRL, ACT_OUT, I, R80, PLAIN)                       \
    X(SPD_IN_CTRL, E_TIME, A, R80, PLAIN)                        \
    X(SPD_IN_CTRL, R_TIME, A, R80, PLAIN)                        \
    X(AT_POS3, ZMINUS1_B, B, R80, PLAIN)                         \
    X(AND_RAISE, AND, B, R80, PLAIN)                             \
    X(RAISE, OR, B, R80, PLAIN)                                  \
    /* entered value (80 ms) */                                  \
    X(ENTR_HP_LIM_SP, TUNE, A, R80, TUNE(0.0, -1e30, 1e30))      \
    X(ENTR_HP_LIM_SP, ENBL_ENTER, B, R80, TUNE(true))            \
    X(ENTR_HP_LIM_SP, SAMP_TUNE, A, R80, PLAIN)                  \
    X(ENTR_HP_LIM_SP, LIMITED, B, R80, PLAIN)                    \
    X(ENTR_HP_LIM_SP, EN_ENT_OUT, B, R80, PLAIN)                 \
    X(ENTR_HP_LIM_SP, LO_LIM_OUT, A, R80, PLAIN)                 \
    X(ENTR_HP_LIM_SP, HI_LIM_OUT, A, R80, PLAIN)                 \
    X(SAMPLE_Z, ZMINUS1_B, B, R80, PLAIN)                        \
    X(ENTR_SP_Z, ZMINUS1, A, R80, PLAIN)                         \
    X(SP_MIN, A_COMPARE, B, R80, PLAIN)                          \
    X(SP_MIN, A_EQUAL, B, R80, PLAIN)                            \
    X(SP_BLW_MIN, AND, B, R80, PLAIN)                            \
    X(SP_MAX, A_COMPARE, B, R80, PLAIN)                          \
    X(SP_MAX, A_EQUAL, B, R80, PLAIN)                            \
    X(SP_ABV_MAX, AND, B, R80, PLAIN)                            \
    X(INVALID_SP, OR, B, R80, PLAIN)                             \
    X(NOT_LIMITED, NOT, B, R80, PLAIN)                           \
    X(LIMITED, DLY_TIME, A, R80, TUNE(3.0, 0.1, 10.0))           \
    X(LIMITED, DELAY, B, R80, PLAIN)                             \
    X(LIMITED, R_TIME, I, R80, PLAIN)                            \
    X(GOTO_CMD, AND, B, R80, PLAIN)                              \
    X(H_SER_OK, ONE_SHOT, B, R80, PLAIN, R160)                   \
    X(H_SER_OK, R_TIME, I, R80, PLAIN)                           \
    X(ENTR_HP_LIM_SP_A_SW, A_SW, A, R80, PLAIN)                  \
    X(H_SER_Z, ZMINUS1_B, B, R80, PLAIN)                         \
    X(H_SER_LAT, LATCH, B, R80, PLAIN)                           \
    /* the ramp (80 ms) */                                       \
    X(SLOW_RATE, A_NAME, A, R80, PLAIN)                          \
    X(HP_RAMP, RAMP, A, R80, PLAIN, R40)                         \
    X(HP_RAMP, REV_RAMP, A, R80, PLAIN)                          \
    X(HP_RAMP, MOVING_UP, B, R80, PLAIN)                         \
    X(HP_RAMP, MOVING_DN, B, R80, PLAIN)                         \
    X(HP_RAMP, POS_SEL, I, R80, PLAIN)                           \
    X(HP_RAMP, P_LIM_1, B, R80, PLAIN, R160)                     \
    X(HP_RAMP, P_LIM_2, B, R80, PLAIN)                           \
    X(HP_RAMP, P_LIM_3, B, R80, PLAIN)                           \
    X(HP_RAMP, P_LIM_4, B, R80, PLAIN)                           \
    /* the limiter through its lag (40 ms) */                    \
    X(RAMP_LAG, LAG_TAU, A, R40, SVC(0.0, 0.0, 10.0))            \
    X(RAMP_LAG, LAG, A, R40, PLAIN, R160)                        \
    X(RAMP_LAG, DERIV, A, R40, PLAIN)                            \
    X(H_SER_OK_NOT, NOT, B, R80, PLAIN)                          \
    X(AT_ENTERED, AND, B, R80, PLAIN)                            \
    X(H_SER_DIS, OR, B, R80, PLAIN)
CAT_MODULE(HP_LIMTER)

// Block initialisation: the lag coefficient from the stored time constant;
// a service write of the time constant computes it again.
void HP_LIMTER_init_blks();
void HP_LIMTER_lag_time_written();


namespace r160 {
void HP_LIMTER_maximum();   // _R160_TASK_37: maximum, take-over and start maximum
}
namespace r80 {
void HP_LIMTER_force_close();  // _R80_TASK_13
void HP_LIMTER_commands();     // _R80_TASK_14: commands, entered value, ramp
void HP_LIMTER_service_disable();  // _R80_TASK_18: the entered value's disable, LIMITED
}
namespace r40 {
void HP_LIMTER_lag();          // the lagged limiter and its copy to the valve interface
}
