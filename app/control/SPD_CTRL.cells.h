// Module SPD_CTRL: the speed controller. At 10 ms the speed deadband,
// normalisation and the self-tuning speed PID SPD_PID with its switch, the
// gain-set choice and the noise measurement; at 40 ms the speed setpoint the
// PID controls to and the optimizer request and enable chain; at 160 ms the
// fast/slow ramp, the overspeed-test normalisation and the on-line speed
// comparison.
#pragma once

#include "runtime/catalogue.h"

#define SPD_CTRL_CELLS(X) \
    X(ONLINE_DYN, B_NAME, B, R10, PLAIN, R80, R160)                \
    X(SW_DYN, B_SW, B, R10, PLAIN)                              \
    X(OTHER_EN_CTL, OR, B, R10, PLAIN)                          \
    X(OTHER_AT_MAX, IN_3, B, R10, TUNE(false))                  \
    X(OTHER_AT_MAX, AND, B, R10, PLAIN)                         \
    X(SPD_SW_DLY, DLY_TIME, A, R10, TUNE(0.0, 0.0, 100.0))      \
    X(SPD_SW_DLY, NEG_DTIME, A, R10, TUNE(0.0, 0.0, 100.0))     \
    X(SPD_SW_DLY, DELAY, B, R10, PLAIN)                         \
    X(SPD_SW_DLY, R_TIME, I, R10, PLAIN)                        \
    X(P_GAIN, A_SW, A, R10, PLAIN)                              \
    X(I_GAIN, A_SW, A, R10, PLAIN)                              \
    X(D_GAIN, A_SW, A, R10, PLAIN)                              \
    X(SW_DB, A_SW, A, R10, PLAIN)                               \
    X(SPD_DB, A_DEADBAND, A, R10, PLAIN)                        \
    X(SPD_TO_PID, A_SW, A, R10, PLAIN)                          \
    X(NORM_SPD, MULTIPLY, A, R10, PLAIN)                        \
    X(PROC_OPTI, A_NAME, A, R10, PLAIN)                         \
    X(NORM_SETPT, MULTIPLY, A, R10, PLAIN)                      \
    X(SP_OPTI, A_NAME, A, R10, PLAIN)                           \
    X(ACT_LIM, NC, A, R10, TUNE(5.0, 0.25, 100.0))              \
    X(ACT_LIM, NO, A, R10, TUNE(10.0, 0.5, 100.0))              \
    X(ACT_LIM, A_SW, A, R10, PLAIN)                             \
    X(SPD_PID, THRESH, A, R10, TUNE(100.0, 0.0, 110.0))         \
    X(SPD_PID, RESP_TM_LMT, A, R10, TUNE(5.0, 0.005, 100.0))    \
    X(SPD_PID, LSS_HSS, I, R10, TUNE(1, 0, 2))                  \
    X(SPD_PID, P_PI_PID, I, R10, TUNE(3, 1, 3))                 \
    X(SPD_PID, CLR_STATE, B, R10, TUNE(false))                  \
    X(SPD_PID, PID_OPTI, A, R10, PLAIN)                         \
    X(SPD_PID, CALC_P, A, R10, PLAIN, R160)                     \
    X(SPD_PID, CALC_I, A, R10, PLAIN, R160)                     \
    X(SPD_PID, CALC_SDR, A, R10, PLAIN, R160)                   \
    X(SPD_PID, OPTI_STATUS, I, R10, PLAIN, R40, R160)                 \
    X(SPD_PID, OPTI_ALARM, I, R10, PLAIN)                       \
    X(SPD_PID, OPTI_FAULT, I, R10, PLAIN)                       \
    X(SPD_PID, PROC_ERR, A, R10, PLAIN)                         \
    X(SPD_PID, OPTI_MON, A, R10, PLAIN)                         \
    X(SPD_PID_SW, A_SW, A, R10, PLAIN)                          \
    X(OPTI_NOT_RDY, GT, B, R10, PLAIN)                          \
    X(OPTI_NOT_RDY, EQ, B, R10, PLAIN)                          \
    X(OPTI_NOT_RDY, LT, B, R10, PLAIN)                          \
    X(CALC_NOISE, ACT_Q, I, R10, TUNE(4, 1, 8))                 \
    X(CALC_NOISE, D_TIME, A, R10, TUNE(30.0, 0.0, 600.0))       \
    X(CALC_NOISE, RST_6, B, R10, TUNE(false))                   \
    X(CALC_NOISE, B_ACTION, B, R10, PLAIN)                      \
    X(CALC_NOISE, ACT_OUT, I, R10, PLAIN)                       \
    X(CALC_NOISE, E_TIME, A, R10, PLAIN)                        \
    X(CALC_NOISE, R_TIME, A, R10, PLAIN)                        \
    X(CALC_NOISE_ENBL, IN_1, B, R10, TUNE(false))               \
    X(CALC_NOISE_ENBL, OR, B, R10, PLAIN, R160)                 \
    X(DROOP_VAL, CTRL, B, R10, TUNE(true))                      \
    X(DROOP_VAL, A_SW, A, R10, PLAIN, R40)                      \
    X(HOLD_HI, HSS_BUS, A, R10, PLAIN)                          \
    X(HOLD_HI, SEL_1, B, R10, PLAIN)                            \
    X(HOLD_HI, SEL_2, B, R10, PLAIN)                            \
    X(HOLD_HI, HI_LIM_I, B, R10, PLAIN)                         \
    X(HOLD_HI, LO_LIM_I, B, R10, PLAIN)                         \
    X(HOLD_LO, LSS_BUS, A, R10, PLAIN)                          \
    X(HOLD_LO, SEL_1, B, R10, PLAIN)                            \
    X(HOLD_LO, SEL_2, B, R10, PLAIN)                            \
    X(HOLD_LO, HI_LIM_I, B, R10, PLAIN)                         \
    X(HOLD_LO, LO_LIM_I, B, R10, PLAIN)                         \
    X(HI_LO_DIFF, SUBTRACT, A, R10, PLAIN)                      \
    X(SIGNAL_NOISE, A_NAME, A, R10, PLAIN, R160)                \
    X(RST_HOLD_DLY, DLY_TIME, A, R160, TUNE(10.0, 0.0, 60.0))   \
    X(RST_HOLD_DLY, DELAY, B, R160, PLAIN)                      \
    X(RST_HOLD_DLY, R_TIME, I, R160, PLAIN)                     \
    X(RCMD_OPTI_PROC, IN_2, A, R160, TUNE(12.0, 0.0, 50.0))     \
    X(RCMD_OPTI_PROC, MULTIPLY, A, R160, PLAIN)                 \
    X(MULTIPLY, IN_2, A, R160, TUNE(0.005, 0.0, 1.0))           \
    X(MULTIPLY, MULTIPLY, A, R160, PLAIN)                       \
    X(PROC_LIM, IN_HI, A, R160, TUNE(200.0, 0.0, 1000.0))       \
    X(PROC_LIM, A_LIMITER, A, R160, PLAIN)                      \
    X(RCMD_OPTI_PROC_LIM, A_SW, A, R160, PLAIN)                 \
    X(RST_HOLD, NOT, B, R10, PLAIN)                             \
    X(HOLD_RST_HI, A_SW, A, R10, PLAIN)                         \
    X(HOLD_RST_LO, A_SW, A, R10, PLAIN)                         \
    X(LP_BRKR_HI, ZMINUS1, A, R10, PLAIN)                       \
    X(LP_BRKR_LO, ZMINUS1, A, R10, PLAIN)                       \
    X(OPID_ALRM, OUT_1, A, R10, PLAIN)                          \
    X(OPID_FAULT, OUT_1, A, R10, PLAIN)                         \
    X(OPID_STATE, OUT_1, A, R10, PLAIN)                         \
    X(SPD_REF, ADD, A, R40, PLAIN)                              \
    X(REM_SIG, A_SW, A, R40, PLAIN)                             \
    X(COMBO_MODE, HSS_BUS, A, R40, PLAIN)                       \
    X(COMBO_MODE, SEL_1, B, R40, PLAIN)                         \
    X(COMBO_MODE, SEL_2, B, R40, PLAIN)                         \
    X(COMBO_MODE, HI_LIM_I, B, R40, PLAIN)                      \
    X(COMBO_MODE, LO_LIM_I, B, R40, PLAIN)                      \
    X(COMBO_SETPT, ZMINUS1, A, R40, PLAIN)                      \
    X(RAMP_OR_HSS, A_SW, A, R40, PLAIN)                         \
    X(DROOPED_SP, SUBTRACT, A, R40, PLAIN)                      \
    X(SPD_SETPT, A_NAME, A, R40, PLAIN, R10, R160, R80)                    \
    X(TIQ_OPTI_RQST, IN, B, R40, TUNE(false))                   \
    X(TIQ_OPTI_RQST, B_NAME, B, R40, PLAIN)                     \
    X(OPTI_RQST, OR, B, R40, PLAIN)                             \
    X(OPTI_FLT, AND, B, R40, PLAIN)                             \
    X(ENA_OPTI, ACT_Q, I, R40, TUNE(8, 1, 8))                   \
    X(ENA_OPTI, D_TIME, A, R40, TUNE(300.0, 10.0, 900.0))       \
    X(ENA_OPTI, RST_1, B, R40, TUNE(false))                     \
    X(ENA_OPTI, RST_2, B, R40, TUNE(false))                     \
    X(ENA_OPTI, RST_5, B, R40, TUNE(false))                     \
    X(ENA_OPTI, B_ACTION, B, R40, PLAIN, R10)                   \
    X(ENA_OPTI, ACT_OUT, I, R40, PLAIN)                         \
    X(ENA_OPTI, E_TIME, A, R40, PLAIN)                          \
    X(ENA_OPTI, R_TIME, A, R40, PLAIN, R80)                     \
    X(ENA_OPTI_DELAY, DELAY, B, R40, PLAIN, R10, R80)           \
    X(ENA_OPTI_DELAY, R_TIME, I, R40, PLAIN)                    \
    X(MAX_SETPT, SUBTRACT, A, R40, PLAIN)                       \
    X(NEAR_MAXGV, IN_2, A, R40, TUNE(0.1, 0.0, 10.0))           \
    X(NEAR_MAXGV, HYSTER, A, R40, TUNE(2.0, -10.0, 10.0))       \
    X(NEAR_MAXGV, A_COMPARE, B, R40, PLAIN, R10)                \
    X(NEAR_MAXGV, A_EQUAL, B, R40, PLAIN)                       \
    X(FAST_SLOW_RAMP, P_SP_2, A, R160, TUNE(100.0, 0.0, 200.0)) \
    X(FAST_SLOW_RAMP, R_SP_1, A, R160, TUNE(2.0, 0.0, 100.0))   \
    X(FAST_SLOW_RAMP, RAMP, A, R160, PLAIN)                     \
    X(FAST_SLOW_RAMP, REV_RAMP, A, R160, PLAIN)                 \
    X(FAST_SLOW_RAMP, MOVING_UP, B, R160, PLAIN)                \
    X(FAST_SLOW_RAMP, MOVING_DN, B, R160, PLAIN)                \
    X(FAST_SLOW_RAMP, POS_SEL, I, R160, PLAIN)                  \
    X(FAST_SLOW_RAMP, P_LIM_1, B, R160, PLAIN)                  \
    X(FAST_SLOW_RAMP, P_LIM_2, B, R160, PLAIN)                  \
    X(A_TO_INT, OUT_1, I, R160, PLAIN)                          \
    X(I_TO_AN, OUT_1, A, R160, PLAIN)                           \
    X(FAST_SLOW, A_NAME, A, R160, PLAIN, R10)                   \
    X(INV_MX_SPD, DIVIDE, A, R160, PLAIN, R10)                  \
    X(NORM_PRCMV, IN_1, A, R160, TUNE(30.0, 0.0, 100.0))        \
    X(NORM_PRCMV, MULTIPLY, A, R160, PLAIN)                     \
    X(PRC_MVLMT, A_NAME, A, R160, PLAIN, R10)                   \
    X(SPD_GT_MIN, HYSTER, A, R160, TUNE(-100.0, -1000.0, 0.0))  \
    X(SPD_GT_MIN, A_COMPARE, B, R160, PLAIN, R10)               \
    X(SPD_GT_MIN, A_EQUAL, B, R160, PLAIN)                      \
    X(SP_MOVE, OR, B, R40, PLAIN, R10)  \
    X(DYN_PACK8, I_OUT, I, R80, PLAIN) \
    X(I_ADD, I_ADD, I, R80, PLAIN) \
    X(CALC_GAINS_SW, I_SW, I, R80, PLAIN) \
    X(DYN_ACTIV, OUT_1, B, R80, PLAIN) \
    X(DYN_ACTIV, OUT_2, B, R80, PLAIN) \
    X(DYN_ACTIV, OUT_3, B, R80, PLAIN) \
    X(DYN_ACTIV, OUT_4, B, R80, PLAIN) \
    X(DYN_ACTIV, OUT_5, B, R80, PLAIN) \
    X(QT_STATUS_LEDS, OUT_1, B, R160, PLAIN) \
    X(QT_STATUS_LEDS, OUT_2, B, R160, PLAIN) \
    X(QT_STATUS_LEDS, OUT_3, B, R160, PLAIN) \
    X(QT_STATUS_LEDS, OUT_4, B, R160, PLAIN) \
    X(QT_STATUS_LEDS, OUT_5, B, R160, PLAIN) \
    X(QT_STATUS_LEDS, OUT_6, B, R160, PLAIN) \
    X(QT_STATUS_LEDS, OUT_7, B, R160, PLAIN) \
    X(QT_STATUS_LEDS, OUT_8, B, R160, PLAIN) \
    X(QT_STATUS_LEDS, OUT_9, B, R160, PLAIN) \
    X(QT_STATUS_LEDS, OUT_10, B, R160, PLAIN) \
    X(QT_STATUS_LEDS, OUT_11, B, R160, PLAIN) \
    X(QT_STATUS_LEDS, OUT_12, B, R160, PLAIN) \
    X(QT_STATUS_LEDS, OUT_13, B, R160, PLAIN) \
    X(QT_STATUS_LEDS, OUT_14, B, R160, PLAIN) \
    X(QT_STATUS_LEDS, OUT_15, B, R160, PLAIN) \
    X(QT_STATUS_LEDS, OUT_16, B, R160, PLAIN) \
    X(ENA_TO, A_COMPARE, B, R80, PLAIN)                         \
    X(ENA_TO, A_EQUAL, B, R80, PLAIN)                           \
    X(AUTO_RST, OR, B, R80, PLAIN)                              \
    X(ONE_SHOT, ONE_SHOT, B, R80, PLAIN, R40)                   \
    X(ONE_SHOT, R_TIME, I, R80, PLAIN)                          \
    X(OPTI_FLT_RST, OR, B, R80, PLAIN, R10)                     \
    X(ENA_COMBO, AND, B, R80, PLAIN, R40)
