// STAND-IN until module IFACE_OUT_SPEED lands: the cells the data log's
// static items sample.
#pragma once

#include "runtime/catalogue.h"

#define IFACE_OUT_SPEED_CELLS(X) \
    X(SPD_PID_LSS, A_NAME, A, R10, PLAIN) \
    X(OSPD_TEST_EN, B_NAME, B, R80, PLAIN)
CAT_MODULE(IFACE_OUT_SPEED)
