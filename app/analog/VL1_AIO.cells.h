// Module VL1_AIO: the milliamp input stages of the remote analog node's eight
// inputs (blocks AI_1 .. AI_8, 20 ms) and their settings (gain, offset and
// latch delay, copied every 160 ms pass), and the output stages of its two
// outputs (blocks AO_1, AO_2, 20 ms) with their gain and offset.
#pragma once

#include "runtime/catalogue.h"

#define VL1_AIO_STAGE_ROWS(X, CH)                  \
    X(CH, VAL_MIN, A, R20, TUNE(4.0, 0.0, 25.0))   \
    X(CH, VAL_MAX, A, R20, TUNE(20.0, 0.0, 25.0))  \
    X(CH, LO_SP, A, R20, TUNE(2.0, 0.0, 5.0))      \
    X(CH, HI_SP, A, R20, TUNE(22.0, 20.0, 25.0))   \
    X(CH, VL_AI, A, R20, PLAIN)                    \
    X(CH, FAULT, B, R20, PLAIN)                    \
    X(CH, LO_LATCH, B, R20, PLAIN)                 \
    X(CH, HI_LATCH, B, R20, PLAIN)                 \
    X(CH, LATCH_OR, B, R20, PLAIN)                 \
    X(CH##_GAIN, IN, A, R160, TUNE(1.0, -2.0, 10.0))       \
    X(CH##_GAIN, A_NAME, A, R160, PLAIN, R20)              \
    X(CH##_OFFSET, IN, A, R160, TUNE(0.0, -100.0, 100.0))  \
    X(CH##_OFFSET, A_NAME, A, R160, PLAIN, R20)            \
    X(CH##_LATDLY, IN, A, R160, TUNE(0.0, 0.0, 10000.0))   \
    X(CH##_LATDLY, A_NAME, A, R160, PLAIN, R20)

#define VL1_AIO_OUTPUT_ROWS(X, CH)                         \
    X(CH, MIN_CUR, A, R20, TUNE(0.0, 0.0, 25.0))           \
    X(CH, MAX_CUR, A, R20, TUNE(25.0, 0.0, 25.0))          \
    X(CH, SD, B, R20, TUNE(false))                         \
    X(CH, DISPLAY, A, R20, PLAIN)                          \
    X(CH, RDBK_MA, A, R20, PLAIN)                          \
    X(CH, FAULT, B, R20, PLAIN)                            \
    X(CH##_GAIN, IN, A, R160, TUNE(1.0, 0.0, 2.0))         \
    X(CH##_GAIN, A_NAME, A, R160, PLAIN, R20)              \
    X(CH##_OFFSET, IN, A, R160, TUNE(0.0, -20.0, 20.0))    \
    X(CH##_OFFSET, A_NAME, A, R160, PLAIN, R20)

#define VL1_AIO_CELLS(X)          \
    VL1_AIO_OUTPUT_ROWS(X, AO_1)  \
    VL1_AIO_OUTPUT_ROWS(X, AO_2)  \
    VL1_AIO_STAGE_ROWS(X, AI_1)   \
    VL1_AIO_STAGE_ROWS(X, AI_2)   \
    VL1_AIO_STAGE_ROWS(X, AI_3)   \
    VL1_AIO_STAGE_ROWS(X, AI_4)   \
    VL1_AIO_STAGE_ROWS(X, AI_5)   \
    VL1_AIO_STAGE_ROWS(X, AI_6)   \
    VL1_AIO_STAGE_ROWS(X, AI_7)   \
    VL1_AIO_STAGE_ROWS(X, AI_8)
CAT_MODULE(VL1_AIO)

constexpr int kVl1AioInputs = 8;
constexpr int kVl1AioOutputs = 2;

// The node's output commands, mA x 1024 truncated, that the analog node's
// transmit PDO carries (output 1, output 2).
extern int32_t VL1_AIO_AoCommand[kVl1AioOutputs];

// Block initialisation: the output stages' readback tolerance at its
// least (5 %) and their fault counters at 0.
void VL1_AIO_init_blks();

namespace r20 {
// The milliamp stage of remote input n (0 .. 7), from the node's raw word.
void VL1_AIO_stage(int n);
// The output stage of remote output n (0, 1): the mA signal of its channel
// to the node's command word, the readback and its check, the fault.
void VL1_AIO_output(int n);
}  // namespace r20
namespace r160 {
// The 160 ms copies of the eight input stages' gain, offset and latch delay
// and the two output stages' gain and offset.
void VL1_AIO_settings();
}  // namespace r160
