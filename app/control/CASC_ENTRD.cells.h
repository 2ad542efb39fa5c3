// Module CASC_ENTRD (160 ms; the arrival flag at 80 ms): cascade setpoints
// entered from the service tool, a Modbus master and the OPC link, the
// go-to latches of the three sources and the value the setpoint ramp goes
// to.
#pragma once

#include "app/control/CASC_CTRL.cells.h"
#include "runtime/catalogue.h"

// One remote entry path P (M1 or OPC): the entry limited to the setpoint
// range, its sampled last adopted value and the change detection.
#define CASC_ENTRD_PATH_ROWS(X, P, SAMPLE, DEF)                 \
    X(P##_SP_LMT, A_LIMITER, A, R160, PLAIN)                    \
    CASC_SAMP_ROWS(X, P##_SMP_TUN, DEF, -20000.0, 20000.0)      \
    X(P##_EQUAL, A_COMPARE, B, R160, PLAIN)                     \
    X(P##_EQUAL, A_EQUAL, B, R160, PLAIN)                       \
    X(P##_CHANGED, NOR, B, R160, PLAIN)                         \
    X(P##_DELAY, DELAY, B, R160, PLAIN)                         \
    X(P##_DELAY, R_TIME, I, R160, PLAIN)
#define CASC_ENTRD_CELLS(X)                                     \
    X(M1_AW3_Z, ZMINUS1, A, R160, PLAIN)                        \
    X(SMPL_M1, OR, B, R160, PLAIN)                              \
    X(SAMPLEMOD1, ZMINUS1_B, B, R160, PLAIN)                    \
    CASC_ENTRD_PATH_ROWS(X, M1, SAMPLEMOD1, 0.0)                \
    X(MOD1_GO_TO, OR, B, R160, PLAIN)                           \
    X(M1_PLS, ONE_SHOT, B, R160, PLAIN)                         \
    X(M1_PLS, R_TIME, I, R160, PLAIN)                           \
    X(GOTO_M1_SP, LATCH_R, B, R160, PLAIN)                      \
    X(RST_M1, OR, B, R160, PLAIN)                               \
    X(RST_M1, IN_4, B, R160, TUNE(false))                       \
    X(RST_M1_Z, ZMINUS1_B, B, R160, PLAIN)                      \
    X(OPC_AW2_Z, ZMINUS1, A, R160, PLAIN)                       \
    X(SMPL_OPC, OR, B, R160, PLAIN)                             \
    X(SAMPLEOPC, ZMINUS1_B, B, R160, PLAIN)                     \
    CASC_ENTRD_PATH_ROWS(X, OPC, SAMPLEOPC, 0.0)                \
    X(OPC_GO_TO, OR, B, R160, PLAIN)                            \
    X(OPC_PLS, ONE_SHOT, B, R160, PLAIN)                        \
    X(OPC_PLS, R_TIME, I, R160, PLAIN)                          \
    X(GOTO_OPC_SP, LATCH_R, B, R160, PLAIN)                     \
    X(RST_OPC, OR, B, R160, PLAIN)                              \
    X(RST_OPC, IN_4, B, R160, TUNE(false))                      \
    X(RST_OPC_Z, ZMINUS1_B, B, R160, PLAIN)                     \
    X(ENTR_CASC_SP, TUNE, A, R160, TUNE(0.0, -1e30, 1e30))      \
    X(ENTR_CASC_SP, SAMP_TUNE, A, R160, PLAIN)                  \
    X(ENTR_CASC_SP, LIMITED, B, R160, PLAIN)                    \
    X(ENTR_CASC_SP, EN_ENT_OUT, B, R160, PLAIN)                 \
    X(ENTR_CASC_SP, LO_LIM_OUT, A, R160, PLAIN)                 \
    X(ENTR_CASC_SP, HI_LIM_OUT, A, R160, PLAIN)                 \
    X(ENTR_CASC_SP, ENBL_ENTER, B, R160, TUNE(true))            \
    X(SP_BLW_MIN, A_COMPARE, B, R160, PLAIN)                    \
    X(SP_BLW_MIN, A_EQUAL, B, R160, PLAIN)                      \
    X(SP_ABV_MAX, A_COMPARE, B, R160, PLAIN)                    \
    X(SP_ABV_MAX, A_EQUAL, B, R160, PLAIN)                      \
    X(INVALID_SP, OR, B, R160, PLAIN)                           \
    X(NOT_LIMITED, NOT, B, R160, PLAIN)                         \
    X(GOTO_CMD, AND, B, R160, PLAIN)                            \
    X(H_SER_OK, ONE_SHOT, B, R160, PLAIN)                       \
    X(H_SER_OK, R_TIME, I, R160, PLAIN)                         \
    X(ENTR_CASC_SP_A_SW, A_SW, A, R160, PLAIN)                  \
    X(H_SER_LAT, LATCH_R, B, R160, PLAIN)                       \
    X(LIMITED, DELAY, B, R160, PLAIN)                           \
    X(LIMITED, R_TIME, I, R160, PLAIN)                          \
    X(LIMITED, DLY_TIME, A, R160, TUNE(3.0, 0.1, 10.0))         \
    X(SAMPLE_Z, ZMINUS1_B, B, R160, PLAIN)                      \
    X(ENTR_SP_Z, ZMINUS1, A, R160, PLAIN)                       \
    X(RST_ENTER, OR, B, R160, PLAIN)                            \
    X(RST_ENTR, OR, B, R160, PLAIN)                             \
    X(RST_ENTR, IN_1, B, R160, TUNE(false))                     \
    X(RST_ENTR_Z, ZMINUS1_B, B, R160, PLAIN)                    \
    X(GO_CMD_OR, OR, B, R160, PLAIN)                            \
    X(H_SER_OK_NOT, NOT, B, R160, PLAIN, R80)                   \
    X(AT_ENTRED, AND, B, R80, PLAIN, R160)                      \
    X(ENTRD_MUX, INT_SEL, I, R160, PLAIN)                       \
    X(ENTRD_MUX, A_MUX_HSS, A, R160, PLAIN, R80)
CAT_MODULE(CASC_ENTRD)

namespace r160 {
// The three entry paths, their resets and the selection (_R160_TASK_17,
// before the setpoint targets).
void CASC_ENTRD_entries();
}
namespace r80 {
// The entered setpoint has been reached (_R80_TASK_13, after the ramp).
void CASC_ENTRD_arrived();
}
