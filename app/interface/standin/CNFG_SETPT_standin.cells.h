// The setpoint configuration's cells, for the readers that still include
// them by this name: module CNFG_SETPT (app/config/CNFG_SETPT.cells.h) with
// its stand-in rows.
#pragma once

#include "app/config/CNFG_SETPT.cells.h"
