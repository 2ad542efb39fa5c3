// Modules MESSAGE and MESSAGE_START at 160 ms: debounced cascade, remote
// setpoint and speed-control states and the status texts the operator
// interface shows for them; the start-sequence texts.
#pragma once

#include "runtime/catalogue.h"

#define MESSAGE_MSG_ROWS(X, BLK) X(BLK, B_TO_STR, C, R160, PLAIN) X(BLK, MSG_SEL, I, R160, PLAIN)
#define MESSAGE_DLY_ROWS(X, BLK) X(BLK, DELAY, B, R160, PLAIN) X(BLK, R_TIME, I, R160, PLAIN)

// A debounce delay with its own on and off delays (0.5 s each by default).
#define MESSAGE_DELAY_ROWS(X, BLK, ...)                                                          \
    X(BLK, DELAY, B, R160, PLAIN __VA_OPT__(, ) __VA_ARGS__) X(BLK, R_TIME, I, R160, PLAIN)      \
    X(BLK, DLY_TIME, A, R160, TUNE(0.5, 0.0, 5.0)) X(BLK, NEG_DTIME, A, R160, TUNE(0.5, 0.0, 5.0))

// Whether the speed reference has matched the remote setpoint, debounced at
// 40 ms.
#define MESSAGE_CELLS(X) \
    X(SP_EQ_RMT, DELAY, B, R40, PLAIN, R160) \
    X(SP_EQ_RMT, R_TIME, I, R40, PLAIN) \
    X(SP_EQ_RMT, DLY_TIME, A, R40, TUNE(0.5, 0.0, 5.0)) \
    X(SP_EQ_RMT, NEG_DTIME, A, R40, TUNE(0.5, 0.0, 5.0)) \
    MESSAGE_DELAY_ROWS(X, B02_STEP_DELAY) \
    MESSAGE_DELAY_ROWS(X, CASC_CTL_DELAY, R80) \
    MESSAGE_DELAY_ROWS(X, CASC_RMT_DELAY, R80) \
    MESSAGE_DELAY_ROWS(X, CAS_INHIBITED_DELAY) \
    MESSAGE_DELAY_ROWS(X, ENABLEDMES_DELAY) \
    MESSAGE_DELAY_ROWS(X, REM_CAS_SEL_DELAY) \
    MESSAGE_DELAY_ROWS(X, REM_CAS_SEL_DLY) \
    MESSAGE_DELAY_ROWS(X, RMT_CAS_EN_DELAY) \
    X(INHIBITED_DLY, DELAY, B, R160, PLAIN) \
    X(INHIBITED_DLY, R_TIME, I, R160, PLAIN) \
    X(CASC_CTL, AND, B, R160, PLAIN) \
    X(CASC_RMT, AND, B, R160, PLAIN) \
    X(RMT_IN_CTL, AND, B, R160, PLAIN, R80)\
    X(F_CASC, B_TO_STR, C, R160, PLAIN) \
    X(F_CASC, MSG_SEL, I, R160, PLAIN) \
    X(F_RMT, B_TO_STR, C, R160, PLAIN) \
    X(F_RMT, MSG_SEL, I, R160, PLAIN) \
    X(F_RMT_CASC, B_TO_STR, C, R160, PLAIN) \
    X(F_RMT_CASC, MSG_SEL, I, R160, PLAIN) \
    X(F_RMT_MSG, B_TO_STR, C, R160, PLAIN) \
    X(F_RMT_MSG, MSG_SEL, I, R160, PLAIN) \
    X(SPD_NOT_DISABLED, NOT, B, R160, PLAIN) \
    X(SPD_NOT_IN_CTRL, NOT, B, R160, PLAIN) \
    X(SPD_ACTIVE, AND, B, R160, PLAIN) \
    X(SPD_IN_CTRL_DLY, DLY_TIME, A, R160, TUNE(0.5, 0.0, 5.0)) \
    X(SPD_IN_CTRL_DLY, NEG_DTIME, A, R160, TUNE(0.5, 0.0, 5.0)) \
    X(SPD_IN_CTRL_DLY, DELAY, B, R160, PLAIN) \
    X(SPD_IN_CTRL_DLY, R_TIME, I, R160, PLAIN) \
    X(SPD_PID_IN_CTRL, B_NAME, B, R160, PLAIN) \
    MESSAGE_DLY_ROWS(X, SPD_ACTIVE_DLY) \
    MESSAGE_DLY_ROWS(X, SPD_DISABLED_DLY) \
    MESSAGE_MSG_ROWS(X, SPEED_MSG)
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
    X(START_COMP, B_NAME, B, R160, PLAIN, R80)  \
    MESSAGE_MSG_ROWS(X, IDL_RTD)                \
    MESSAGE_MSG_ROWS(X, START_INH_MSG)          \
    X(SH_OFFCMD, ONE_SHOT, B, R80, PLAIN, R160) \
    X(SH_OFFCMD, R_TIME, I, R80, PLAIN)         \
    X(SH_ONCMD, ONE_SHOT, B, R80, PLAIN, R160)  \
    X(SH_ONCMD, R_TIME, I, R80, PLAIN)          \
    X(TOIDLE, OR, B, R80, PLAIN, R160)
CAT_MODULE(MESSAGE_START)

namespace r160 {
// The debounce delays, the text selections and the speed status bits.
void MESSAGE_texts();
// The speed controller in control of the valve, debounced (piece of
// _R160_TASK_37, before the valve limiter's maximum).
void MESSAGE_speed_in_control();
// The speed-status, start-sequence and power-up texts and delays (piece of
// _R160_TASK_44).
void MESSAGE_start_texts();
}  // namespace r160
namespace r40 {
// The remote-setpoint match, debounced (piece of _R40_TASK_8).
void MESSAGE_remote_equal();
}  // namespace r40
namespace r80 {
// The idle and rated command pulses the start texts hold for 3 s and the
// move-to-idle flag (piece of _R80_TASK_20).
void MESSAGE_START_pulses();
}  // namespace r80
