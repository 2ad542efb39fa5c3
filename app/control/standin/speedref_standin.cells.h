// STAND-IN until the modules that compute these cells land: configuration
// of the start, Modbus and OPC commands, the automatic-sequence options,
// the remote cascade enable, the remote setpoint value, droop and the
// power-up message logic, as far as the speed reference, the cascade and
// the configuration checks read them.
#pragma once

#include "runtime/catalogue.h"

#include "app/config/CNFG_START.cells.h"

// MOD_BW: none left (app/interface/MOD_BW.cells.h lists the macro).
#define MOD_BW_STANDIN_ROWS(X)

#include "app/control/OPC_SPD_SP.cells.h"

#define AUTO_ENBL_CELLS(X) X(AUTO_HALT, B_NAME, B, R160, PLAIN, R80)
CAT_MODULE(AUTO_ENBL)


