// STAND-IN until the remote RTD channels' configuration blocks land: the
// resistance text (OHM_VAL.S_MUX_N_1) and curve text (CURVE_TYPE.S_MUX_N_1)
// of channels 1..8, at the texts of the default selectors.
#pragma once

#include "runtime/appmem.h"

extern StrCell VL3_RTD_OhmValStandin[8];
extern StrCell VL3_RTD_CurveTypeStandin[8];
