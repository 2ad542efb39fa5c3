// STAND-IN rows of module MESSAGE until the logic that computes them lands:
// whether the speed setpoint has matched the remote setpoint, which the
// remote setpoint text reads. MESSAGE.cells.h lists them; the real logic
// declares them there and deletes this file.
#pragma once

#define MESSAGE_STANDIN_ROWS(X) X(SP_EQ_RMT, DELAY, B, R160, PLAIN)
