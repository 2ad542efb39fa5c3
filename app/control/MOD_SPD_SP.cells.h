// Module MOD_SPD_SP: the speed setpoint entered over Modbus, limited to the
// governor range, its reset and sample requests, and the selection among the
// entered speed setpoints (160 ms).
#pragma once

#include "app/control/CASC_CTRL.cells.h"
#include "runtime/catalogue.h"

// One path's entry (Modbus and OPC alike): the written value one pass old,
// the sample request one pass old, the sampled tunable, the change
// detection and its delay, the go-to pulse and the reset one pass old.
#define SPD_SP_ENTRY_ROWS(X, CHG, DLY)                   \
    X(M1_AW2_Z, ZMINUS1, A, R160, PLAIN)                 \
    X(SAMPLEMOD1, ZMINUS1_B, B, R160, PLAIN)             \
    CASC_SAMP_ROWS(X, M1_SMP_TUN, 0.0, -10.0, 20000.0)   \
    X(M1_EQUAL, A_COMPARE, B, R160, PLAIN)               \
    X(M1_EQUAL, A_EQUAL, B, R160, PLAIN)                 \
    X(CHG, NOR, B, R160, PLAIN)                          \
    X(DLY, DELAY, B, R160, PLAIN)                        \
    X(DLY, R_TIME, I, R160, PLAIN)                       \
    X(RST_M1_Z, ZMINUS1_B, B, R160, PLAIN)

#define MOD_SPD_SP_CELLS(X)                            \
    X(ENTRD_MUX, INT_SEL, I, R160, PLAIN)              \
    X(ENTRD_MUX, A_MUX_HSS, A, R160, PLAIN, R40)       \
    X(ENTRD_MUX, SEL_4, B, R160, TUNE(false))          \
    X(MIN_SETPT, CTRL, B, R160, TUNE(false))           \
    X(MIN_SETPT, A_SW, A, R160, PLAIN)                 \
    X(M1_SP, A_LIMITER, A, R160, PLAIN)                \
    X(RST_M1, IN_3, B, R160, TUNE(false))              \
    X(RST_M1, OR, B, R160, PLAIN)                      \
    X(SMPL_M1, IN_3, B, R160, TUNE(false))             \
    X(SMPL_M1, OR, B, R160, PLAIN)                     \
    SPD_SP_ENTRY_ROWS(X, M1_CHANGED, M1_DELAY)         \
    X(MOD1_GO_TO, OR, B, R160, PLAIN)                  \
    X(M1_PLS, ONE_SHOT, B, R160, PLAIN, R40)           \
    X(M1_PLS, R_TIME, I, R160, PLAIN)                  \
    X(GOTO_M1_SP, LATCH_R, B, R160, PLAIN)
CAT_MODULE(MOD_SPD_SP)

namespace r160 {
// The Modbus and OPC entries: sampled, compared with the written value,
// and the go-to pulse and (Modbus) latch (piece of _R160_TASK_36, ahead of
// the service entry that reads the Modbus latch).
void MOD_SPD_SP_link_entries();
// The Modbus and OPC entered setpoints within their limits and the OPC
// go-to latch, ahead of the selection (piece of _R160_TASK_45).
void MOD_SPD_SP_entries();
void MOD_SPD_SP_select();
// The Modbus entry's reset and sample requests, after the selection.
void MOD_SPD_SP_requests();
// The OPC entry's reset and sample requests (piece of _R160_TASK_46).
void OPC_SPD_SP_requests();
// The unit delays of both entries: stored and committed at the end of the
// pass (_R160_TASK_82).
void MOD_SPD_SP_store_delays();
void MOD_SPD_SP_commit_delays();
}
