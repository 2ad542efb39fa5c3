// STAND-IN rows of module RMT_SETPT until the remote speed setpoint
// conditioning lands: the dead-banded remote setpoint the speed reference
// ramp reads. RMT_SETPT.cells.h lists it; the real conditioning declares it
// there and deletes this file.
#pragma once

#define RMT_SETPT_STANDIN_ROWS(X) X(RMT_DEAD, A_DEADBAND, A, R80, PLAIN, R40)
