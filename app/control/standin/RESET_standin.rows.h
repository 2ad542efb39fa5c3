// STAND-IN row of module RESET until the 160 ms logic that computes it
// lands: the automatic reset request, one of the sources of the reset pulse.
#pragma once

#define RESET_STANDIN_ROWS(X) X(AT_RST, B_NAME, B, R160, PLAIN, R80)
