// STAND-IN until the CAN2 network module CNFG_CAN2 lands: the configuration
// enable and sample pulse of the remote node's channels.
#pragma once

#include "runtime/catalogue.h"

#define CNFG_CAN2_CELLS(X)                     \
    X(CNFG_VLTR, B_NAME, B, R160, PLAIN)       \
    X(SAMPL_LIVE, AND, B, R160, PLAIN)
CAT_MODULE(CNFG_CAN2)
