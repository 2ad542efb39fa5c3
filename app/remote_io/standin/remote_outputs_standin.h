// STAND-IN until the remote analog output channels land: the analog node's
// two output command cells (mA x 1024), both 0.
#pragma once

#include <cstdint>

extern int32_t VL1_AIO_AoCommandStandin[2];
