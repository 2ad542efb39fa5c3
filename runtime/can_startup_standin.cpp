// STAND-IN definitions (see can_startup_standin.h).
#include "runtime/can_startup_standin.h"

CanStartupCellsStandin canCellsStandin;
