// STAND-IN until the Modbus link, function-key, Modbus scaling
// and critical-speed modules
// land: the inputs of the first block of the 160 ms group's unit delays and
// their delay outputs. The real modules keep these rows.
#pragma once

#include "app/control/CASC_ENTRD.cells.h"
#include "app/interface/MOD.cells.h"
#include "runtime/catalogue.h"

#include "app/control/CRIT_SPD.cells.h"
#include "app/interface/COND_MON.cells.h"
