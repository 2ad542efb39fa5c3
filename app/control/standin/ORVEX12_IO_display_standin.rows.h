// STAND-IN rows of module ORVEX12_IO until the relay configuration's
// power-up pulse lands: what the display settings read of it.
#pragma once

#define ORVEX12_IO_DISPLAY_STANDIN_ROWS(X)  \
    X(PWRUP_OS, ONE_SHOT, B, R160, PLAIN)
