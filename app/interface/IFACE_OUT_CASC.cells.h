// Module IFACE_OUT_CASC: the cascade state as the display, Modbus and OPC
// maps read it (80 ms: the enable, setpoint, controller output, entry and
// remote enables;
// 160 ms: rates, inhibit and the invalid-setpoint flag).
#pragma once

#include "runtime/catalogue.h"

#define IFACE_OUT_CASC_CELLS(X)                               \
    X(CASC_PID, A_NAME, A, R80, PLAIN, R40, R160)             \
    X(EN_ENTR_SETPT, B_NAME, B, R80, PLAIN)                   \
    X(RMT_CAS_EN, B_NAME, B, R80, PLAIN, R160)                \
    X(RMT_N_MATCH_RATE_SEL, B_NAME, B, R80, PLAIN)            \
    X(REM_CAS_SEL, B_NAME, B, R80, PLAIN, R160)               \
    X(ENTRD_RATE, A_NAME, A, R160, PLAIN)                     \
    X(INHIBITED, B_NAME, B, R160, PLAIN)                      \
    X(INVALID_SP, B_NAME, B, R160, PLAIN)                     \
    X(RMT_N_MATCH_RATE, A_NAME, A, R160, PLAIN)               \
    X(ENABLED, B_NAME, B, R80, PLAIN, R160)                   \
    X(CASC_SP, A_NAME, A, R80, PLAIN, R160)                   \
    X(REMOTE_CAS_SP, A_NAME, A, R80, PLAIN, R160)
CAT_MODULE(IFACE_OUT_CASC)

namespace r80 {
void IFACE_OUT_CASC_status();      // piece of _R80_TASK_19
}
namespace r160 {
// The cascade rates, the remote-cascade inhibit and the manual valve
// demand's time-out (piece of _R160_TASK_40).
void IFACE_OUT_CASC_status();
}
