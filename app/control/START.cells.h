// Module START: start permissives and the start inhibit list, the run
// command and the start pulse, and the run-time counter.
#pragma once

#include "app/protection/START_ALM_DSPL.h"
#include "runtime/catalogue.h"

#define START_LIST_ROWS(X, N) X(STRT_IH, SEL_##N, B, R80, PLAIN, R160) X(STRT_IH, ALM_NO_##N, I, R80, PLAIN)
#define START_CELLS(X)                                          \
    X(NO_BI_PERM, NOT, B, R160, PLAIN)                          \
    X(BI_START_PERM, B_SW, B, R160, PLAIN)                      \
    X(BI_START_PERM, NC, B, R160, TUNE(false))                  \
    X(AI_START_PERM, OR, B, R160, PLAIN)                        \
    X(START_PERMS_NOT_MET, OR, B, R160, PLAIN)                  \
    X(START_PERM_NOT_MET, B_SW, B, R160, PLAIN, R80)            \
    X(NO_STR_CF, NOR, B, R160, PLAIN, R80)                      \
    X(PWRUP_PERM, NOT, B, R160, PLAIN, R80)                     \
    X(STRT_PRM_D, DELAY, B, R160, PLAIN, R80)                   \
    X(STRT_PRM_D, R_TIME, I, R160, PLAIN)                       \
    X(STRT_PRM_D, NEG_DTIME, A, R160, TUNE(1.0, 0.0, 60.0))     \
    X(NO_OTHER, NOR, B, R160, PLAIN)                            \
    X(SEMI_AUTO, AND, B, R160, PLAIN, R80)                      \
    X(NO_RUN_PLS, NOT, B, R160, PLAIN, R80)                     \
    X(NO_START, NOT, B, R160, PLAIN)                            \
    X(TMR_STRT, LATCH, B, R160, PLAIN)                          \
    X(MINUTES, RAMP, A, R160, PLAIN)                            \
    X(MINUTES, REV_RAMP, A, R160, PLAIN)                        \
    X(MINUTES, MOVING_UP, B, R160, PLAIN)                       \
    X(MINUTES, MOVING_DN, B, R160, PLAIN)                       \
    X(MINUTES, POS_SEL, I, R160, PLAIN)                         \
    X(MINUTES, P_LIM_1, B, R160, PLAIN)                         \
    X(MINUTES, P_LIM_2, B, R160, PLAIN)                         \
    X(RUN_HRS, DIVIDE, A, R160, PLAIN)                          \
    X(OR_NOSTRT, OR, B, R80, PLAIN)                             \
    START_LIST_ROWS(X, 1) START_LIST_ROWS(X, 2) START_LIST_ROWS(X, 3) \
    START_LIST_ROWS(X, 4) START_LIST_ROWS(X, 5) START_LIST_ROWS(X, 6) \
    X(STRT_IH, LATCH1, B, R80, PLAIN)                           \
    X(STRT_IH, HORN, B, R80, PLAIN)                             \
    X(STRT_IH, FIRST_ALM, I, R80, PLAIN)                        \
    X(STRT_IH, LOGICAL_OR, B, R80, PLAIN)                       \
    X(RST_START, B_ACTION, B, R80, PLAIN)                       \
    X(RST_START, ACT_OUT, I, R80, PLAIN)                        \
    X(RST_START, E_TIME, A, R80, PLAIN)                         \
    X(RST_START, R_TIME, A, R80, PLAIN)                         \
    X(OR_SD, OR, B, R80, PLAIN)                                 \
    X(SD_CLEAR, NOT, B, R80, PLAIN)                             \
    X(RSET_START, AND, B, R80, PLAIN)                           \
    X(START, OR, B, R80, PLAIN)                                 \
    X(START, IN_3, B, R80, TUNE(false))                         \
    X(V1_STRT, ONE_SHOT, B, R80, PLAIN, R160)                   \
    X(V1_STRT, R_TIME, I, R80, PLAIN)                           \
    X(RUN_CMD, LATCH_R, B, R80, PLAIN, R10, R40, R160)          \
    X(PULSE, ONE_SHOT, B, R80, PLAIN, R160)                     \
    X(PULSE, R_TIME, I, R80, PLAIN)                             \
    X(AND_H_MIN, AND, B, R80, PLAIN)                            \
    X(IDLE, OR, B, R80, PLAIN, R160)                                  \
    X(OR_STARTED, OR, B, R80, PLAIN, R160)                     \
    X(SEMI_START, NC, B, R80, PLAIN)                            \
    X(SEMI_START, NO, B, R80, PLAIN)                            \
    X(MAN_START, B_NAME, B, R160, PLAIN)                        \
    X(NOT_MAN, NOT, B, R160, PLAIN)                             \
    X(AUTO_START, AND, B, R160, PLAIN)                          \
    X(MIN_GOV_1, SUBTRACT, A, R160, PLAIN)                      \
    X(SP_MINGOV, A_COMPARE, B, R160, PLAIN)                     \
    X(SP_MINGOV, A_EQUAL, B, R160, PLAIN)                       \
    X(SP_MINGOV, HYSTER, A, R160, TUNE(1.0, 0.0, 50.0))         \
    X(SP_MIN_NOT, NOT, B, R160, PLAIN)                          \
    X(DI_RST_CMD, DELAY, B, R80, PLAIN)                         \
    X(DI_RST_CMD, R_TIME, I, R80, PLAIN)                        \
    X(CP_REFNLUL, A_COMPARE, B, R80, PLAIN)                     \
    X(CP_REFNLUL, A_EQUAL, B, R80, PLAIN, R40)                  \
    X(PLS_OFF, B_ACTION, B, R80, PLAIN)                         \
    X(PLS_OFF, ACT_OUT, I, R80, PLAIN)                          \
    X(PLS_OFF, E_TIME, A, R80, PLAIN)                           \
    X(PLS_OFF, R_TIME, A, R80, PLAIN)                           \
    X(USE_IDLE, OR, B, R160, PLAIN)                             \
    X(RST_STRT, AND, B, R160, PLAIN)                            \
    X(STRT_RST, OR, B, R160, PLAIN)                             \
    X(STARTED, LATCH, B, R160, PLAIN)                           \
    X(NOT_STRTD, NOT, B, R160, PLAIN, R80)                      \
    X(PB_LTCH, AND, B, R40, PLAIN)                              \
    X(DLY_OF, DELAY, B, R40, PLAIN, R80)                        \
    X(DLY_OF, R_TIME, I, R40, PLAIN)                            \
    X(START_OS, ONE_SHOT, B, R80, PLAIN)                        \
    X(START_OS, R_TIME, I, R80, PLAIN)                          \
    X(KEYPAD_START, B_SW, B, R80, PLAIN)                        \
    /* Nothing in the application writes the reset-and-start pulse: a */ \
    /* reset never starts the unit by itself. */                \
    X(RST_OS, ONE_SHOT, B, R80, PLAIN)                          \
    X(ZPERM, ZMINUS1_B, B, R80, PLAIN)                          \
    X(ZSTRTR, ZMINUS1_B, B, R80, PLAIN, R160)                   \
    START_ALM_DSPL_ROWS(X)
CAT_MODULE(START)

namespace r160 {
void START_permissives();   // _R160_TASK_49 and _R160_TASK_50: permissives and run flags
void START_semi_auto();     // _R160_TASK_36: semi-automatic start
void START_run_time();      // the run-time counter
void START_mode_flags();    // _R160_TASK_33: the configured start mode
void START_min_gov();       // _R160_TASK_33: the reference at minimum governor
void START_started();       // piece of _R160_TASK_29: the start latch
void START_not_started();   // NOT_STRTD: the start sequence not started
}  // namespace r160
namespace r40 {
// The run command held with the reference at rest (piece of _R40_TASK_8).
void START_rest_delay();
}  // namespace r40
namespace r80 {
void START_inhibit();       // the start inhibit list
void START_commands();      // START_OS, KEYPAD_START
void START_run_command();   // RST_START .. RUN_CMD
void START_pulse();         // the 1.0 s start pulse
void START_flags();         // _R80_TASK_26 flags
// The reset-contact command and the stop pulse of the reference at rest
// (_R80_TASK_14).
void START_pulses();
}  // namespace r80
