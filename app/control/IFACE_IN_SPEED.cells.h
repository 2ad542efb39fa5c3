// Module IFACE_IN_SPEED: the speed-control interface inputs: the raise/lower
// contacts and the remote-setpoint enable commands (80 ms); the 10 ms speed
// control writes the shutdown copy and the not-in-control flag.
#pragma once

#include "runtime/catalogue.h"

// The settings of the operator interface and their copies, the timed
// commands and the derived inputs.
#define IFACE_IN_ROWS_IFACE_IN_SPEED(X) \
    X(GO_ONLINE, IN, A, R160, TUNE(15000.0, 50.0, 65000.0))     \
    X(GO_ONLINE, A_NAME, A, R160, PLAIN)                        \
    X(NS_RATE, IN, A, R160, TUNE(5.0, 0.0099, 300.0))           \
    X(NS_RATE, A_NAME, A, R160, PLAIN, R40)                     \
    X(OSPD_RATE, IN, A, R160, TUNE(2.0, 0.0099, 100.0))         \
    X(OSPD_RATE, A_NAME, A, R160, PLAIN, R40)                   \
    X(RMT_NOT_MATCH, IN, A, R160, TUNE(15.0, 0.0099, 1000.0))   \
    X(RMT_NOT_MATCH, A_NAME, A, R160, PLAIN, R40)               \
    X(RMT_SPD_DB, IN, A, R160, TUNE(0.0, 0.0, 100.0))           \
    X(RMT_SPD_DB, A_NAME, A, R160, PLAIN, R80)                       \
    X(RMT_SPD_LAGTAU, IN, A, R160, TUNE(1.0, 0.0, 10.0))        \
    X(RMT_SPD_LAGTAU, A_NAME, A, R160, PLAIN, R80)                   \
    X(SP_FRATE_DLY, IN, A, R160, TUNE(3.0, 0.0, 100.0))         \
    X(SP_FRATE_DLY, A_NAME, A, R160, PLAIN, R80)                \
    X(SP_FRATE_OFF, IN, A, R160, TUNE(3.0, 0.0, 100.0))         \
    X(SP_FRATE_OFF, A_NAME, A, R160, PLAIN)                     \
    X(SP_FRATE_ON, IN, A, R160, TUNE(3.0, 0.0, 100.0))          \
    X(SP_FRATE_ON, A_NAME, A, R160, PLAIN)                      \
    X(SP_GOTO_RT, IN, A, R160, TUNE(5.0, 0.0099, 100.0))        \
    X(SP_GOTO_RT, A_NAME, A, R160, PLAIN, R40)                  \
    X(UNDERSPEED, IN, A, R160, TUNE(0.0, 0.0, 65000.0))         \
    X(UNDERSPEED, A_NAME, A, R160, PLAIN)                       \
    X(ONLINE_DB, IN, A, R160, TUNE(0.0, 0.0, 50.0))             \
    X(ONLINE_DB, A_NAME, A, R160, PLAIN)                        \
    X(GAUGE_TICK_CONFIG, IN, I, R160, TUNE(3, 1, 6))            \
    X(GAUGE_TICK_CONFIG, I_NAME, I, R160, PLAIN)                \
    X(TREND1_Y_MAX, IN, I, R160, TUNE(100, -20000, 20000))      \
    X(TREND1_Y_MAX, I_NAME, I, R160, PLAIN)                     \
    X(TREND1_Y_MIN, IN, I, R160, TUNE(0, -20000, 20000))        \
    X(TREND1_Y_MIN, I_NAME, I, R160, PLAIN)                     \
    X(DROOP_PCT, IN, A, R160, TUNE(0.0, 0.0, 10.0))             \
    X(DROOP_PCT, A_NAME, A, R160, PLAIN, R10)                   \
    X(DISABLE_HOT_START, IN, B, R160, TUNE(false))              \
    X(DISABLE_HOT_START, B_NAME, B, R160, PLAIN)                \
    X(DISABLE_OST, IN, B, R160, TUNE(false))                    \
    X(DISABLE_OST, B_NAME, B, R160, PLAIN)                      \
    X(ENABLE_EXT_OST, IN, B, R160, TUNE(false))                 \
    X(ENABLE_EXT_OST, B_NAME, B, R160, PLAIN)                   \
    X(USE_DI_MOMENT, IN, B, R160, TUNE(false))                  \
    X(USE_DI_MOMENT, B_NAME, B, R160, PLAIN, R80)               \
    X(ENABLE_INT_OST, IN, B, R160, TUNE(false))                 \
    X(ENABLE_INT_OST, B_NAME, B, R160, PLAIN)                   \
    X(ENABLE_RED_OST, IN, B, R160, TUNE(false))                 \
    X(ENABLE_RED_OST, B_NAME, B, R160, PLAIN)                   \
    X(ENA_USPD_AL, IN, B, R160, TUNE(true))                     \
    X(ENA_USPD_AL, B_NAME, B, R160, PLAIN)                      \
    X(ENA_USPD_SD, IN, B, R160, TUNE(false))                    \
    X(ENA_USPD_SD, B_NAME, B, R160, PLAIN)                      \
    X(HOLD_CHANGES_RMT, IN, B, R160, TUNE(false))               \
    X(HOLD_CHANGES_RMT, B_NAME, B, R160, PLAIN)                 \
    X(HOT_START_CMD, IN, B, R160, TUNE(false))                  \
    X(HOT_START_CMD, B_NAME, B, R160, PLAIN)                    \
    X(RESET_NOISE_CALC, IN, B, R160, TUNE(false))               \
    X(RESET_NOISE_CALC, B_NAME, B, R160, PLAIN, R10)            \
    X(USE_COMBO, IN, B, R160, TUNE(false))                      \
    X(USE_COMBO, B_NAME, B, R160, PLAIN, R80)                   \
    X(USE_SETBACK, IN, B, R160, TUNE(false))                    \
    X(USE_SETBACK, B_NAME, B, R160, PLAIN, R80)                 \
    X(GOTO_ENTR_SP, IN, B, R160, TUNE(false))                   \
    X(GOTO_ENTR_SP, B_NAME, B, R160, PLAIN)                     \
    X(ANLYZ_RQST, IN_1, B, R40, SVC_IN)                         \
    X(ANLYZ_RQST, IN_2, B, R40, SVC_IN)                         \
    X(ANLYZ_RQST, IN_3, B, R40, SVC_IN)                         \
    X(ANLYZ_RQST, IN_4, B, R40, SVC_IN)                         \
    X(ANLYZ_RQST, OUT_1, B, R40, PLAIN)                         \
    X(ANLYZ_RQST, OUT_2, B, R40, PLAIN)                         \
    X(ANLYZ_RQST, OUT_3, B, R40, PLAIN)                         \
    X(ANLYZ_RQST, OUT_4, B, R40, PLAIN)                         \
    X(ENA_DIS_REM, IN_1, B, R40, SVC_IN)                        \
    X(ENA_DIS_REM, IN_2, B, R40, SVC_IN)                        \
    X(ENA_DIS_REM, OUT_1, B, R40, PLAIN, R80)                   \
    X(ENA_DIS_REM, OUT_2, B, R40, PLAIN, R80)                   \
    X(GO_STEP_SP, IN_1, B, R40, SVC_IN)                         \
    X(GO_STEP_SP, IN_2, B, R40, SVC_IN)                         \
    X(GO_STEP_SP, IN_3, B, R40, SVC_IN)                         \
    X(GO_STEP_SP, OUT_1, B, R40, PLAIN)                         \
    X(GO_STEP_SP, OUT_2, B, R40, PLAIN)                         \
    X(GO_STEP_SP, OUT_3, B, R40, PLAIN)                         \
    X(ENA_STEPTEST, B_ACTION, B, R40, PLAIN)                    \
    X(ENA_STEPTEST, ACT_OUT, I, R40, PLAIN)                     \
    X(ENA_STEPTEST, E_TIME, A, R40, PLAIN)                      \
    X(ENA_STEPTEST, R_TIME, A, R40, PLAIN)                      \
    X(ENA_STEPTEST, ACT_Q, I, R40, TUNE(2, 1, 8))               \
    X(QT_STEP_AMOUNT, I_NAME, I, R40, TUNE(0, -100, 100))       \
    X(SP_STEP, SAMP_ITUNE, I, R40, PLAIN)                       \
    X(SP_STEP, LIMITED, B, R40, PLAIN)                          \
    X(SP_STEP, EN_ENT_OUT, B, R40, PLAIN)                       \
    X(SP_STEP, LO_LIM_OUT, I, R40, PLAIN)                       \
    X(SP_STEP, HI_LIM_OUT, I, R40, PLAIN)                       \
    X(USE_OPID_OUTS, IN_1, B, R40, SVC_IN)                      \
    X(USE_OPID_OUTS, IN_2, B, R40, SVC_IN)                      \
    X(USE_OPID_OUTS, OUT_1, B, R40, PLAIN)                      \
    X(USE_OPID_OUTS, OUT_2, B, R40, PLAIN)                      \
    X(ADJ_FAST_SLOW, IN_1, B, R160, SVC_IN)                     \
    X(ADJ_FAST_SLOW, IN_2, B, R160, SVC_IN)                     \
    X(ADJ_FAST_SLOW, OUT_1, B, R160, PLAIN)                     \
    X(ADJ_FAST_SLOW, OUT_2, B, R160, PLAIN)                     \
    X(RSE_LWR, IN_1, B, R160, SVC_IN)                           \
    X(RSE_LWR, IN_2, B, R160, SVC_IN)                           \
    X(RSE_LWR, OUT_1, B, R160, PLAIN)                           \
    X(RSE_LWR, OUT_2, B, R160, PLAIN)                           \
    X(H_SER_RSE, B_NAME, B, R160, PLAIN, R80)                   \
    X(H_SER_LWR, B_NAME, B, R160, PLAIN, R80)                   \
    X(USE_RMT_ENA_DI, B_NAME, B, R160, PLAIN)                   \
    X(NO_RMT_DI, NOT, B, R160, PLAIN, R80)                      \
    X(USE_RMT_SPD_SP, B_NAME, B, R160, PLAIN, R80)                   \
    X(NO_RMT_SPD, NOT, B, R160, PLAIN, R80)                     \
    X(TICK_CONFIG, A_MUX_N_1, A, R160, PLAIN)