CAT_MODULE(SPD_CTRL)

#define SPD_CLTR_CELLS(X) X(Z_REFBACK, ZMINUS1, A, R40, PLAIN)
CAT_MODULE(SPD_CLTR)

// The optimizer status block: held fault, texts and state flags.
#define _ub91_CELLS(X)                                         \
    X(OPID_FLTS_IN_1, I_NAME, I, R10, PLAIN)                   \
    X(FLT_FLAG, EQ, B, R10, PLAIN)                             \
    X(FLT_FLAG, LT, B, R10, PLAIN)                             \
    X(FLT_FLAG, GT, B, R10, PLAIN)                             \
    X(RESET_FLT, B_NAME, B, R10, PLAIN)                        \
    X(FLT_SAMPL, ONE_SHOT, B, R10, PLAIN)                      \
    X(FLT_SAMPL, R_TIME, I, R10, PLAIN)                        \
    X(OPTI_FLT, LATCH, B, R10, PLAIN, R40)                     \
    X(SET_FLTVAL, OR, B, R10, PLAIN)                           \
    X(HOLD_FLT, TUNE, I, R10, TUNE(0, 0, 20))                  \
    X(HOLD_FLT, SAMP_ITUNE, I, R10, PLAIN)                     \
    X(HOLD_FLT, LIMITED, B, R10, PLAIN)                        \
    X(HOLD_FLT, EN_ENT_OUT, B, R10, PLAIN)                     \
    X(HOLD_FLT, LO_LIM_OUT, I, R10, PLAIN)                     \
    X(HOLD_FLT, HI_LIM_OUT, I, R10, PLAIN)                     \
    X(OPID_ALMS, I_TO_STR, C, R10, PLAIN)                      \
    X(OPID_FLTS, I_TO_STR, C, R10, PLAIN)                      \
    X(OPID_STATUS_IN_1, I_NAME, I, R10, PLAIN)                 \
    X(OPID_STATUS, I_TO_STR, C, R10, PLAIN)                    \
    X(OPTI_11_FLT, EQ, B, R10, PLAIN)                          \
    X(OPTI_11_FLT, LT, B, R10, PLAIN)                          \
    X(OPTI_11_FLT, GT, B, R10, PLAIN)                          \
    X(NOT_FLT, NOT, B, R10, PLAIN)                             \
    X(OPTIDYN_ON, IN_2, I, R10, TUNE(8, 7, 20))                \
    X(OPTIDYN_IN_USE, AND, B, R10, PLAIN, R80)                      \
    X(OPTI_CMPLT, IN_2, I, R10, TUNE(16, 7, 20))               \
    X(OPTI_ACTIVE, AND, B, R10, PLAIN)
