// STAND-IN until the calibration-mode module CALMODE lands: the sample pulse
// of the controller channels' configuration.
#pragma once

#include "runtime/catalogue.h"

#define CALMODE_CELLS(X) \
    X(CALMODE, B_NAME, B, R160, PLAIN, R10) \
    X(NOTCALMODE, B_NAME, B, R160, PLAIN) \
    X(ADJUSTOK, OR, B, R160, PLAIN) \
    X(CFG_SAMPL_OK, B_NAME, B, R160, PLAIN)
CAT_MODULE(CALMODE)
