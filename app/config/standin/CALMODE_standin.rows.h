// STAND-IN rows of module CALMODE until the calibration-mode logic lands:
// the calibration-mode latch and its negation that this module's pulses and
// the channels read, and the unit-off flag of the 80 ms group. CALMODE.cells.h lists
// them; the real logic declares them there and deletes this file.
#pragma once

#define CALMODE_STANDIN_ROWS(X)                   \
    X(CALMODE, B_NAME, B, R160, PLAIN, R10)       \
    X(NOTCALMODE, B_NAME, B, R160, PLAIN)         \
    X(UNIT_OFF, OR, B, R80, PLAIN, R160)