CAT_USER_BLOCK(_ub91, "SPD_CTRL.OPID_STATUS", CAT_NO_ALIASES)

// Block initialisation: the fast/slow preference starts at its middle, 50.
void SPD_CTRL_init_blks();

namespace r10 {
// Gain set and speed-control switch (piece of _R10_TASK_4).
void SPD_CTRL_dynamics();
// Deadband, normalisation, movement limit and the speed PID with its switch
// (pieces of _R10_TASK_5).
void SPD_CTRL_speed_pid();
// Optimizer status, noise measurement, droop value, hold buses and the
// optimizer codes (pieces of _R10_TASK_10).
void SPD_CTRL_optimizer_ready();
void SPD_CTRL_noise();
void SPD_CTRL_status_block();
}  // namespace r10

namespace r40 {
// The speed reference moving, and its negation for the operator interface
// (piece of _R40_TASK_5).
void SPD_CTRL_reference_moving();
// Setpoint chain, optimizer request and enable, distance to maximum
// governor (pieces of _R40_TASK_8).
void SPD_CTRL_setpoint();
void SPD_CTRL_optimizer_enable();
void SPD_CTRL_near_max();
}  // namespace r40

namespace r80 {
// The active dynamics set of the speed PID (piece of _R80_TASK_19).
void SPD_CTRL_dynamics_set();
// The tuning time-out pulse, the optimizer fault reset and the combination
// enable (piece of _R80_TASK_26).
void SPD_CTRL_optimizer_commands();
}  // namespace r80

namespace r160 {
// The optimizer status LEDs (piece of _R160_TASK_40).
void SPD_CTRL_status_leds();
// Fast/slow ramp, overspeed-test normalisation, on-line speed comparison
// (pieces of _R160_TASK_49).
void SPD_CTRL_values();
}  // namespace r160

namespace r160 {
// The process limit suggested from the measured signal noise, held while the
// noise calculation has run long enough (piece of _R160_TASK_41).
void SPD_CTRL_process_limit();
}  // namespace r160
