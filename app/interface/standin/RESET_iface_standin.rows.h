// STAND-IN rows of module RESET until the reset logic of the 80 ms group's
// end lands: the power-up reset pulse that the operator interface reads.
#pragma once

#define RESET_IFACE_STANDIN_ROWS(X) X(PWR_UP_RST, ONE_SHOT, B, R80, PLAIN, R160)
