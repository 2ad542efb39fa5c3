// Module CNFG_CHECK at 160 ms: the speed-setting checks. Each finding is a
// boolean error cell that the configuration-error list latches with its
// text; the feature flags the channel function checks need are copied here.
#pragma once

#include "app/config/function_check.h"
#include "runtime/catalogue.h"

#define CNFG_CHECK_CELLS(X)                               \
    X(USE_RMTSPD, B_NAME, B, R160, PLAIN)                 \
    X(USE_CASCAD, B_NAME, B, R160, PLAIN)                 \
    X(USE_RMTCAS, B_NAME, B, R160, PLAIN)                 \
    X(RMT_CASC_CONF, AND, B, R160, PLAIN)                 \
    X(OTHR_STRT, OR, B, R160, PLAIN)                      \
    X(BND1_CHK, A_COMPARE, B, R160, PLAIN)                \
    X(BND1_CHK, A_EQUAL, B, R160, PLAIN)                  \
    X(BND2_CHK, A_COMPARE, B, R160, PLAIN)                \
    X(BND2_CHK, A_EQUAL, B, R160, PLAIN)                  \
    X(BND3_CHK, A_COMPARE, B, R160, PLAIN)                \
    X(BND3_CHK, A_EQUAL, B, R160, PLAIN)                  \
    X(CRITRTE_ER, A_COMPARE, B, R160, PLAIN)              \
    X(CRITRTE_ER, A_EQUAL, B, R160, PLAIN)                \
    X(HIGH_LIM_1, A_COMPARE, B, R160, PLAIN)              \
    X(HIGH_LIM_1, A_EQUAL, B, R160, PLAIN)                \
    X(LOW_LIM_1, A_COMPARE, B, R160, PLAIN)               \
    X(LOW_LIM_1, A_EQUAL, B, R160, PLAIN)                 \
    X(CRIT_BAND1, AND, B, R160, PLAIN)                    \
    X(CRIT_ER_NI, B_SW, B, R160, PLAIN)                   \
    X(CRIT_RATE, AND, B, R160, PLAIN)                     \
    X(IDLE1_IN_CRIT, AND, B, R160, PLAIN)                 \
    X(IDLE_ER, A_COMPARE, B, R160, PLAIN)                 \
    X(IDLE_ER, A_EQUAL, B, R160, PLAIN)                   \
    X(IDL_ERROR, IN_3, B, R160, TUNE(true))               \
    X(IDL_ERROR, AND, B, R160, PLAIN)                     \
    X(IDLE_MIN_SPD1_ER, A_COMPARE, B, R160, PLAIN)        \
    X(IDLE_MIN_SPD1_ER, A_EQUAL, B, R160, PLAIN)          \
    X(IDLE_MIN_SPD2_ER, A_COMPARE, B, R160, PLAIN)        \
    X(IDLE_MIN_SPD2_ER, A_EQUAL, B, R160, PLAIN)          \
    X(IDLE_MIN_SPD2_ER_AND, AND, B, R160, PLAIN)          \
    X(IDLE_MIN_SPD_ER_OR, OR, B, R160, PLAIN)             \
    X(IDLE_MN_SPD_ERROR, IN_3, B, R160, TUNE(true))       \
    X(IDLE_MN_SPD_ERROR, AND, B, R160, PLAIN)             \
    X(IDL_RTD_MN, A_COMPARE, B, R160, PLAIN)              \
    X(IDL_RTD_MN, A_EQUAL, B, R160, PLAIN)                \
    X(IDL_RTD_MN_AND, AND, B, R160, PLAIN)                \
    X(IDL_RTD_MX, A_COMPARE, B, R160, PLAIN)              \
    X(IDL_RTD_MX, A_EQUAL, B, R160, PLAIN)                \
    X(IDL_RTD_MX_AND, AND, B, R160, PLAIN)                \
    X(IR_MAXERR, B_SW, B, R160, PLAIN)                    \
    X(IR_MINERR, B_SW, B, R160, PLAIN)                    \
    X(MAX_GOV_OS_ER, A_COMPARE, B, R160, PLAIN)           \
    X(MAX_GOV_OS_ER, A_EQUAL, B, R160, PLAIN)             \
    X(MIN_MAX_ER, A_COMPARE, B, R160, PLAIN)              \
    X(MIN_MAX_ER, A_EQUAL, B, R160, PLAIN)                \
    X(MIN_MAX_ERR, IN_3, B, R160, TUNE(true))             \
    X(MIN_MAX_ERR, AND, B, R160, PLAIN)                   \
    X(MIN_SPD1_ER, A_COMPARE, B, R160, PLAIN)             \
    X(MIN_SPD1_ER, A_EQUAL, B, R160, PLAIN)               \
    X(MIN_SPD2_ER, A_COMPARE, B, R160, PLAIN)             \
    X(MIN_SPD2_ER, A_EQUAL, B, R160, PLAIN)               \
    X(MIN_SPD2_ER_AND, AND, B, R160, PLAIN)               \
    X(MIN_SPD_ERROR_OR, OR, B, R160, PLAIN)               \
    X(OS_OSTSP_ER, A_COMPARE, B, R160, PLAIN)             \
    X(OS_OSTSP_ER, A_EQUAL, B, R160, PLAIN)               \
    X(USE_BND1, AND, B, R160, PLAIN)                      \
    X(USE_BND2, AND, B, R160, PLAIN)                      \
    X(USE_BND3, AND, B, R160, PLAIN)
CAT_MODULE(CNFG_CHECK)

namespace r160 {
// The feature flags and the speed-setting checks, in their order.
void CNFG_CHECK_speed_settings();
// The features the channel function checks read: remote speed setpoint,
// cascade and remote cascade used, signal monitoring inputs 1 .. 3 routed.
fnchk::Features CNFG_CHECK_features();
}  // namespace r160
