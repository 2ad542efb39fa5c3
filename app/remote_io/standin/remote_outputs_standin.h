// STAND-IN until the remote output channels land: the analog node's two
// output command cells (mA x 1024) and the relay node's relay states
// (VL5_BO.BOUT_01.DISPLAY .. BOUT_16.DISPLAY), all 0.
#pragma once

#include <cstdint>

extern int32_t VL1_AIO_AoCommandStandin[2];
extern uint32_t VL5_BO_RelayDisplayStandin[16];
