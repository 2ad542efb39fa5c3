// Module SPDC: the speed reference sequence (chart A00..Z01, 80 ms, with
// its 160 ms inputs), the reference ramp and its rates (40 ms, with the
// 10 ms, 20 ms and 160 ms pieces) and the remote-control mode chart
// (B00..B03, 160 ms).
#pragma once

#include "runtime/catalogue.h"

// A step of the sequence chart: its flag, active time and transitions.
#define SPDC_STEP_HEAD(X, S, G, ...)              \
    X(S, SFC_STEP, B, G, PLAIN, __VA_ARGS__)      \
    X(S, ACTIVETIME, A, G, PLAIN)
#define SPDC_T(X, S, G, N) X(S, TRAN_##N, B, G, PLAIN)
// A condition block: the condition and its output word.
#define SPDC_COND(X, C, G, ...)                                                                                \
    X(C, B_ACTION, B, G, PLAIN, ##__VA_ARGS__) X(C, ACT_OUT, I, G, PLAIN) X(C, E_TIME, A, G, PLAIN)              \
    X(C, R_TIME, A, G, PLAIN)
#define SPDC_SW(X, C, F) X(C, F, B, R80, TUNE(false))
#define SPDC_CMP(X, C, G, ...) X(C, A_COMPARE, B, G, PLAIN, ##__VA_ARGS__) X(C, A_EQUAL, B, G, PLAIN, ##__VA_ARGS__)
#define SPDC_SD(X, S) X(S, B_NAME, B, R80, PLAIN)

#define SPDC_CHART_ROWS(X)                                                                                     \
    SPDC_STEP_HEAD(X, Z00_STEP, R80, R40, R160) SPDC_T(X, Z00_STEP, R80, 1)                                    \
    SPDC_STEP_HEAD(X, A00_STEP, R80, R40, R160) SPDC_T(X, A00_STEP, R80, 1) SPDC_T(X, A00_STEP, R80, 2)        \
    SPDC_T(X, A00_STEP, R80, 3) SPDC_T(X, A00_STEP, R80, 4) SPDC_T(X, A00_STEP, R80, 5)                        \
    SPDC_STEP_HEAD(X, A00ASTEP, R80, R40, R160) SPDC_T(X, A00ASTEP, R80, 1) SPDC_T(X, A00ASTEP, R80, 2)        \
    SPDC_T(X, A00ASTEP, R80, 3)                                                                                \
    SPDC_STEP_HEAD(X, A01_STEP, R80, R40, R160) SPDC_T(X, A01_STEP, R80, 1) SPDC_T(X, A01_STEP, R80, 2)        \
    SPDC_T(X, A01_STEP, R80, 3) SPDC_T(X, A01_STEP, R80, 4) SPDC_T(X, A01_STEP, R80, 5)                        \
    SPDC_STEP_HEAD(X, A02_STEP, R80, R160) SPDC_T(X, A02_STEP, R80, 1) SPDC_T(X, A02_STEP, R80, 2)             \
    SPDC_T(X, A02_STEP, R80, 3) SPDC_T(X, A02_STEP, R80, 4) SPDC_T(X, A02_STEP, R80, 5)                        \
    SPDC_T(X, A02_STEP, R80, 6) SPDC_T(X, A02_STEP, R80, 7) SPDC_T(X, A02_STEP, R80, 8)                        \
    SPDC_T(X, A02_STEP, R80, 9)                                                                                \
    SPDC_STEP_HEAD(X, A02ASTEP, R80, R160) SPDC_T(X, A02ASTEP, R80, 1) SPDC_T(X, A02ASTEP, R80, 2)             \
    SPDC_T(X, A02ASTEP, R80, 3) SPDC_T(X, A02ASTEP, R80, 4) SPDC_T(X, A02ASTEP, R80, 5)                        \
    SPDC_T(X, A02ASTEP, R80, 6) SPDC_T(X, A02ASTEP, R80, 7) SPDC_T(X, A02ASTEP, R80, 8)                        \
    SPDC_T(X, A02ASTEP, R80, 9) SPDC_T(X, A02ASTEP, R80, 10)                                                   \
    SPDC_STEP_HEAD(X, A07_STEP, R80, R40, R160) SPDC_T(X, A07_STEP, R80, 1) SPDC_T(X, A07_STEP, R80, 2)        \
    SPDC_T(X, A07_STEP, R80, 3) SPDC_T(X, A07_STEP, R80, 4) SPDC_T(X, A07_STEP, R80, 5)                        \
    SPDC_T(X, A07_STEP, R80, 6) SPDC_T(X, A07_STEP, R80, 7) SPDC_T(X, A07_STEP, R80, 8)                        \
    SPDC_T(X, A07_STEP, R80, 9)                                                                                \
    SPDC_STEP_HEAD(X, A08_STEP, R80, R160) SPDC_T(X, A08_STEP, R80, 1) SPDC_T(X, A08_STEP, R80, 2)             \
    SPDC_T(X, A08_STEP, R80, 3) SPDC_T(X, A08_STEP, R80, 4) SPDC_T(X, A08_STEP, R80, 5)                        \
    SPDC_T(X, A08_STEP, R80, 6) SPDC_T(X, A08_STEP, R80, 7)                                                    \
    SPDC_STEP_HEAD(X, A09_STEP, R80, R40) SPDC_T(X, A09_STEP, R80, 1) SPDC_T(X, A09_STEP, R80, 2)             \
    SPDC_T(X, A09_STEP, R80, 3) SPDC_T(X, A09_STEP, R80, 4)                                                    \
    SPDC_STEP_HEAD(X, A10_STEP, R80, R40, R160) SPDC_T(X, A10_STEP, R80, 1) SPDC_T(X, A10_STEP, R80, 2)        \
    SPDC_T(X, A10_STEP, R80, 3) SPDC_T(X, A10_STEP, R80, 4)                                                    \
    SPDC_STEP_HEAD(X, A11_STEP, R80, R40, R160) SPDC_T(X, A11_STEP, R80, 1) SPDC_T(X, A11_STEP, R80, 2)        \
    SPDC_T(X, A11_STEP, R80, 3) SPDC_T(X, A11_STEP, R80, 4) SPDC_T(X, A11_STEP, R80, 5)                        \
    SPDC_T(X, A11_STEP, R80, 6)                                                                                \
    SPDC_STEP_HEAD(X, A12_STEP, R80, R160) SPDC_T(X, A12_STEP, R80, 1) SPDC_T(X, A12_STEP, R80, 2)             \
    SPDC_T(X, A12_STEP, R80, 3) SPDC_T(X, A12_STEP, R80, 4) SPDC_T(X, A12_STEP, R80, 5)                        \
    SPDC_T(X, A12_STEP, R80, 6) SPDC_T(X, A12_STEP, R80, 7)                                                    \
    SPDC_STEP_HEAD(X, Z01_STEP, R80, R40, R160) SPDC_T(X, Z01_STEP, R80, 1) SPDC_T(X, Z01_STEP, R80, 2)        \
    SPDC_T(X, Z01_STEP, R80, 3)                                                                                \
    SPDC_SD(X, Z00_SD) SPDC_SD(X, A00_SD) SPDC_SD(X, A00ASD) SPDC_SD(X, A01_SD) SPDC_SD(X, A02_SD)             \
    SPDC_SD(X, A02ASD) SPDC_SD(X, A07_SD) SPDC_SD(X, A08_SD) SPDC_SD(X, A09_SD) SPDC_SD(X, A10_SD)             \
    SPDC_SD(X, A11_SD) SPDC_SD(X, A12_SD)                                                                      \
    SPDC_COND(X, Z00_C1, R80) SPDC_COND(X, A00_C2, R80) SPDC_COND(X, A00_C3, R80)                              \
    SPDC_COND(X, A00_C2_MANUL, R80) SPDC_COND(X, A00_C5_AUTO_TO_MIN, R80) SPDC_COND(X, A00AC2, R80)            \
    SPDC_COND(X, A00AC3, R80) SPDC_COND(X, A01_C2, R80) SPDC_COND(X, A01_C3, R80) SPDC_COND(X, A01_C4, R80)    \
    SPDC_COND(X, A01_C5, R80)                                                                                   \
    SPDC_COND(X, A02AC2, R160, R80) SPDC_COND(X, A02AC3A, R80) SPDC_COND(X, A02AC3B, R80)                      \
    SPDC_COND(X, A02AC6, R80) SPDC_COND(X, A02AC8, R80) SPDC_COND(X, A02AC9, R80) SPDC_COND(X, A02AC10, R80)   \
    SPDC_COND(X, A02_C5, R80) SPDC_COND(X, A02_C6, R80) SPDC_COND(X, A02_C7, R80) SPDC_COND(X, A02_C8, R80)    \
    SPDC_COND(X, A02_C9, R80) SPDC_COND(X, A07_C2, R80) SPDC_COND(X, A07_C3, R80) SPDC_COND(X, A07_C4, R80)    \
    SPDC_COND(X, A07_C5, R80) SPDC_COND(X, A07_C7, R80) SPDC_COND(X, A07_C8, R80) SPDC_COND(X, A07_C9, R80)    \
    SPDC_COND(X, A07_C10, R80) SPDC_COND(X, A08_C2, R80) SPDC_COND(X, A08_C3, R80) SPDC_COND(X, A08_C5, R80)   \
    SPDC_COND(X, A08_C6, R80) SPDC_COND(X, A08_C8, R80) SPDC_COND(X, A09_C2, R80) SPDC_COND(X, A09_C3, R80)    \
    SPDC_COND(X, A09_C4, R80) SPDC_COND(X, A10_C2, R80) SPDC_COND(X, A10_C3, R80) SPDC_COND(X, A10_C5, R80)    \
    SPDC_COND(X, A11_C2, R80) SPDC_COND(X, A11_C3, R80) SPDC_COND(X, A11_C4, R80) SPDC_COND(X, A11_C6, R80)    \
    SPDC_COND(X, A11_C7, R80) SPDC_COND(X, Z01_SD, R80) SPDC_COND(X, Z01_C2, R80, R160) SPDC_COND(X, Z01_C3, R80)    \
    SPDC_COND(X, IH_REMOTE, R80, R40)                                                                          \
    SPDC_SW(X, A00_C2, RST_4) SPDC_SW(X, A00_C2_MANUL, RST_3) SPDC_SW(X, A00_C3, RST_2)                        \
    SPDC_SW(X, A00_C5_AUTO_TO_MIN, RST_3) SPDC_SW(X, A02AC3B, RST_2) SPDC_SW(X, A02_C6, RST_1)                 \
    SPDC_SW(X, A02_C8, IN_3) SPDC_SW(X, A07_C2, IN_1) SPDC_SW(X, A07_C10, RST_5) SPDC_SW(X, A08_C3, IN_1)      \
    SPDC_SW(X, A08_C3, RST_1) SPDC_SW(X, A09_C3, RST_1) SPDC_SW(X, A09_C4, IN_1) SPDC_SW(X, A09_C4, RST_1)     \
    SPDC_SW(X, A10_C2, IN_2) SPDC_SW(X, A10_C2, RST_1) SPDC_SW(X, A10_C3, IN_1) SPDC_SW(X, A10_C3, RST_1)      \
    SPDC_SW(X, A11_C2, IN_1) SPDC_SW(X, Z01_C2, IN_2) SPDC_SW(X, Z01_C2, RST_1) SPDC_SW(X, Z01_C3, RST_1)      \
    X(SEL_SP, SEL_7, B, R80, TUNE(false))                                                                      \
    X(STRT_SEQ, IN_8, B, R80, TUNE(false))

// The chart's auxiliary cells of the 80 ms group.
#define SPDC_AUX80_ROWS(X)                                                 \
    X(DLY_BEAN, DELAY, B, R80, PLAIN)                                      \
    X(DLY_BEAN, R_TIME, I, R80, PLAIN)                                     \
    X(ST_ENABLE, NOT, B, R80, PLAIN, R160)                                 \
    SPDC_CMP(X, SPD_GT_IDL, R80)                                           \
    X(SPD_LE_IDL, NOT, B, R80, PLAIN)                                      \
    X(STRT, AND, B, R80, PLAIN)                                            \
    X(RSTRT, AND, B, R80, PLAIN)                                           \
    X(STRT_TO_MIN_NOT, NOT, B, R80, PLAIN)                                 \
    SPDC_CMP(X, CP_MINCTRL, R80, R160)                                     \
    X(ADD_OFSET, ADD, A, R80, PLAIN)                                       \
    SPDC_CMP(X, COMP_MN, R80)                                              \
    SPDC_CMP(X, COMP_MINGO, R80)                                           \
    SPDC_CMP(X, SR__GE_MXG, R80)                                           \
    X(HHOR_EQUAL, OR, B, R80, PLAIN)                                       \
    X(DLY_MOVE, DELAY, B, R80, PLAIN)                                      \
    X(DLY_MOVE, R_TIME, I, R80, PLAIN)                                     \
    X(DLY_ILDE, DELAY, B, R80, PLAIN)                                      \
    X(DLY_ILDE, R_TIME, I, R80, PLAIN)                                     \
    X(DLY_OFF, DELAY, B, R80, PLAIN)                                       \
    X(DLY_OFF, R_TIME, I, R80, PLAIN)                                      \
    X(DLY_QUIT, DELAY, B, R80, PLAIN)                                      \
    X(DLY_QUIT, R_TIME, I, R80, PLAIN)                                     \
    X(DLY_Z00_C1, DELAY, B, R80, PLAIN)                                    \
    X(DLY_Z00_C1, R_TIME, I, R80, PLAIN)                                   \
    X(AND_NORBAC, AND, B, R80, PLAIN)                                      \
    X(NOPERM, NOT, B, R80, PLAIN)                                          \
    X(SEL_SP, INT_SEL, I, R80, PLAIN)                                      \
    X(SEL_SP, A_MUX_HSS, A, R80, PLAIN, R40)                               \
    X(SW_NO_IDLE, A_SW, A, R80, PLAIN)                                     \
    X(SEL_MIN, A_MIN, A, R80, PLAIN)                                       \
    X(STEP_MAXGOV, OR, B, R80, PLAIN)                                      \
    X(RST_REF, AND, B, R80, PLAIN)                                         \
    X(STRT_SEQ, OR, B, R80, PLAIN, R40)                                    \
    X(AND_OSPD, AND, B, R80, PLAIN)                                        \
    X(RAISE, B_NAME, B, R80, PLAIN)                                        \
    X(LOWER, B_NAME, B, R80, PLAIN)                                        \
    X(OR_MINSEL, OR, B, R80, PLAIN)                                        \
    X(LOWER_SP, A_SW, A, R80, PLAIN, R40, R160)                            \
    X(QT_LOW, A_SW, A, R80, PLAIN, R160)                                   \
    X(QT_LOW, NC, A, R80, TUNE(0.0, -1e38, 1e38))                          \
    X(NOT_UP, NOT, B, R80, PLAIN)                                          \
    X(Z_UP, ZMINUS1_B, B, R80, PLAIN)                                      \
    X(L_CRIT_FRC, AND, B, R80, PLAIN, R160)                                \
    X(R_CRIT_FRC, AND, B, R80, PLAIN)                                      \
    X(ORFRC_LOW, OR, B, R80, PLAIN, R40)                                   \
    X(ORFRC_RAIS, OR, B, R80, PLAIN, R40)                                  \
    X(NO_CRITACT, NOT, B, R80, PLAIN, R40)                                 \
    X(NO_RAZLWR, NOT, B, R80, PLAIN)                                       \
    X(OFLINE, AND, B, R80, PLAIN, R40)                                     \
    X(OFLINE, IN_2, B, R80, TUNE(true))                                    \
    X(RESTART, A_NAME, A, R80, PLAIN, R40)                                 \
    X(SPD_GT_OSPD, A_COMPARE, B, R80, PLAIN)                               \
    X(SPD_GT_OSPD, A_EQUAL, B, R80, PLAIN)                                 \
    X(SPD_GT_OSPD, HYSTER, A, R80, TUNE(2.0, -1e38, 1e38))                 \
    SPDC_CMP(X, MIN_REF_EQ, R80)                                           \
    X(MIN_REF_EQ, HYSTER, A, R80, TUNE(0.0, -1e38, 1e38))                  \
    X(BELOW_MIN, OR, B, R80, PLAIN)                                        \
    X(OVER_INT_SP, AND, B, R80, PLAIN)                                     \
    X(PLS_SPD, ONE_SHOT, B, R80, PLAIN, R40)                               \
    X(PLS_SPD, R_TIME, I, R80, PLAIN)                                      \
    X(SETBACK, AND, B, R80, PLAIN)                                         \
    X(SBACK_OS, ONE_SHOT, B, R80, PLAIN, R40)                              \
    X(SBACK_OS, R_TIME, I, R80, PLAIN)                                     \
    X(REM_ENA, AND, B, R80, PLAIN, R40)

// The chart's inputs of the 160 ms group, the start rates and the
// remote-control mode chart.
#define SPDC_R160_ROWS(X)                                                  \
    X(DLY_ON, DELAY, B, R160, PLAIN, R80)                                  \
    X(DLY_ON, R_TIME, I, R160, PLAIN)                                      \
    X(NOT_HPRAMP, NOT, B, R160, PLAIN)                                     \
    X(Z_HPRP, ZMINUS1_B, B, R160, PLAIN, R80)                              \
    X(DLY_OUT, DELAY, B, R160, PLAIN, R80)                                 \
    X(DLY_OUT, R_TIME, I, R160, PLAIN)                                     \
    X(NO_START, NOT, B, R160, PLAIN)                                       \
    X(SPEED_ADD, ADD, A, R160, PLAIN)                                      \
    X(LAG_SPEED, LAG_2, A, R160, PLAIN)                                    \
    X(LAG_SPEED, DERIV, A, R160, PLAIN)                                    \
    X(LAG_SPEED, LAG_TAU, A, R160, TUNE(5.0, 0.0, 10.0))                   \
    X(MIN_SP_PV, A_MIN, A, R160, PLAIN)                                    \
    SPDC_CMP(X, SR__GE_MNG, R160, R80)                                     \
    X(SR__GE_MNG, HYSTER, A, R160, TUNE(-20.0, -1e38, 1e38))               \
    SPDC_CMP(X, SR__GE_L1, R160, R80)                                      \
    X(SR__GE_L1, HYSTER, A, R160, TUNE(-20.0, -50.0, 50.0))                \
    SPDC_CMP(X, SR_GE_IDL, R160)                                           \
    X(SR_GE_IDL, HYSTER, A, R160, TUNE(-20.0, -1e38, 1e38))                \
    X(SR__LT_MNG, NOT, B, R160, PLAIN, R80)                                \
    X(ABOV_MING, OR, B, R160, PLAIN)                                       \
    X(ABOV_IDLE, OR, B, R160, PLAIN)                                       \
    X(SR_LT_L1, NOT, B, R160, PLAIN)                                       \
    X(IDLE_1_CMPL, AND, B, R160, PLAIN, R80)                               \
    X(IDLE_1_CMPL, IN_2, B, R160, TUNE(false))                             \
    SPDC_CMP(X, SR__GE_RAT, R160, R80)                                     \
    X(NO_IDLE, AND, B, R160, PLAIN, R80)                                   \
    X(NO_LOW_IDL, A_SW, A, R160, PLAIN, R80)                               \
    X(USE_RATED, AND, B, R160, PLAIN, R80)                                 \
    X(USE_RATED_NOT, NOT, B, R160, PLAIN, R80)                             \
    X(START_SW, A_SW, A, R160, PLAIN, R80)                                 \
    X(AND_NORB, AND, B, R160, PLAIN, R80)                                  \
    X(AND_NO_IDL, AND, B, R160, PLAIN, R80)                                \
    X(HOT_START, LATCH_R, B, R160, PLAIN)                                  \
    X(RESET_HOT, OR, B, R160, PLAIN)                                       \
    X(HOT_START_MULT, A_SW, A, R160, PLAIN)                                \
    X(RT_TO_IDL_MULT, MULTIPLY, A, R160, PLAIN)                            \
    X(RT_TO_IDL, A_NAME, A, R160, PLAIN, R40)                              \
    X(RT_TO_MIN_MULT, MULTIPLY, A, R160, PLAIN)                            \
    X(RT_TO_MIN, A_NAME, A, R160, PLAIN, R40)                              \
    X(FST_OPSD, A_MAX, A, R160, PLAIN, R40)                                \
    X(OFLINE_FST, A_SW, A, R160, PLAIN, R40)                               \
    X(ONLINE_FST, A_SW, A, R160, PLAIN, R40)                               \
    X(SL_ONLINE, A_NAME, A, R160, PLAIN)                                   \
    X(SL_OFFLINE, A_NAME, A, R160, PLAIN)                                  \
    X(COMBO_TRCK, AND, B, R160, PLAIN, R40)                                \
    X(COMBO_TRCK, IN_2, B, R160, TUNE(false))                              \
    X(NOT_COMBO, NOT, B, R160, PLAIN, R80)                                 \
    X(REM_ACT, NOT, B, R160, PLAIN, R80)                                   \
    SPDC_STEP_HEAD(X, B00_STEP, R160, R80) SPDC_T(X, B00_STEP, R160, 1)    \
    SPDC_T(X, B00_STEP, R160, 2)                                           \
    SPDC_STEP_HEAD(X, B01_STEP, R160) SPDC_T(X, B01_STEP, R160, 1)         \
    SPDC_T(X, B01_STEP, R160, 2) SPDC_T(X, B01_STEP, R160, 3)              \
    SPDC_STEP_HEAD(X, B02_STEP, R160, R80) SPDC_T(X, B02_STEP, R160, 1)    \
    SPDC_T(X, B02_STEP, R160, 2) SPDC_T(X, B02_STEP, R160, 3)              \
    SPDC_T(X, B02_STEP, R160, 4)                                           \
    SPDC_STEP_HEAD(X, B03_STEP, R160, R80) SPDC_T(X, B03_STEP, R160, 1)    \
    SPDC_T(X, B03_STEP, R160, 2) SPDC_T(X, B03_STEP, R160, 3)              \
    SPDC_T(X, B03_STEP, R160, 4)

// The reference ramp and its selectors and rates (40 ms), the 10 ms unit
// delay of its output and the 20 ms lost-remote pulse.
#define SPDC_P_LIM(X, N) X(SPEED_REF, P_LIM_##N, B, R40, PLAIN)
#define SPDC_RAMP_ROWS(X)                                                  \
    X(SPEED_REF, RAMP, A, R40, PLAIN, R10, R80, R160)                      \
    X(SPEED_REF, REV_RAMP, A, R40, PLAIN)                                  \
    X(SPEED_REF, MOVING_UP, B, R40, PLAIN, R80)                            \
    X(SPEED_REF, MOVING_DN, B, R40, PLAIN)                                 \
    X(SPEED_REF, POS_SEL, I, R40, PLAIN)                                   \
    SPDC_P_LIM(X, 1) SPDC_P_LIM(X, 2) SPDC_P_LIM(X, 3) SPDC_P_LIM(X, 4)    \
    SPDC_P_LIM(X, 5) SPDC_P_LIM(X, 6) SPDC_P_LIM(X, 7) SPDC_P_LIM(X, 8)    \
    X(SPEED_REF, P_LIM_9, B, R40, PLAIN, R80) SPDC_P_LIM(X, 10) SPDC_P_LIM(X, 11) SPDC_P_LIM(X, 12) \
    X(SPEED_REF, P_LIM_13, B, R40, PLAIN, R10, R80)                           \
    SPDC_P_LIM(X, 14)                                                      \
    X(SPEED_REF, P_SP_1, A, R40, TUNE(-1.0, -1.0, 0.0))                    \
    X(SPEED_REF, P_SEL_5, B, R40, TUNE(false))                             \
    X(SPEED_REF, P_SP_5, A, R40, TUNE(0.0, -1e38, 1e38))                   \
    X(SPEED_REF, P_SEL_6, B, R40, TUNE(false))                             \
    X(SPEED_REF, R_SEL_5, B, R40, TUNE(false))                             \
    X(SPEED_REF, R_SP_5, A, R40, TUNE(2.0, 0.5, 1000.0))                   \
    X(ZERO_DMD, OR, B, R40, PLAIN)                                         \
    X(OR_TRCK_SP, OR, B, R40, PLAIN)                                       \
    X(INSTANT, OR, B, R40, PLAIN)                                          \
    X(TRACK_REM, OR, B, R40, PLAIN)                                        \
    X(NO_CAS_FLT, NOT, B, R40, PLAIN)                                      \
    X(NO_FLT_CAS, AND, B, R40, PLAIN)                                      \
    X(ENA_STEP, AND, B, R40, PLAIN)                                        \
    X(SPDSTEP_OS, ONE_SHOT, B, R40, PLAIN)                                 \
    X(SPDSTEP_OS, R_TIME, I, R40, PLAIN)                                   \
    X(RP_PV, INT_SEL, I, R40, PLAIN)                                       \
    X(RP_PV, A_MUX_HSS, A, R40, PLAIN)                                     \
    X(CP_RATE, GT, B, R40, PLAIN)                                          \
    X(CP_RATE, EQ, B, R40, PLAIN)                                          \
    X(CP_RATE, LT, B, R40, PLAIN)                                          \
    X(ACTIV_RATE, NAND, B, R40, PLAIN)                                     \
    X(USE_CRIT_RATE, OR, B, R40, PLAIN)                                    \
    X(MX_RATE, A_MAX, A, R40, PLAIN)                                       \
    X(SW_RATE, A_SW, A, R40, PLAIN)                                        \
    X(TRACK_RATE, A_MUX_HSS, A, R40, PLAIN)                                \
    X(TRACK_RATE, INT_SEL, I, R40, PLAIN)                                  \
    X(TRACK_RATE, IN_6, A, R40, TUNE(200.0, 0.0099, 500.0))                \
    X(TRACK_RATE, IN_7, A, R40, TUNE(200.0, 0.0099, 500.0))                \
    X(TRACK_RATE, IN_8, A, R40, TUNE(200.0, 0.0099, 500.0))                \
    X(RMT_MAX_RATE_SEL, EQ, B, R40, PLAIN)                                 \
    X(RMT_MAX_RATE_SEL, LT, B, R40, PLAIN)                                 \
    X(RMT_MAX_RATE_SEL, GT, B, R40, PLAIN)                                 \
    X(RMT_N_MTCH_RATE_SEL, EQ, B, R40, PLAIN)                              \
    X(RMT_N_MTCH_RATE_SEL, LT, B, R40, PLAIN)                              \
    X(RMT_N_MTCH_RATE_SEL, GT, B, R40, PLAIN)                              \
    X(ZRATETRACK, ZMINUS1, A, R40, PLAIN)                                  \
    X(SR_OVR_MXG, A_COMPARE, B, R40, PLAIN, R80)                           \
    X(SR_OVR_MXG, A_EQUAL, B, R40, PLAIN)                                  \
    X(MN_REF, ZMINUS1, A, R10, PLAIN, R40)                                 \
    X(LOST_REM, ONE_SHOT, B, R20, PLAIN, R40) \
    X(LOST_REM, R_TIME, I, R20, PLAIN)

// The load percentage of the reference within the governor range and the
// reference's maximum-governor check (80 ms), with the maximum-governor
// margin it compares against (160 ms).
#define SPDC_DISPLAY_ROWS(X)                                               \
    X(SP_RPM, SUBTRACT, A, R80, PLAIN)                                     \
    X(RANGE, SUBTRACT, A, R80, PLAIN)                                      \
    X(RATIO, DIVIDE, A, R80, PLAIN)                                        \
    X(PCT_RANGE, MULTIPLY, A, R80, PLAIN)                                  \
    X(SUB_1, SUBTRACT, A, R160, PLAIN, R80)                                \
    SPDC_CMP(X, SR_MXGGRRE, R80)

// The underspeed alarm while the speed controller is in control (160 ms).
#define SPDC_UNDERSPEED_ROWS(X)                                            \
    X(UNDR_SPD_M, IN_2, A, R160, TUNE(10.0, 1.0, 100.0))                   \
    X(UNDR_SPD_M, SUBTRACT, A, R160, PLAIN)                                \
    X(A_MIN, A_MIN, A, R160, PLAIN)                                        \
    SPDC_CMP(X, SPD_UDRSPD, R160)                                          \
    X(UNDER_SPD, B_SW, B, R160, PLAIN, R10)                                \
    X(UNDERSPD, DLY_TIME, A, R160, TUNE(2.0, 0.5, 10.0))                   \
    X(UNDERSPD, B_ALARM, B, R160, PLAIN)                                   \
    X(UNDERSPD, LIGHT, B, R160, PLAIN)                                     \
    X(UNDERSPD, HORN, B, R160, PLAIN)                                      \
    X(UDRSPD_ALM, AND, B, R160, PLAIN, R40)                                \
    X(UDRSPD_SD, AND, B, R160, PLAIN, R10)

#define SPDC_CELLS(X) \
    SPDC_CHART_ROWS(X) SPDC_AUX80_ROWS(X) SPDC_R160_ROWS(X) SPDC_RAMP_ROWS(X) SPDC_UNDERSPEED_ROWS(X) \
    X(RMT_SPD_KW_SW, CTRL, B, R80, TUNE(false)) X(RMT_SPD_KW_SW, A_SW, A, R80, PLAIN) \
    SPDC_DISPLAY_ROWS(X)
CAT_MODULE(SPDC)

namespace r80 {
void SPDC_stop_input();       // Z01's shutdown input and Z01_C2
void SPDC_stop_transitions(); // the overspeed-test flags, DLY_QUIT, Z01's transitions, Z01_C3
void SPDC_mingo();            // COMP_MINGO
void SPDC_start_detect();     // the enable gate, A00A, start detection, A00's conditions
void SPDC_run_steps();        // A00, A01, A02A, A02, A07, A08 and the A09 conditions
void SPDC_test_steps();       // A09, A10, A11, A12, the target selection and reference cells
void SPDC_z00();              // Z00
void SPDC_commit();           // the activation commit and the 80 ms unit delay
void SPDC_load_percent();     // _R80_TASK_20: SP_RPM, RANGE, RATIO, PCT_RANGE
void SPDC_max_gov_check();    // _R80_TASK_12: SR_MXGGRRE
}  // namespace r80
namespace r160 {
void SPDC_ramp_rates();       // hot start and the start rates
void SPDC_slow_online_rate(); // SL_ONLINE (in the cascade slice 17)
void SPDC_slow_rates();       // SL_OFFLINE and the fast-rate switches
void SPDC_rated_target();     // USE_RATED, START_SW
void SPDC_idle_target();      // NO_IDLE, NO_LOW_IDL, SR_GE_IDL
void SPDC_min_gov_level();    // _R160_TASK_11: lagged speed, SR__GE_MNG
void SPDC_idle_level();       // _R160_TASK_40: SR__GE_L1, SR__GE_RAT, DLY_ON, DLY_OUT
void SPDC_a02a_c2();          // AND_NORB, AND_NO_IDL, A02AC2 under the 160 ms copy of the gate
void SPDC_rem_act();          // REM_ACT
void SPDC_mode_chart();       // the transitions of B00..B03
void SPDC_store_delays();     // the 160 ms unit delay of the chart
void SPDC_commit_mode();      // the mode chart's activation commit
void SPDC_commit_delays();    // the 160 ms unit-delay commit
void SPDC_max_gov_margin();   // _R160_TASK_49: SUB_1
void SPDC_underspeed_margin(); // _R160_TASK_48: UNDR_SPD_M
void SPDC_underspeed();       // _R160_TASK_49: the underspeed alarm
}  // namespace r160
namespace r40 {
void SPDC_selectors();        // _R40_TASK_3: selector flags, step test, RP_PV, ACTIV_RATE
void SPDC_ramp();             // _R40_TASK_4: critical-band rate, the ramp and its outputs
void SPDC_track_rate();       // _R40_TASK_5: TRACK_RATE and its indications
void SPDC_over_max_gov();     // _R40_TASK_8: SR_OVR_MXG (the unit delays of the 40 ms group hold ZRATETRACK)
}  // namespace r40
namespace r10 {
}
namespace r20 {
void SPDC_lost_rem();         // _R20_TASK_7: LOST_REM
}

// Block initialisation: Z00 and B00 active, every other step inactive.
void SPDC_init_blks();
