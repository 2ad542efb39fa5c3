// Module CASC_R_L: raise and lower commands of the cascade setpoint, the
// fast-rate delays and the setpoint step test (80 ms; step limits 160 ms).
#pragma once

#include "runtime/catalogue.h"

#define CASC_R_L_GO_STEP(X, N)                              \
    X(GO_STEP_SP, IN_##N, B, R80, SVC_IN)                   \
    X(GO_STEP_SP, OUT_##N, B, R80, PLAIN)
#define CASC_R_L_CELLS(X)                                   \
    X(DI_LWR_DLY, DELAY, B, R80, PLAIN)                     \
    X(DI_LWR_DLY, R_TIME, I, R80, PLAIN)                    \
    X(DI_RSE_DLY, DELAY, B, R80, PLAIN)                     \
    X(DI_RSE_DLY, R_TIME, I, R80, PLAIN)                    \
    X(PLS_L, B_ACTION, B, R80, PLAIN)                       \
    X(PLS_L, ACT_OUT, I, R80, PLAIN)                        \
    X(PLS_L, E_TIME, A, R80, PLAIN)                         \
    X(PLS_L, R_TIME, A, R80, PLAIN)                         \
    X(PLS_R, B_ACTION, B, R80, PLAIN)                       \
    X(PLS_R, ACT_OUT, I, R80, PLAIN)                        \
    X(PLS_R, E_TIME, A, R80, PLAIN)                         \
    X(PLS_R, R_TIME, A, R80, PLAIN)                         \
    X(RAZ_CMD, AND, B, R80, PLAIN)                          \
    X(RST_2, B_NAME, B, R80, TUNE(false))                   \
    X(ENAB_LOWER, LATCH_R, B, R80, PLAIN)                   \
    X(ENAB_RAISE, LATCH_R, B, R80, PLAIN)                   \
    X(RMT_LCL_L, AND, B, R80, PLAIN)                        \
    X(RMT_LCL_R, AND, B, R80, PLAIN)                        \
    X(LOWER, OR, B, R80, PLAIN)                             \
    X(LOWER, IN_2, B, R80, TUNE(false))                     \
    X(RAISE, OR, B, R80, PLAIN)                             \
    X(RAISE, IN_2, B, R80, TUNE(false))                     \
    X(NOR_REM, NOT, B, R80, PLAIN)                          \
    X(PERM_LOWER, AND, B, R80, PLAIN)                       \
    X(PERM_RAISE, AND, B, R80, PLAIN)                       \
    X(RSE_OR_LWR, OR, B, R80, PLAIN, R160)                  \
    X(CAS_FST_DL, A_NAME, A, R80, PLAIN)                    \
    X(DI_CAS_LDL, DELAY, B, R80, PLAIN, R160)               \
    X(DI_CAS_LDL, R_TIME, I, R80, PLAIN)                    \
    X(DI_CAS_RDL, DELAY, B, R80, PLAIN, R160)              \
    X(DI_CAS_RDL, R_TIME, I, R80, PLAIN)                   \
    CASC_R_L_GO_STEP(X, 1) CASC_R_L_GO_STEP(X, 2) CASC_R_L_GO_STEP(X, 3) \
    X(NOT_CASC_CTRL, NOT, B, R80, PLAIN)                    \
    X(IFENA_STEPTEST, B_ACTION, B, R80, PLAIN)              \
    X(IFENA_STEPTEST, ACT_OUT, I, R80, PLAIN)               \
    X(IFENA_STEPTEST, E_TIME, A, R80, PLAIN)                \
    X(IFENA_STEPTEST, R_TIME, A, R80, PLAIN)                \
    X(IFENA_STEPTEST, ACT_Q, I, R80, TUNE(2, 1, 8))         \
    X(STEP_LIMIT, MULTIPLY, A, R160, PLAIN, R80)            \
    X(STEP_LIMIT, IN_2, A, R160, TUNE(0.25, 0.0, 1.0))      \
    X(INV_LMT, MULTIPLY, A, R160, PLAIN, R80)               \
    X(SP_STEP, TUNE, A, R80, TUNE(0.0, -100.0, 100.0))      \
    X(SP_STEP, SAMP_TUNE, A, R80, PLAIN)                    \
    X(SP_STEP, LIMITED, B, R80, PLAIN)                      \
    X(SP_STEP, EN_ENT_OUT, B, R80, PLAIN)                   \
    X(SP_STEP, LO_LIM_OUT, A, R80, PLAIN)                   \
    X(SP_STEP, HI_LIM_OUT, A, R80, PLAIN)                   \
    X(ADD_STEP, ADD, A, R80, PLAIN)                         \
    X(STEP_SP_LMT, A_LIMITER, A, R80, PLAIN)
CAT_MODULE(CASC_R_L)

// Block initialisation of its service commands, and a service write of
// one of their inputs (a true value starts the command, a false one ends it).
void CASC_R_L_init_blks();
void CASC_R_L_command_written(const void* cell, uint32_t value);

namespace r80 {
void CASC_R_L_commands();   // _R80_TASK_13
void CASC_R_L_step_test();  // _R80_TASK_13, after the commands
}
namespace r160 {
void CASC_R_L_step_limits();  // _R160_TASK_16
}
