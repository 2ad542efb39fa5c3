// Module RESET: the common reset commands of the 80 ms group.
#pragma once

#include "runtime/catalogue.h"

#define RESET_CELLS(X) X(RESET, B_NAME, B, R80, PLAIN, R10, R20)
CAT_MODULE(RESET)
