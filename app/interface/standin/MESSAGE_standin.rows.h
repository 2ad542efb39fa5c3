// STAND-IN rows of module MESSAGE until the remote speed setpoint logic
// lands: whether the speed setpoint has matched the remote setpoint, which
// the remote setpoint text reads. MESSAGE.cells.h lists it; the real logic
// declares it there and deletes this file.
#pragma once

#define MESSAGE_STANDIN_ROWS(X) X(SP_EQ_RMT, DELAY, B, R160, PLAIN)