#define IFACE_IN_SPEED_CELLS(X) \
    X(SPEED, A_NAME, A, R10, PLAIN, R40, R80, R160) \
    X(DYN_SW_CONT, B_NAME, B, R10, PLAIN) \
    X(ENA_REM_SPDSP, B_NAME, B, R10, PLAIN, R80)    \
    X(OSPD_TEST_SW, B_NAME, B, R10, PLAIN, R160)    \
    X(ANY_SD, B_NAME, B, R10, PLAIN)         \
    X(NOT_SPDCTRL, NOT, B, R10, PLAIN, R40)  \
    X(LWR_SPD, B_NAME, B, R80, PLAIN)        \
    X(RAZ_SPD, B_NAME, B, R80, PLAIN)        \
    X(SPD_LWR_CMD, B_SW, B, R80, PLAIN)      \
    X(SPD_RAZ_CMD, B_SW, B, R80, PLAIN)      \
    X(RMT_SPD_SP_EN, B_NAME, B, R80, PLAIN)  \
    X(RMT_SPD_SP_DIS, B_NAME, B, R80, PLAIN)  \
    X(QT_SPD_LOW, A_NAME, A, R160, PLAIN)    \
    X(MOD_LINK_ALARM, B_NAME, B, R160, PLAIN) \
    X(REMSP_PV_FLT, B_NAME, B, R20, PLAIN, R40, R80)  \
    X(CASC_PV_FLT, B_NAME, B, R20, PLAIN, R40)        \
    X(REM_SPD_SP, A_NAME, A, R20, PLAIN, R80)         \
    X(AVG_SPEED, RST, B, R20, PLAIN)                  \
    X(AVG_SPEED, RUNNING_AVG, A, R20, PLAIN)          \
    X(IDLE_1, A_NAME, A, R160, PLAIN, R40, R80)       \
    X(MIN_GOV, A_NAME, A, R160, PLAIN, R10, R40, R80) \
    X(MAX_GOV, A_NAME, A, R160, PLAIN, R40, R80)      \
    /* Nothing in the application writes the held speed's reset command. */ \
    X(RESET_HOLD, B_NAME, B, R160, PLAIN)             \
    IFACE_IN_ROWS_IFACE_IN_SPEED(X)
CAT_MODULE(IFACE_IN_SPEED)

namespace r20 {
// The remote speed setpoint and the input faults the speed control reads,
// and the 5 s running average of the turbine speed.
void IFACE_IN_SPEED_inputs();
}  // namespace r20
namespace r10 {
// The on-line dynamics contact (fourth slice, before the dynamics switch).
void IFACE_IN_SPEED_dynamics_contact();
}  // namespace r10
