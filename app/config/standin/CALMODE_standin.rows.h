// STAND-IN rows of module CALMODE until the calibration-mode logic lands:
// the calibration-mode latch, its negation and the calibration permissive
// that this module's pulses and the channels read. CALMODE.cells.h lists
// them; the real logic declares them there and deletes this file.
#pragma once

#define CALMODE_STANDIN_ROWS(X)                   \
    X(CALMODE, B_NAME, B, R160, PLAIN, R10)       \
    X(NOTCALMODE, B_NAME, B, R160, PLAIN)         \
    X(CAL_PERM, AND, B, R160, PLAIN)
