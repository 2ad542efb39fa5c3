// STAND-IN until the calibration-mode module CALMODE lands: the sample pulse
// of the controller channels' configuration, and whether calibration mode
// is off (forcing of the output channels is inhibited then), on, and its
// own sample pulse.
#pragma once

#include "runtime/catalogue.h"

#define CALMODE_CELLS(X) \
    X(CALMODE, B_NAME, B, R160, PLAIN, R10) \
    X(NOTCALMODE, B_NAME, B, R160, PLAIN) \
    X(ADJUSTOK, OR, B, R160, PLAIN) \
    X(CFG_SAMPL_OK, B_NAME, B, R160, PLAIN) \
    X(CAL_SAMPL_OK, B_NAME, B, R160, PLAIN)
CAT_MODULE(CALMODE)
