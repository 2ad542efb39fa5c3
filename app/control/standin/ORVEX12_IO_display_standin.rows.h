// STAND-IN rows of module ORVEX12_IO until the relay configuration's
// power-up pulse and the chassis calibration-fault report land: what the
// display settings read of them.
#pragma once

#define ORVEX12_IO_DISPLAY_STANDIN_ROWS(X)  \
    X(PWRUP_OS, ONE_SHOT, B, R160, PLAIN)   \
    X(CAL_FLT, AND, B, R160, PLAIN)
