// STAND-IN until the configuration wizard module CNFG_WIZ lands: the wizard
// enable of the controller channels.
#pragma once

#include "runtime/catalogue.h"

#define CNFG_WIZ_CELLS(X) X(WIZARD, B_NAME, B, R160, PLAIN)
CAT_MODULE(CNFG_WIZ)
