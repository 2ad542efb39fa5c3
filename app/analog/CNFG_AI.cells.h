// Module CNFG_AI: the milliamp input stages of the controller's four analog
// inputs (blocks AI_01_ZARN .. AI_04_ZARN, 20 ms), their calibration-side
// settings (gain, offset and latch delay, copied every 160 ms pass) and the
// wizard's function numbers.
#pragma once

#include "runtime/catalogue.h"

#define CNFG_AI_CELLS(X) \
    X(AI_01_ZARN, VAL_4, A, R20, TUNE(4.0, 0.0, 25.0)) \
    X(AI_01_ZARN, VAL_20, A, R20, TUNE(20.0, 0.0, 25.0)) \
    X(AI_01_ZARN, LO_SP_MA, A, R20, TUNE(2.0, 0.0, 5.0)) \
    X(AI_01_ZARN, HI_SP_MA, A, R20, TUNE(22.0, 20.0, 25.0)) \
    X(AI_01_ZARN, AI_4_20, A, R20, PLAIN) \
    X(AI_01_ZARN, LO_LATCH, B, R20, PLAIN) \
    X(AI_01_ZARN, HI_LATCH, B, R20, PLAIN) \
    X(AI_01_ZARN, LATCH_OR, B, R20, PLAIN) \
    X(AI_01_ZARN, FAULT, B, R20, PLAIN) \
    X(AI_02_ZARN, VAL_4, A, R20, TUNE(4.0, 0.0, 25.0)) \
    X(AI_02_ZARN, VAL_20, A, R20, TUNE(20.0, 0.0, 25.0)) \
    X(AI_02_ZARN, LO_SP_MA, A, R20, TUNE(2.0, 0.0, 5.0)) \
    X(AI_02_ZARN, HI_SP_MA, A, R20, TUNE(22.0, 20.0, 25.0)) \
    X(AI_02_ZARN, AI_4_20, A, R20, PLAIN) \
    X(AI_02_ZARN, LO_LATCH, B, R20, PLAIN) \
    X(AI_02_ZARN, HI_LATCH, B, R20, PLAIN) \
    X(AI_02_ZARN, LATCH_OR, B, R20, PLAIN) \
    X(AI_02_ZARN, FAULT, B, R20, PLAIN) \
    X(AI_03_ZARN, VAL_4, A, R20, TUNE(4.0, 0.0, 25.0)) \
    X(AI_03_ZARN, VAL_20, A, R20, TUNE(20.0, 0.0, 25.0)) \
    X(AI_03_ZARN, LO_SP_MA, A, R20, TUNE(2.0, 0.0, 5.0)) \
    X(AI_03_ZARN, HI_SP_MA, A, R20, TUNE(22.0, 20.0, 25.0)) \
    X(AI_03_ZARN, AI_4_20, A, R20, PLAIN) \
    X(AI_03_ZARN, LO_LATCH, B, R20, PLAIN) \
    X(AI_03_ZARN, HI_LATCH, B, R20, PLAIN) \
    X(AI_03_ZARN, LATCH_OR, B, R20, PLAIN) \
    X(AI_03_ZARN, FAULT, B, R20, PLAIN) \
    X(AI_04_ZARN, VAL_4, A, R20, TUNE(4.0, 0.0, 25.0)) \
    X(AI_04_ZARN, VAL_20, A, R20, TUNE(20.0, 0.0, 25.0)) \
    X(AI_04_ZARN, LO_SP_MA, A, R20, TUNE(2.0, 0.0, 5.0)) \
    X(AI_04_ZARN, HI_SP_MA, A, R20, TUNE(22.0, 20.0, 25.0)) \
    X(AI_04_ZARN, AI_4_20, A, R20, PLAIN) \
    X(AI_04_ZARN, LO_LATCH, B, R20, PLAIN) \
    X(AI_04_ZARN, HI_LATCH, B, R20, PLAIN) \
    X(AI_04_ZARN, LATCH_OR, B, R20, PLAIN) \
    X(AI_04_ZARN, FAULT, B, R20, PLAIN) \
    X(AI_01_GAIN, IN, A, R160, TUNE(1.0, -2.0, 10.0)) \
    X(AI_01_GAIN, A_NAME, A, R160, PLAIN, R20) \
    X(AI_01_OFFSET, IN, A, R160, TUNE(0.0, -100.0, 100.0)) \
    X(AI_01_OFFSET, A_NAME, A, R160, PLAIN, R20) \
    X(AI_01_LATDLY, IN, A, R160, TUNE(0.0, 0.0, 5000.0)) \
    X(AI_01_LATDLY, A_NAME, A, R160, PLAIN, R20) \
    X(AI_02_GAIN, IN, A, R160, TUNE(1.0, -2.0, 10.0)) \
    X(AI_02_GAIN, A_NAME, A, R160, PLAIN, R20) \
    X(AI_02_OFFSET, IN, A, R160, TUNE(0.0, -100.0, 100.0)) \
    X(AI_02_OFFSET, A_NAME, A, R160, PLAIN, R20) \
    X(AI_02_LATDLY, IN, A, R160, TUNE(0.0, 0.0, 5000.0)) \
    X(AI_02_LATDLY, A_NAME, A, R160, PLAIN, R20) \
    X(AI_03_GAIN, IN, A, R160, TUNE(1.0, -2.0, 10.0)) \
    X(AI_03_GAIN, A_NAME, A, R160, PLAIN, R20) \
    X(AI_03_OFFSET, IN, A, R160, TUNE(0.0, -100.0, 100.0)) \
    X(AI_03_OFFSET, A_NAME, A, R160, PLAIN, R20) \
    X(AI_03_LATDLY, IN, A, R160, TUNE(0.0, 0.0, 5000.0)) \
    X(AI_03_LATDLY, A_NAME, A, R160, PLAIN, R20) \
    X(AI_04_GAIN, IN, A, R160, TUNE(1.0, -2.0, 10.0)) \
    X(AI_04_GAIN, A_NAME, A, R160, PLAIN, R20) \
    X(AI_04_OFFSET, IN, A, R160, TUNE(0.0, -100.0, 100.0)) \
    X(AI_04_OFFSET, A_NAME, A, R160, PLAIN, R20) \
    X(AI_04_LATDLY, IN, A, R160, TUNE(0.0, 0.0, 5000.0)) \
    X(AI_04_LATDLY, A_NAME, A, R160, PLAIN, R20) \
    X(WIZFUN_AI_CH1, IN, I, R160, TUNE(2, 1, 20)) \
    X(WIZFUN_AI_CH1, I_NAME, I, R160, PLAIN) \
    X(WIZFUN_AI_CH2, IN, I, R160, TUNE(1, 1, 20)) \
    X(WIZFUN_AI_CH2, I_NAME, I, R160, PLAIN) \
    X(WIZFUN_AI_CH3, IN, I, R160, TUNE(1, 1, 20)) \
    X(WIZFUN_AI_CH3, I_NAME, I, R160, PLAIN) \
    X(WIZFUN_AI_CH4, IN, I, R160, TUNE(1, 1, 20)) \
    X(WIZFUN_AI_CH4, I_NAME, I, R160, PLAIN)
CAT_MODULE(CNFG_AI)

// The raw reading of input ch (0 .. 3), as the 20 ms I/O gather stores it.
float CNFG_AI_raw_reading(int ch);
// The 20 ms I/O gather: reads the four inputs into the stages' raw cells.
void CNFG_AI_gather();

namespace r20 {
// Stage of input ch (0 .. 3): loop power, line, calibration, band checks.
void CNFG_AI_stage(int ch);
}  // namespace r20

namespace r160 {
// The gain, offset and latch delay copies of the four inputs.
void CNFG_AI_settings();
}  // namespace r160
