// Modules MESSAGE, MESSAGE_START and PWR_UP_MSG: the speed-status and
// start-sequence texts of the operator display and the power-up delays that
// hold back the start and the Modbus map (160 ms).
#pragma once

#include "app/interface/standin/MESSAGE_standin.rows.h"
#include "runtime/catalogue.h"

#define MESSAGE_MSG_ROWS(X, BLK) X(BLK, B_TO_STR, C, R160, PLAIN) X(BLK, MSG_SEL, I, R160, PLAIN)
#define MESSAGE_DLY_ROWS(X, BLK) X(BLK, DELAY, B, R160, PLAIN) X(BLK, R_TIME, I, R160, PLAIN)

#define MESSAGE_CELLS(X)                                   \
    MESSAGE_DLY_ROWS(X, SPD_ACTIVE_DLY)          \
    MESSAGE_DLY_ROWS(X, SPD_DISABLED_DLY)        \
    MESSAGE_MSG_ROWS(X, SPEED_MSG)                         \
    MESSAGE_STANDIN_ROWS(X)
CAT_MODULE(MESSAGE)

#define MESSAGE_START_CELLS(X)                  \
    X(AS_SEQ_CMP, LATCH, B, R160, PLAIN)        \
    MESSAGE_MSG_ROWS(X, AUTO_MSG)               \
    MESSAGE_MSG_ROWS(X, AUTO_STRT)              \
    MESSAGE_MSG_ROWS(X, CNTRL_STOP)             \
    X(GOTO_IDLE, AND, B, R160, PLAIN)           \
    MESSAGE_MSG_ROWS(X, F_IDLE_RTD)             \
    X(OR_STRT, OR, B, R160, PLAIN)              \
    X(IAND_RTE, AND, B, R160, PLAIN)            \
    X(OR_NOPERM, OR, B, R160, PLAIN)            \
    X(IDLE_IH, AND, B, R160, PLAIN)             \
    X(RATED_IH, AND, B, R160, PLAIN)            \
    X(START_COMP, B_NAME, B, R160, PLAIN)       \
    MESSAGE_MSG_ROWS(X, IDL_RTD)                \
    MESSAGE_MSG_ROWS(X, START_INH_MSG)          \
    MESSAGE_START_STANDIN_ROWS(X)
CAT_MODULE(MESSAGE_START)

#define PWR_UP_MSG_CELLS(X)                        \
    MESSAGE_DLY_ROWS(X, COMPLT_DLY)                \
    X(CONFIG_ERR, AND, B, R160, PLAIN)             \
    X(N_CONF_ERR, NOT, B, R160, PLAIN)             \
    X(ENBL_STRT, AND, B, R160, PLAIN)              \
    MESSAGE_DLY_ROWS(X, N_ERR_DLY)                 \
    PWR_UP_MSG_STANDIN_ROWS(X)
CAT_MODULE(PWR_UP_MSG)

namespace r160 {
// The texts and power-up delays (part of _R160_TASK_44).
void MESSAGE_texts();
}
