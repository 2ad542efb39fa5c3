// Module VL1_AIO: the milliamp input stages of the remote analog node's eight
// inputs (blocks AI_1 .. AI_8, 20 ms) and their settings (gain, offset and
// latch delay, copied every 160 ms pass).
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

#define VL1_AIO_CELLS(X)          \
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

namespace r20 {
// The milliamp stage of remote input n (0 .. 7), from the node's raw word.
void VL1_AIO_stage(int n);
}  // namespace r20
namespace r160 {
// The 160 ms copies of the eight stages' gain, offset and latch delay.
void VL1_AIO_settings();
}  // namespace r160
