// STAND-IN definitions (see remote_outputs_standin.h).
#include "app/remote_io/standin/remote_outputs_standin.h"

int32_t VL1_AIO_AoCommandStandin[2];
