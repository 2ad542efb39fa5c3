// Module ZZ: two fixed notes of the application.
#pragma once

#include "runtime/catalogue.h"

#define ZZ_CELLS(X)                              \
    X(DLOG_EXTRA, S_NAME, C, R160, PLAIN)        \
    X(STOP_APP, S_NAME, C, R160, PLAIN)
CAT_MODULE(ZZ)

namespace r160 {
void ZZ_notes();
}
