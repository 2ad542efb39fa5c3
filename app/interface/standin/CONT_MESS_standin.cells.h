// STAND-IN until module CONT_MESS lands: the cells the data log's
// static items sample.
#pragma once

#include "runtime/catalogue.h"

#define CONT_MESS_CELLS(X) \
    X(CONT_PARA_INT, I_NAME, I, R160, PLAIN)
CAT_MODULE(CONT_MESS)
