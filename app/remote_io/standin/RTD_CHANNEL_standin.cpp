// STAND-IN definitions (see RTD_CHANNEL_standin.h).
#include "app/remote_io/standin/RTD_CHANNEL_standin.h"

StrCell VL3_RTD_OhmValStandin[8] = {{"100"}, {"100"}, {"100"}, {"100"}, {"100"}, {"100"}, {"100"}, {"100"}};
StrCell VL3_RTD_CurveTypeStandin[8] = {{"E"}, {"E"}, {"E"}, {"E"}, {"E"}, {"E"}, {"E"}, {"E"}};
