// Module CNFG_AO: the hardware stages of the controller's analog outputs
// 1 .. 3 (blocks AO_01_ZARN .. AO_03_ZARN, 20 ms): calibration-side gain and
// offset (copied every 160 ms pass), current limits, shutdown, the PWM count
// for the 20 ms gather, and the readbacks with their fault flags.
#pragma once

#include "runtime/catalogue.h"

// The cells of output N (1 .. 3).
#define CNFG_AO_OUTPUT_ROWS(X, N) \
    X(AO_0##N##_ZARN, MIN_CUR, A, R20, TUNE(2.0, 2.0, 3.0))     \
    X(AO_0##N##_ZARN, MAX_CUR, A, R20, TUNE(22.0, 20.0, 25.0))  \
    X(AO_0##N##_ZARN, SD, B, R20, TUNE(false))                  \
    X(AO_0##N##_ZARN, DISPLAY, A, R20, PLAIN)                   \
    X(AO_0##N##_ZARN, RDBK_SRC, A, R20, PLAIN)                  \
    X(AO_0##N##_ZARN, RDBK_RET, A, R20, PLAIN)                  \
    X(AO_0##N##_ZARN, RB_SRC_FLT, B, R20, PLAIN)                \
    X(AO_0##N##_ZARN, RB_RET_FLT, B, R20, PLAIN)                \
    X(AO_0##N##_GAIN, IN, A, R160, TUNE(1.0, 0.0, 2.0))         \
    X(AO_0##N##_GAIN, A_NAME, A, R160, PLAIN, R20)              \
    X(AO_0##N##_OFFSET, IN, A, R160, TUNE(0.0, -20.0, 20.0))    \
    X(AO_0##N##_OFFSET, A_NAME, A, R160, PLAIN, R20)            \
    X(AO_0##N##_MA, A_NAME, A, R20, PLAIN)                      \
    X(AO_0##N##_RDBK, A_NAME, A, R20, PLAIN)                    \
    X(AO_0##N##_RDBK_FLT, B_NAME, B, R20, PLAIN)                \
    X(AO_0##N##_SRC_FLT, B_NAME, B, R20, PLAIN)                \
    X(AO_0##N##_RDBK_FLTALM, B_NAME, B, R20, PLAIN, R40)          \
    X(WIZFUN_AO_CH##N, IN, I, R160, TUNE(1, 1, 20))             \
    X(WIZFUN_AO_CH##N, I_NAME, I, R160, PLAIN)
#define CNFG_AO_CELLS(X)                                                                        \
    CNFG_AO_OUTPUT_ROWS(X, 1) CNFG_AO_OUTPUT_ROWS(X, 2) CNFG_AO_OUTPUT_ROWS(X, 3)               \
    X(AO_FORCE_RATE, IN, A, R160, TUNE(1.0, 0.1, 20.0))                                        \
    X(AO_FORCE_RATE, A_NAME, A, R160, PLAIN)
CAT_MODULE(CNFG_AO)

constexpr int kAoControllerOutputs = 3;

// Block initialisation: the driver records of readback channels 3 .. 5.
void CNFG_AO_init_blks();
// The PWM count of output k (0 .. 2) that the next 20 ms gather writes.
double CNFG_AO_count(int k);

namespace r20 {
// Hardware stage of output k (0 .. 2): readbacks and faults, then the count.
void CNFG_AO_output(int k);
}
namespace r160 {
// Gain and offset of output k into the cells the 20 ms stage reads.
void CNFG_AO_settings(int k);
// The wizard's function numbers of outputs 1 .. 3 and the forcing rate,
// copied from their tunables (_R160_TASK_1, before the channels use them).
void CNFG_AO_wizard();
}
