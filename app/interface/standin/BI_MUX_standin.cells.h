// STAND-IN until module BI_MUX lands: the cells the data log's
// static items sample.
#pragma once

#include "runtime/catalogue.h"

#define BI_MUX_CELLS(X) \
    X(SPD_RAISE_CONT, B_NAME, B, R10, PLAIN) \
    X(SPD_LWR_CONT, B_NAME, B, R10, PLAIN) \
    X(OVSPD_CONT, B_NAME, B, R10, PLAIN) \
    X(EXT_RUN_CONT, B_NAME, B, R10, PLAIN) \
    X(IDLE_RATED_CONT, B_NAME, B, R10, PLAIN) \
    X(ONLINE_DYN_CONT, B_NAME, B, R10, PLAIN) \
    X(RMT_SPD_ENBL_CONT, B_NAME, B, R10, PLAIN) \
    X(CASC_ENBL_CONT, B_NAME, B, R10, PLAIN) \
    X(RMT_CASC_ENBL_CONT, B_NAME, B, R10, PLAIN) \
    X(VLV_LMT_OPN_CONT, B_NAME, B, R10, PLAIN) \
    X(VLV_LMT_CLS_CONT, B_NAME, B, R10, PLAIN) \
    X(CONTL_SD_CONT, B_NAME, B, R10, PLAIN)
CAT_MODULE(BI_MUX)
