// Module CNFG_SNTP: the SNTP server address, copied every 160 ms pass
// whatever the lock state; the chassis task applies it as the 80 ms group's
// copies hold it.
#pragma once

#include "runtime/catalogue.h"

#define CNFG_SNTP_CELLS(X)                                   \
    X(IP_1, IN, I, R160, TUNE(10, 0, 255))                   \
    X(IP_1, I_NAME, I, R160, PLAIN, R80)                     \
    X(IP_2, IN, I, R160, TUNE(0, 0, 255))                    \
    X(IP_2, I_NAME, I, R160, PLAIN, R80)                     \
    X(IP_3, IN, I, R160, TUNE(0, 0, 255))                    \
    X(IP_3, I_NAME, I, R160, PLAIN, R80)                     \
    X(IP_4, IN, I, R160, TUNE(1, 0, 255))                    \
    X(IP_4, I_NAME, I, R160, PLAIN, R80)
CAT_MODULE(CNFG_SNTP)

namespace r160 {
void CNFG_SNTP_server();  // slice 29
}
