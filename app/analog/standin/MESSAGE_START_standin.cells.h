// STAND-IN until the start-sequence messages of the operator interface land:
// the start-completed flag the demonstration chart waits for.
#pragma once

#include "runtime/catalogue.h"

#define MESSAGE_START_CELLS(X) X(START_COMP, B_NAME, B, R160, PLAIN, R80)
CAT_MODULE(MESSAGE_START)
