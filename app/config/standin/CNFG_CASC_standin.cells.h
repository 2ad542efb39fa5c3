// STAND-IN until the cascade configuration (module CNFG_CASC) lands: whether
// cascade control is used, as the configuration checks read it.
#pragma once

#include "runtime/catalogue.h"

#define CNFG_CASC_CELLS(X) X(USE_CASC, B_NAME, B, R160, PLAIN)
CAT_MODULE(CNFG_CASC)
