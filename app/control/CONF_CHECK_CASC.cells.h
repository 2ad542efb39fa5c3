// Module CONF_CHECK_CASC: consistency of the cascade configuration: its
// analog input, its setpoint range against the input range and its speed
// limits against the governor range (160 ms).
#pragma once

#include "runtime/catalogue.h"

#define CONF_CHECK_CASC_SPD_ROWS(X, ER, LIM)             \
    X(ER, AND, B, R160, PLAIN)                           \
    X(ER, IN_4, B, R160, TUNE(true))                     \
    X(LIM, A_COMPARE, B, R160, PLAIN)                    \
    X(LIM, A_EQUAL, B, R160, PLAIN)                      \
    X(LIM##_NOT_EQ, NOT, B, R160, PLAIN)
#define CONF_CHECK_CASC_CELLS(X)                         \
    X(CASC_IN_SEL, EQ, B, R160, PLAIN)                   \
    X(CASC_IN_SEL, LT, B, R160, PLAIN)                   \
    X(CASC_IN_SEL, GT, B, R160, PLAIN)                   \
    X(CASC_IN_USED, AND, B, R160, PLAIN)                 \
    X(NO_CASC_AI, NOT, B, R160, PLAIN)                   \
    X(CASC_NO_AI, AND, B, R160, PLAIN)                   \
    X(MAX_CHK, SUBTRACT, A, R160, PLAIN)                 \
    X(MAX_2HI, A_COMPARE, B, R160, PLAIN)                \
    X(MAX_2HI, A_EQUAL, B, R160, PLAIN)                  \
    X(MIN_CHK, SUBTRACT, A, R160, PLAIN)                 \
    X(MIN_2LO, A_COMPARE, B, R160, PLAIN)                \
    X(MIN_2LO, A_EQUAL, B, R160, PLAIN)                  \
    X(SETPT_WRNG, OR, B, R160, PLAIN)                    \
    X(SETPT_ERR, AND, B, R160, PLAIN)                    \
    CONF_CHECK_CASC_SPD_ROWS(X, SPD_LIM_ER, SPD_LIM)     \
    CONF_CHECK_CASC_SPD_ROWS(X, SPD_MIN_ER, SPD_MIN_LIM) \
    CONF_CHECK_CASC_SPD_ROWS(X, SPD_MAX_ER, SPD_MAX_LIM) \
    X(SPD_LIM_ERR, OR, B, R160, PLAIN)
CAT_MODULE(CONF_CHECK_CASC)

namespace r160 {
// _R160_TASK_32, after the run-time displays: the cascade checks, the
// speed-sensor checks.
void CONF_CHECK_CASC_checks();
void MPU_checks();
}  // namespace r160
